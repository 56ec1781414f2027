// mapread_fuzz.cpp: the level file reader both loads share, against any
// bytes, without the thousand-odd cell objects of a whole load (the loadmap
// target covers that, far more slowly). Every whole value of the file, up to
// 1275, reads back as written, and nothing past them.
#include <allegro.h>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fuzz/scratch.h"
#include "level/mapfile.h"
#include "map/levelmap.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static std::string path;
    if (path.empty()) {
        install_allegro(SYSTEM_NONE, &errno, atexit);
        path = FuzzScratchFolder("mapread") + "/fuzz.map";
    }
    if (!WriteFuzzInput(path, data, size))
        return 0;

    int32_t codes[MAP_CELLS + 1];
    codes[MAP_CELLS] = 0x5A5A5A5A;  // a reader that runs over would change it
    const int count = ReadLevelCodes(path, codes);
    const size_t whole = size / 4 < (size_t)MAP_CELLS ? size / 4 : (size_t)MAP_CELLS;
    if (count != (int)whole || codes[MAP_CELLS] != 0x5A5A5A5A)
        abort();
    for (int i = 0; i < count; i++) {
        const uint8_t *b = data + 4 * i;
        uint32_t v = (uint32_t)b[0] | (uint32_t)b[1] << 8 | (uint32_t)b[2] << 16 | (uint32_t)b[3] << 24;
        int32_t expected;
        std::memcpy(&expected, &v, sizeof expected);
        if (codes[i] != expected)
            abort();
    }
    return 0;
}

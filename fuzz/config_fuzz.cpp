// Fuzzes the settings reader with arbitrary INI files.
#include <allegro.h>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "fuzz/scratch.h"

#include "base/config.h"

// The settings are read relative to the working folder: each run reads them
// in a folder of its own.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static std::string dir;
    if (dir.empty()) {
        install_allegro(SYSTEM_NONE, &errno, atexit);
        dir = FuzzScratchFolder("config");
        mkdir((dir + "/Config").c_str(), 0755);
    }
    if (!WriteFuzzInput(dir + "/Config/Delvorn.ini", data, size))
        return 0;
    {
        InFuzzFolder in(dir);
        ReadConfig();
    }
    // Whatever the file says, the logic rate must be able to pace a timer.
    if (logicRate < 1)
        abort();
    return 0;
}

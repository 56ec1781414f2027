// editorload_fuzz.cpp: the editor's load and save against any bytes. The
// load takes exactly the values the file holds and keeps the rest, kinds
// follow the layers, and a save followed by a load changes nothing.
#include <allegro.h>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "fuzz/scratch.h"

#include "base/resources.h"
#include "level/mapfile.h"
#include "map/levelmap.h"

namespace {

int Check(const uint8_t *data, size_t size);

}  // namespace

// The editor reads "Maps\Zub7.map" relative to the working folder: each run
// loads it in a folder of its own.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static std::string dir;
    if (dir.empty()) {
        install_allegro(SYSTEM_NONE, &errno, atexit);
        dir = FuzzScratchFolder("editorload");
        mkdir((dir + "/Maps").c_str(), 0755);
        dataFileEntries = 310;  // what the editor's pictures are checked against
    }
    InFuzzFolder in(dir);
    return Check(data, size);
}

namespace {

int Check(const uint8_t *data, size_t size)
{
    if (!WriteFuzzInput("Maps/Zub7.map", data, size))
        return 0;

    // A pattern the file's missing tail must leave alone.
    ClearEditorMap();
    for (int i = 0; i < MAP_CELLS; i++) {
        EditorCell &cell = (&editorMap[0][0][0])[i];
        cell.code = i % 7 == 0 ? -1 : i % 80;
        cell.kind = cell.code == -1 ? CELL_EMPTY : i >= 850;
    }
    editorLevel = 7;
    if (!LoadEditorMap())
        abort();
    for (int i = 0; i < MAP_CELLS; i++) {
        const EditorCell &cell = (&editorMap[0][0][0])[i];
        int32_t expected = i % 7 == 0 ? -1 : i % 80;
        size_t at = (size_t)i * 4;
        if (at + 4 <= size) {
            uint32_t v = (uint32_t)data[at] | (uint32_t)data[at + 1] << 8 | (uint32_t)data[at + 2] << 16 |
                         (uint32_t)data[at + 3] << 24;
            std::memcpy(&expected, &v, sizeof expected);
        }
        if (cell.code != expected)
            abort();
        int layer = i / (MAP_ROWS * MAP_COLUMNS);
        int kind = cell.code == -1 ? CELL_EMPTY : (layer == 2 ? 1 : 0);
        if (cell.kind != kind)
            abort();
        int entry = CellPictureEntry(layer, cell.code);
        if (entry < -1 || entry >= dataFileEntries)
            abort();
    }

    EditorCell before[MAP_LAYERS][MAP_ROWS][MAP_COLUMNS];
    std::memcpy(before, editorMap, sizeof before);
    if (!SaveEditorMap())
        abort();
    struct stat st;
    if (stat("Maps/Zub7.map", &st) != 0 || st.st_size != MAP_CELLS * 4)
        abort();
    ClearEditorMap();
    editorLevel = 7;
    if (!LoadEditorMap() || std::memcmp(before, editorMap, sizeof before) != 0)
        abort();
    return 0;
}

}  // namespace

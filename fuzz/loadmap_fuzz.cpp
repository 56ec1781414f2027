// loadmap_fuzz.cpp: the game's level loader against any bytes. Whatever the
// file holds, the load succeeds, every code reads back as written (-1 and
// missing values as empty), no picture entry lies outside the data file,
// the figures it places stay within the pool, and the map draws and frees.
#include <allegro.h>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/resources.h"
#include "fuzz/scratch.h"
#include "gameplay/figures.h"
#include "level/headless.h"
#include "level/levelsetup.h"
#include "level/mapdraw.h"
#include "level/mapfile.h"
#include "map/levelmap.h"

namespace {

enum { ENTRIES = 310 };
DATAFILE madeUpData[ENTRIES + 1];
std::string mapPath;

void Prepare()
{
    // The figures go without pictures; the cells get the made-up ones.
    if (!StartHeadless(nullptr))
        abort();
    for (int e = 0; e < ENTRIES; e++) {
        BITMAP *picture = create_bitmap(32, 32);
        clear_to_color(picture, e + 1);
        madeUpData[e] = {picture, DAT_BITMAP, 0, nullptr};
    }
    madeUpData[ENTRIES].type = DAT_END;
    dataFile = madeUpData;
    dataFileEntries = ENTRIES;
    backBuffer = create_bitmap(800, 600);
    mapPath = FuzzScratchFolder("loadmap") + "/fuzz.map";
}

int32_t ValueAt(const uint8_t *data, size_t size, int index)
{
    size_t at = (size_t)index * 4;
    if (at + 4 > size)
        return CELL_EMPTY;
    uint32_t v = (uint32_t)data[at] | (uint32_t)data[at + 1] << 8 | (uint32_t)data[at + 2] << 16 |
                 (uint32_t)data[at + 3] << 24;
    int32_t code;
    std::memcpy(&code, &v, sizeof code);
    return code == -1 ? CELL_EMPTY : code;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static bool ready = false;
    if (!ready) {
        Prepare();
        ready = true;
    }
    if (!WriteFuzzInput(mapPath, data, size))
        return 0;

    ResetLevel(1);
    if (!LoadMapFile(mapPath.c_str()) || !levelMap)
        abort();
    int items = 0;
    for (int l = 0; l < MAP_LAYERS; l++)
        for (int r = 0; r < MAP_ROWS; r++)
            for (int c = 0; c < MAP_COLUMNS; c++) {
                int code = CellCode(l, c, r);
                if (code != ValueAt(data, size, CellIndex(l, r, c)) || !CellSprite(l, c, r))
                    abort();
                int entry = CellPictureEntry(l, code);
                if (entry < -1 || entry >= dataFileEntries)
                    abort();
                if (l == 2 && IsItem(code))
                    items++;
            }
    if (itemsLeft != items)
        abort();
    for (GameObject *bag : moneyBags)
        if (bag->state == 1 && CellCode(2, (int)bag->x >> 5, (int)bag->y >> 5) != BAG_START_CODE)
            abort();
    DrawPlayFrame();
    DeleteMap();
    if (levelMap || cellSprites[0] || cellSprites[MAP_CELLS - 1])
        abort();
    return 0;
}

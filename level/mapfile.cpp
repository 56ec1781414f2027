// mapfile.cpp: reading a level file into the live map (placing the bags,
// the heart and the potion it names) and the editor's load and save.
#include "level/mapfile.h"

#include <allegro.h>
#include <cstdio>
#include <cstring>

#include "base/log.h"
#include "base/resources.h"
#include "gameplay/figures.h"
#include "map/levelmap.h"
#include "platform/os/os.h"
#include "platform/os/savefile.h"
#include "platform/paths/paths.h"

namespace {

const int GOLD_ENTRY = PIC_GOLD;  // the pile a burst bag leaves; also the blank preset

// One little-endian 32-bit value; false when the file has no four more bytes.
bool ReadCode(PACKFILE *file, int32_t *code)
{
    unsigned char b[4];
    if (pack_fread(b, 4, file) != 4)
        return false;
    uint32_t v = (uint32_t)b[0] | (uint32_t)b[1] << 8 | (uint32_t)b[2] << 16 | (uint32_t)b[3] << 24;
    std::memcpy(code, &v, sizeof v);
    return true;
}

void PutCode(unsigned char *b, int32_t code)
{
    uint32_t v;
    std::memcpy(&v, &code, sizeof v);
    b[0] = (unsigned char)v;
    b[1] = (unsigned char)(v >> 8);
    b[2] = (unsigned char)(v >> 16);
    b[3] = (unsigned char)(v >> 24);
}

// A failed load leaves no map behind: the shell treats a null map as none.
int FailLoad()
{
    ReleaseMap();
    return 0;
}

void SetFramePicture(GameObject *object, int frame, int entry)
{
    BITMAP *picture = DataBitmap(entry);
    if (picture)
        object->SetFrame(frame, picture);
}

// Layer-2 codes that place a figure or count as an item.
void PlaceObject(int code, int column, int row, int *bagsPlaced)
{
    int px = column * 32, py = row * 32;
    if (IsItem(code))
        itemsLeft++;
    if (code == BAG_START_CODE && *bagsPlaced < MONEYBAG_COUNT) {
        GameObject *bag = moneyBags[(*bagsPlaced)++];
        if (bag) {
            bag->SetPosition(px, py);
            bag->state = BAG_RESTING;
        }
    }
    if (code == HEART_CODE && heart) {
        heart->SetPosition(px, py);
        heart->state = PICKUP_LYING;
    }
    if (code == POTION_CODE && potion) {
        potion->SetPosition(px, py);
        potion->state = PICKUP_LYING;
    }
}

}  // namespace

int ReadLevelCodes(const std::string &nativePath, int32_t *codes)
{
    PACKFILE *file = IsRegularFile(nativePath) ? pack_fopen(nativePath.c_str(), F_READ) : nullptr;
    if (!file)
        return -1;
    int count = 0;
    while (count < MAP_CELLS && ReadCode(file, &codes[count]))
        count++;
    pack_fclose(file);
    return count;
}

std::string MapFileName(int level)
{
    return "Maps\\Zub" + std::to_string(level) + ".map";
}

int LoadMap(int level)
{
    return LoadMapFile(MapFileName(level).c_str());
}

int LoadMapFile(const char *gamePath)
{
    try {
        if (gameLog)
            gameLog->Printf("Creating Map\n");
        // Every level frees its 1275 cell objects and makes them again;
        // handing the memory back would cost more than the load itself.
        KeepFreedMemory();
        // The shell frees the old map first; should it not have, the old
        // cell objects would be lost with their pointers.
        ReleaseMap();
        levelMap = new LevelMap();
        levelMap->Reset();
        if (!gamePath)
            return FailLoad();
        std::strncpy(levelMap->mapPath, gamePath, sizeof levelMap->mapPath - 1);

        int32_t codes[MAP_CELLS];
        const std::string nativePath = NativePath(gamePath);
        const int count = ReadLevelCodes(nativePath, codes);
        if (count < 0) {
            // The screen only says "check the log": the log says which file.
            if (gameLog)
                gameLog->Printf("Cannot read the level file %s\n", nativePath.c_str());
            return FailLoad();
        }
        for (int l = 0; l < MAP_LAYERS; l++)
            for (int r = 0; r < MAP_ROWS; r++)
                for (int c = 0; c < MAP_COLUMNS; c++) {
                    MapCell &cell = levelMap->cells[l][r][c];
                    const int i = CellIndex(l, r, c);
                    // Past the end of a short file the cell is empty.
                    cell.code = i < count && codes[i] != -1 ? codes[i] : CELL_EMPTY;
                    cell.layer = l;
                    cell.row = r;
                    cell.column = c;
                }

        int bagsPlaced = 0;
        bool badCodeLogged = false;
        for (int l = 0; l < MAP_LAYERS; l++)
            for (int r = 0; r < MAP_ROWS; r++)
                for (int c = 0; c < MAP_COLUMNS; c++) {
                    GameObject *sprite = MakeCellSprite(CellIndex(l, r, c));
                    if (!sprite)
                        return FailLoad();
                    int code = levelMap->cells[l][r][c].code;
                    int entry = code != CELL_EMPTY ? CellPictureEntry(l, code) : -1;
                    SetFramePicture(sprite, 0, entry >= 0 && DataBitmap(entry) ? entry : GOLD_ENTRY);
                    if (code != CELL_EMPTY) {
                        if (entry < 0 && dataFile && !badCodeLogged) {
                            // The cell keeps the blank picture; the code still plays.
                            if (gameLog)
                                gameLog->Printf("Map code %d at layer %d row %d column %d has no picture\n",
                                                code, l, r, c);
                            badCodeLogged = true;
                        }
                        if (l == 2)
                            PlaceObject(code, c, r, &bagsPlaced);
                    }
                    SetFramePicture(sprite, 1, GOLD_ENTRY);
                    sprite->currentFrame = 0;
                }
        return 1;
    } catch (...) {
        LogExceptReport("LoadMap ");
        ReleaseMap();
        return 0;
    }
}

int LoadEditorMap()
{
    int32_t codes[MAP_CELLS];
    const int count = ReadLevelCodes(NativePath(MapFileName(editorLevel).c_str()), codes);
    if (count < 0)
        return 0;
    for (int l = 0; l < MAP_LAYERS; l++)
        for (int r = 0; r < MAP_ROWS; r++)
            for (int c = 0; c < MAP_COLUMNS; c++) {
                EditorCell &cell = editorMap[l][r][c];
                const int i = CellIndex(l, r, c);
                if (i < count)  // past the end the cell keeps its code
                    cell.code = codes[i];
                if (cell.code == -1)
                    cell.kind = CELL_EMPTY;
                else
                    cell.kind = (l == 2) ? 1 : 0;
            }
    return 1;
}

int SaveEditorMap()
{
    std::string path = WritablePath(MapFileName(editorLevel).c_str());
    // Written beside the level and renamed over it once complete, so a
    // failed save never leaves half a level behind; two copies of the game
    // take turns.
    FileLock lock(SaveLockPath());
    // A save killed part-way left its temporary behind, maybe of another
    // level: none is being written while the saves' lock is held.
    for (int level = 1; level <= 99; level++)
        if (level != editorLevel)
            RemoveStaleTemporary(WritablePath(MapFileName(level).c_str()));
    unsigned char bytes[MAP_CELLS * 4];
    unsigned char *at = bytes;
    for (int l = 0; l < MAP_LAYERS; l++)
        for (int r = 0; r < MAP_ROWS; r++)
            for (int c = 0; c < MAP_COLUMNS; c++, at += 4) {
                const EditorCell &cell = editorMap[l][r][c];
                PutCode(at, cell.kind == CELL_EMPTY ? -1 : cell.code);
            }
    std::string error;
    if (!SaveWholeFile(path, bytes, sizeof bytes, &error)) {
        if (gameLog)
            gameLog->Printf("Level %d not saved: %s\n", editorLevel, error.c_str());
        return 0;
    }
    return 1;
}

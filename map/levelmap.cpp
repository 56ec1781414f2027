// levelmap.cpp: the live level map and its cell objects, the one guarded
// way to read and change a cell, the item counter, and the editor's grid.
#include "map/levelmap.h"

#include <cstring>

#include "base/log.h"
#include "base/resources.h"

const int dugBlockCode = DUG_CODE;
const int maxBlockCode = MAX_BLOCK_CODE;
const int maxObjectCode = 26;
const int maxLayerIndex = 2;

LevelMap *levelMap = nullptr;
GameObject *cellSprites[MAP_CELLS];
int itemsLeft = 0;

EditorCell editorMap[MAP_LAYERS][MAP_ROWS][MAP_COLUMNS];
int editorLevel = 1;
int editorLayer = 0;
int editorBlock = 0;
int editorObject = 0;
int editorMode = 0;
bool editorViewAll = false;

LevelMap::LevelMap()
{
    Reset();
}

void LevelMap::Reset()
{
    std::memset(cells, 0, sizeof cells);
    std::memset(mapPath, 0, sizeof mapPath);
    columns = MAP_COLUMNS;
    rows = MAP_ROWS;
    layers = MAP_LAYERS;
    tileWidth = 32;
    tileHeight = 32;
}

static bool LayerInMap(int layer)
{
    return layer >= 0 && layer < MAP_LAYERS;
}

int CellCode(int layer, int column, int row)
{
    if (!levelMap || !LayerInMap(layer) || !CellInMap(column, row))
        return CELL_EMPTY;
    return levelMap->cells[layer][row][column].code;
}

void SetCellCode(int layer, int column, int row, int code)
{
    if (!levelMap || !LayerInMap(layer) || !CellInMap(column, row))
        return;
    levelMap->cells[layer][row][column].code = code;
}

GameObject *CellSprite(int layer, int column, int row)
{
    if (!LayerInMap(layer) || !CellInMap(column, row))
        return nullptr;
    return cellSprites[CellIndex(layer, row, column)];
}

int CellPictureEntry(int layer, int code)
{
    if (!LayerInMap(layer) || code < 0 || code == CELL_EMPTY)
        return -1;
    // Computed wide: a file may hold any 32-bit value.
    long long entry = (long long)code + (IsBlockLayer(layer) ? PIC_BLOCK : PIC_OBJECT);
    if (entry >= dataFileEntries)
        return -1;
    return (int)entry;
}

void ReleaseMap()
{
    for (int i = 0; i < MAP_CELLS; i++)
        DeleteGameObject(cellSprites[i]);
    delete levelMap;
    levelMap = nullptr;
}

void DeleteMap()
{
    try {
        if (!cellSprites[0] && !levelMap)
            return;
        if (gameLog)
            gameLog->Printf("Deleting Map\n");
        ReleaseMap();
    } catch (...) {
        LogExceptReport("DeleteMap");
    }
}

void DumpMap()
{
    if (!levelMap || !gameLog)
        return;
    // One value per call: a row of wide values would not fit the log's line.
    for (int l = 0; l < levelMap->layers && l < MAP_LAYERS; l++) {
        for (int r = 0; r < levelMap->rows && r < MAP_ROWS; r++) {
            for (int c = 0; c < levelMap->columns && c < MAP_COLUMNS; c++)
                gameLog->Printf("%4d", (int)levelMap->cells[l][r][c].code);
            gameLog->Printf("\n");
        }
        gameLog->Printf("\n\n");
    }
}

void ClearEditorMap()
{
    for (int l = 0; l < MAP_LAYERS; l++)
        for (int r = 0; r < MAP_ROWS; r++)
            for (int c = 0; c < MAP_COLUMNS; c++) {
                editorMap[l][r][c].kind = CELL_EMPTY;
                editorMap[l][r][c].code = -1;
            }
    editorLevel = 1;
}

// levelmap.cpp: the live level map and its cell objects, the one guarded
// way to read and change a cell, the item counter, and the editor's grid.
#include "map/levelmap.h"

#include <cstring>
#include <new>

#include "base/log.h"
#include "base/resources.h"

const int dugBlockCode = DUG_CODE;
const int maxBlockCode = MAX_BLOCK_CODE;
const int maxObjectCode = 26;
const int maxLayerIndex = 2;

LevelMap *levelMap = nullptr;
GameObject *cellSprites[MAP_CELLS];
int itemsLeft = 0;

namespace {

// Every level's cell objects: their frames show the data file's pictures,
// so a load makes no bitmaps and allocates nothing.
GameObject cellPool[MAP_CELLS];

// The marks TakeChangedSquares hands out.
bool allSquaresChanged = true;
bool squareMarked[MAP_SQUARES];
int markedSquares[MAP_SQUARES];
int markedCount = 0;

void MarkSquare(int column, int row)
{
    int square = row * MAP_COLUMNS + column;
    if (allSquaresChanged || squareMarked[square])
        return;
    squareMarked[square] = true;
    markedSquares[markedCount++] = square;
}

void MarkAllSquares()
{
    allSquaresChanged = true;
    for (int i = 0; i < markedCount; i++)
        squareMarked[markedSquares[i]] = false;
    markedCount = 0;
}

}  // namespace

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
    int32_t &stored = levelMap->cells[layer][row][column].code;
    if (stored != code)
        MarkSquare(column, row);
    stored = code;
}

static GameObject *Cell(int layer, int column, int row)
{
    if (!LayerInMap(layer) || !CellInMap(column, row))
        return nullptr;
    return cellSprites[CellIndex(layer, row, column)];
}

const GameObject *CellSprite(int layer, int column, int row)
{
    return Cell(layer, column, row);
}

void SetCellPicture(int layer, int column, int row, BITMAP *picture)
{
    GameObject *cell = Cell(layer, column, row);
    if (!cell || !picture)
        return;
    cell->SetFrame(0, picture);
    MarkSquare(column, row);
}

void ShowCellFrame(int layer, int column, int row, int frame)
{
    GameObject *cell = Cell(layer, column, row);
    if (!cell || cell->currentFrame == frame)
        return;
    cell->currentFrame = frame;
    MarkSquare(column, row);
}

GameObject *MakeCellSprite(int index)
{
    if (index < 0 || index >= MAP_CELLS)
        return nullptr;
    GameObject &cell = cellPool[index];
    cell.Destroy();  // what the last level left, should it not have been released
    new (&cell) GameObject();
    if (!cell.Init(0, 0, 32, 32, 2, GO_LOOP | GO_VISIBLE | GO_SHARE_FRAMES, 0, 16))
        return nullptr;
    MarkAllSquares();
    return cellSprites[index] = &cell;
}

int TakeChangedSquares(int squares[MAP_SQUARES])
{
    int count = allSquaresChanged ? (int)ALL_SQUARES_CHANGED : markedCount;
    for (int i = 0; i < markedCount; i++) {
        if (!allSquaresChanged)
            squares[i] = markedSquares[i];
        squareMarked[markedSquares[i]] = false;
    }
    markedCount = 0;
    allSquaresChanged = false;
    return count;
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
    for (GameObject *&cell : cellSprites) {
        if (cell)
            cell->Destroy();
        cell = nullptr;
    }
    delete levelMap;
    levelMap = nullptr;
    MarkAllSquares();
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

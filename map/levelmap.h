// levelmap.h: the live level map (three layers of 25 x 17 cells), one
// display object per cell, the editor's working grid and its state, and the
// item counter. Gameplay reads and writes cells through CellCode/SetCellCode,
// which treat anything outside the grid as earth with nothing on it.
#ifndef DELVORN_LEVELMAP_H
#define DELVORN_LEVELMAP_H

#include <cstdint>
#include "base/gameobject.h"
#include "map/mapcodes.h"

enum {
    MAP_COLUMNS = 25,
    MAP_ROWS = 17,
    MAP_LAYERS = 3,
    MAP_CELLS = MAP_LAYERS * MAP_ROWS * MAP_COLUMNS,  // 1275
};

// Tuning values.
extern const int dugBlockCode;   // 71
extern const int maxBlockCode;   // 73
extern const int maxObjectCode;  // 26
extern const int maxLayerIndex;  // 2

struct MapCell {
    int32_t code;
    int32_t column;
    int32_t row;
    int32_t layer;
};

class LevelMap {
public:
    LevelMap();
    void Reset();

    MapCell cells[MAP_LAYERS][MAP_ROWS][MAP_COLUMNS];
    char mapPath[80];
    int32_t columns;
    int32_t rows;
    int32_t layers;
    int16_t tileWidth;
    int16_t tileHeight;
};

// The live map: from a LoadMap to DeleteMap; null otherwise.
extern LevelMap *levelMap;
// One display object per cell, linear index (layer * 17 + row) * 25 + column;
// null where none exists. Made by MakeCellSprite; after that a cell's
// picture changes only through SetCellPicture and ShowCellFrame.
extern GameObject *cellSprites[MAP_CELLS];

inline int CellIndex(int layer, int row, int column)
{
    return (layer * MAP_ROWS + row) * MAP_COLUMNS + column;
}
inline bool CellInMap(int column, int row)
{
    return column >= 0 && column < MAP_COLUMNS && row >= 0 && row < MAP_ROWS;
}

// CELL_EMPTY outside the grid or when no map is loaded.
int CellCode(int layer, int column, int row);
// Does nothing outside the grid.
void SetCellCode(int layer, int column, int row, int code);
// Null outside the grid or when no cell objects exist.
const GameObject *CellSprite(int layer, int column, int row);
// The cell's frame 0 shows the picture from now on.
void SetCellPicture(int layer, int column, int row, BITMAP *picture);
// The cell shows its frame 0 or 1 (the gold of a burst bag).
void ShowCellFrame(int layer, int column, int row, int frame);

// The cell object at a linear index as a map load makes it: 32 x 32 at
// (0, 0), two frames showing the pictures given to them, visible; null when
// it cannot be made. The objects come from one pool that lives as long as
// the program: a level load allocates nothing.
GameObject *MakeCellSprite(int index);

// The squares (column, row) whose picture may have changed: every change of
// a code or a cell picture through the calls above marks its square (the
// three layers share one on screen), and making or freeing a map marks them
// all. Whoever keeps a picture of the map repaints what was marked.
enum { MAP_SQUARES = MAP_ROWS * MAP_COLUMNS, ALL_SQUARES_CHANGED = -1 };
// Writes the marked squares as row * 25 + column into squares and returns
// their number, or ALL_SQUARES_CHANGED; clears the marks.
int TakeChangedSquares(int squares[MAP_SQUARES]);

// The data file entry of a code's picture on a layer, or -1 when the code
// has no picture (empty, negative, or past the last entry).
int CellPictureEntry(int layer, int code);

// Items left to collect on the live level.
extern int itemsLeft;

void DeleteMap();
// What DeleteMap frees, without its log line; every pointer is cleared.
void ReleaseMap();
void DumpMap();

// The editor's grid and state.
struct EditorCell {
    int32_t kind;  // 0 block, 1 object, 999 empty
    int32_t code;  // -1 when empty
};
extern EditorCell editorMap[MAP_LAYERS][MAP_ROWS][MAP_COLUMNS];
extern int editorLevel;     // 1..99
extern int editorLayer;     // 0..2
extern int editorBlock;     // 0..73
extern int editorObject;    // 0..26
extern int editorMode;      // 0 blocks, 1 objects
extern bool editorViewAll;  // false: current layer only

// Every cell empty, level number 1.
void ClearEditorMap();

#endif

// STUB: replaced by the owning subsystem.
#include "level/levelmap.h"
#include <cstring>
const int dugBlockCode = 71, maxBlockCode = 73, maxObjectCode = 26, maxLayerIndex = 2;
LevelMap *levelMap = nullptr;
GameObject *cellSprites[MAP_CELLS];
int itemsLeft = 0;
EditorCell editorMap[MAP_LAYERS][MAP_ROWS][MAP_COLUMNS];
int editorLevel = 1, editorLayer, editorBlock, editorObject, editorMode;
bool editorViewAll;
LevelMap::LevelMap() { Reset(); }
void LevelMap::Reset() { std::memset(this, 0, sizeof *this); columns = 25; rows = 17; layers = 3; tileWidth = tileHeight = 32; }
int CellCode(int layer, int c, int r) { return (levelMap && CellInMap(c, r) && layer >= 0 && layer < 3) ? levelMap->cells[layer][r][c].code : CELL_EMPTY; }
void SetCellCode(int layer, int c, int r, int code) { if (levelMap && CellInMap(c, r) && layer >= 0 && layer < 3) levelMap->cells[layer][r][c].code = code; }
GameObject *CellSprite(int layer, int c, int r) { return (CellInMap(c, r) && layer >= 0 && layer < 3) ? cellSprites[CellIndex(layer, r, c)] : nullptr; }
int CellPictureEntry(int, int) { return -1; }
void DeleteMap() {}
void DumpMap() {}
void ClearEditorMap() {}

// mapfile.h: level files "Maps\Zub<N>.map": 1275 little-endian 32-bit
// codes, layer by layer, row by row; -1 is an empty cell.
#ifndef DELVORN_MAPFILE_H
#define DELVORN_MAPFILE_H

#include <cstdint>
#include <string>

// Reads a level file's codes in file order into codes[0 .. count - 1]
// (count at most 1275; a short file gives fewer). -1 when it does not open
// or is not a regular file. Both loads below read through it.
int ReadLevelCodes(const std::string &nativePath, int32_t *codes);

// "Maps\Zub" + level + ".map", as the game names it.
std::string MapFileName(int level);

// Loads the level into a new live map with its cell objects; 1 or 0.
int LoadMap(int level);
// The same from an explicit file (the trace tool, tests).
int LoadMapFile(const char *gamePath);

// The editor's load and save of editorLevel; 1 or 0. The save replaces the
// file only once the whole map has been written.
int LoadEditorMap();
int SaveEditorMap();

#endif

// levelsource.h: the readable level text (three 25 x 17 character grids with
// a legend per layer) and the binary map file the game loads.
#ifndef DELVORN_LEVELSOURCE_H
#define DELVORN_LEVELSOURCE_H

#include <array>
#include <cstdint>
#include <string>
#include <vector>

enum {
    LEVEL_COLUMNS = 25,
    LEVEL_ROWS = 17,
    LEVEL_LAYERS = 3,
    LEVEL_CELLS = LEVEL_LAYERS * LEVEL_ROWS * LEVEL_COLUMNS
};

// Codes in map file order; -1 is an empty cell.
struct LevelCodes {
    std::string name;
    std::array<int32_t, LEVEL_CELLS> codes;

    int32_t &At(int layer, int column, int row)
    {
        return codes[(layer * LEVEL_ROWS + row) * LEVEL_COLUMNS + column];
    }
    int32_t At(int layer, int column, int row) const
    {
        return codes[(layer * LEVEL_ROWS + row) * LEVEL_COLUMNS + column];
    }
};

// Reads a level text. On a mistake returns false with the line and reason.
bool ParseLevelSource(const std::string &text, LevelCodes &level, std::string &error);

// The 5100 bytes of a map file: 1275 little-endian signed 32-bit codes.
std::vector<uint8_t> MapFileBytes(const LevelCodes &level);
// Reads the codes back from map file bytes; false when the size is wrong.
bool ReadMapFileBytes(const std::vector<uint8_t> &bytes, LevelCodes &level);

#endif

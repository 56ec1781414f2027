// levelsource.cpp: parsing level texts and writing map file bytes.
#include "tools/mapc/levelsource.h"

#include <map>
#include <sstream>

namespace {

std::string Trim(const std::string &s)
{
    size_t a = s.find_first_not_of(" \t\r");
    size_t b = s.find_last_not_of(" \t\r");
    return a == std::string::npos ? "" : s.substr(a, b - a + 1);
}

}  // namespace

bool ParseLevelSource(const std::string &text, LevelCodes &level, std::string &error)
{
    level.name.clear();
    level.codes.fill(-1);
    std::map<char, int32_t> legend[LEVEL_LAYERS];
    bool layerSeen[LEVEL_LAYERS] = {false, false, false};
    int legendLayer = -1, gridLayer = -1, gridRow = 0;

    std::istringstream in(text);
    std::string raw;
    int lineNo = 0;
    auto fail = [&](const std::string &why) {
        error = "line " + std::to_string(lineNo) + ": " + why;
        return false;
    };
    while (std::getline(in, raw)) {
        lineNo++;
        if (!raw.empty() && raw.back() == '\r')
            raw.pop_back();
        // Grid rows are taken verbatim: '#' may be a legend character there.
        if (gridLayer >= 0 && gridRow < LEVEL_ROWS) {
            if ((int)raw.size() != LEVEL_COLUMNS)
                return fail("a row must be " + std::to_string(LEVEL_COLUMNS) + " characters, not " +
                            std::to_string(raw.size()));
            for (int column = 0; column < LEVEL_COLUMNS; column++) {
                auto it = legend[gridLayer].find(raw[column]);
                if (it == legend[gridLayer].end())
                    return fail(std::string("'") + raw[column] + "' is not in the legend of layer " +
                                std::to_string(gridLayer));
                level.At(gridLayer, column, gridRow) = it->second;
            }
            gridRow++;
            continue;
        }
        std::string line = raw;
        if (Trim(line).empty() || Trim(line)[0] == ';')
            continue;
        std::istringstream words(line);
        std::string word;
        words >> word;
        if (word == "name") {
            std::getline(words, level.name);
            level.name = Trim(level.name);
        } else if (word == "legend" || word == "layer") {
            int layer = -1;
            if (!(words >> layer) || layer < 0 || layer >= LEVEL_LAYERS)
                return fail("layer number 0..2 expected");
            if (word == "legend") {
                legendLayer = layer;
                gridLayer = -1;
            } else {
                if (layerSeen[layer])
                    return fail("layer " + std::to_string(layer) + " given twice");
                layerSeen[layer] = true;
                gridLayer = layer;
                gridRow = 0;
                legendLayer = -1;
            }
        } else if (legendLayer >= 0) {
            // "<character> <code> [what it is]"; the character may be any
            // printable one, so it is taken from the raw line.
            std::string rest = Trim(line);
            if (rest.size() < 3 || rest[1] != ' ')
                return fail("legend entry \"<character> <code>\" expected");
            std::istringstream codeText(rest.substr(2));
            int32_t code;
            if (!(codeText >> code))
                return fail("legend code expected");
            if (legend[legendLayer].count(rest[0]))
                return fail(std::string("'") + rest[0] + "' is in the legend twice");
            legend[legendLayer][rest[0]] = code;
        } else {
            return fail("unexpected \"" + Trim(line) + "\"");
        }
    }
    if (gridLayer >= 0 && gridRow < LEVEL_ROWS) {
        error = "layer " + std::to_string(gridLayer) + " has only " + std::to_string(gridRow) + " rows";
        return false;
    }
    for (int layer = 0; layer < LEVEL_LAYERS; layer++) {
        if (!layerSeen[layer]) {
            error = "layer " + std::to_string(layer) + " is missing";
            return false;
        }
    }
    return true;
}

std::vector<uint8_t> MapFileBytes(const LevelCodes &level)
{
    std::vector<uint8_t> bytes;
    bytes.reserve(LEVEL_CELLS * 4);
    for (int32_t code : level.codes) {
        uint32_t u = uint32_t(code);
        for (int shift = 0; shift < 32; shift += 8)
            bytes.push_back(uint8_t(u >> shift));
    }
    return bytes;
}

bool ReadMapFileBytes(const std::vector<uint8_t> &bytes, LevelCodes &level)
{
    if (bytes.size() != size_t(LEVEL_CELLS) * 4)
        return false;
    for (int i = 0; i < LEVEL_CELLS; i++) {
        uint32_t u = 0;
        for (int b = 0; b < 4; b++)
            u |= uint32_t(bytes[i * 4 + b]) << (8 * b);
        level.codes[i] = int32_t(u);
    }
    return true;
}

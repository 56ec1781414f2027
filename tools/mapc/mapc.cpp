// mapc: compiles a level text into the map file the game loads.
//   mapc LEVEL.txt OUTPUT.map
// Broken level rules are reported as warnings; the level tests fail on them.
#include <cstdio>
#include <fstream>
#include <sstream>

#include "tools/mapc/levelcheck.h"

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: mapc LEVEL.txt OUTPUT.map\n");
        return 2;
    }
    std::ifstream in(argv[1]);
    if (!in) {
        std::fprintf(stderr, "mapc: cannot read %s\n", argv[1]);
        return 1;
    }
    std::stringstream text;
    text << in.rdbuf();
    LevelCodes level;
    std::string error;
    if (!ParseLevelSource(text.str(), level, error)) {
        std::fprintf(stderr, "%s: %s\n", argv[1], error.c_str());
        return 1;
    }
    for (const std::string &p : CheckLevel(level))
        std::fprintf(stderr, "%s: warning: %s\n", argv[1], p.c_str());

    // Write beside the target and rename, so a failed write never leaves a
    // half map where the game looks for levels.
    std::string temp = std::string(argv[2]) + ".part";
    std::vector<uint8_t> bytes = MapFileBytes(level);
    FILE *out = std::fopen(temp.c_str(), "wb");
    bool ok = out && std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    if (out)
        ok = std::fclose(out) == 0 && ok;
    if (!ok || std::rename(temp.c_str(), argv[2]) != 0) {
        std::remove(temp.c_str());
        std::fprintf(stderr, "mapc: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}

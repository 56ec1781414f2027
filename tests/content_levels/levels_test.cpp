// The shipped levels keep the rules that make them playable, their map
// files hold exactly their sources, and the rules catch broken levels.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

#include "level/demofile.h"
#include "tools/mapc/levelcheck.h"

namespace {

std::string SourcePath(int level)
{
    char name[64];
    std::snprintf(name, sizeof name, "/content/levels/level%02d.txt", level);
    return std::string(DELVORN_SOURCE_DIR) + name;
}

std::string ReadText(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

LevelCodes LoadSource(int level)
{
    LevelCodes codes;
    std::string error;
    EXPECT_TRUE(ParseLevelSource(ReadText(SourcePath(level)), codes, error))
        << "level " << level << ": " << error;
    return codes;
}

bool Mentions(const std::vector<std::string> &problems, const std::string &word)
{
    for (const std::string &p : problems)
        if (p.find(word) != std::string::npos)
            return true;
    return false;
}

int MostCommonEarth(const LevelCodes &level)
{
    std::map<int, int> count;
    for (int row = 0; row < LEVEL_ROWS; row++)
        for (int column = 0; column < LEVEL_COLUMNS; column++)
            count[level.At(0, column, row)]++;
    count.erase(DUG_CODE);
    int best = -1, most = 0;
    for (auto [code, n] : count)
        if (n > most)
            best = code, most = n;
    return best;
}

}  // namespace

TEST(ShippedLevels, EveryLevelKeepsTheRules)
{
    for (int n = 1; n <= 20; n++) {
        LevelCodes level = LoadSource(n);
        EXPECT_FALSE(level.name.empty()) << "level " << n;
        for (const std::string &p : CheckLevel(level))
            ADD_FAILURE() << "level " << n << ": " << p;
    }
}

TEST(ShippedLevels, MapFilesHoldTheirSourcesInTheGameLayout)
{
    for (int n = 1; n <= 20; n++) {
        std::string path = std::string(DELVORN_GAME_DIR) + "/Maps/Zub" + std::to_string(n) + ".map";
        std::string bytes = ReadText(path);
        ASSERT_EQ(bytes.size(), 5100u) << path;
        LevelCodes fromFile;
        ASSERT_TRUE(ReadMapFileBytes(std::vector<uint8_t>(bytes.begin(), bytes.end()), fromFile));
        EXPECT_EQ(fromFile.codes, LoadSource(n).codes) << path;
    }
    // Layer 0 row 0 column 0 first, little-endian, -1 as four 0xFF bytes.
    LevelCodes one = LoadSource(1);
    std::vector<uint8_t> bytes = MapFileBytes(one);
    int32_t first = one.codes[0];
    EXPECT_EQ(bytes[0], uint8_t(first & 0xFF));
    EXPECT_EQ(bytes[3], uint8_t((first >> 24) & 0xFF));
    int homeIndex = (1 * LEVEL_ROWS + 0) * LEVEL_COLUMNS + 24;  // layer 1, (24,0)
    EXPECT_EQ(bytes[homeIndex * 4], HOME_CODE);
    int emptyIndex = (2 * LEVEL_ROWS + 0) * LEVEL_COLUMNS + 0;  // layer 2, (0,0)
    ASSERT_EQ(one.codes[emptyIndex], -1);
    for (int b = 0; b < 4; b++)
        EXPECT_EQ(bytes[emptyIndex * 4 + b], 0xFF);
}

TEST(ShippedLevels, DifficultyRisesAndLooksChange)
{
    LevelStats early, late;
    for (int n = 1; n <= 5; n++) {
        LevelStats e = MeasureLevel(LoadSource(n)), l = MeasureLevel(LoadSource(n + 15));
        early.items += e.items, late.items += l.items;
        early.bags += e.bags, late.bags += l.bags;
        early.dug += e.dug, late.dug += l.dug;
    }
    EXPECT_GT(late.items, early.items * 2);
    EXPECT_GT(late.bags, early.bags * 2);
    EXPECT_LT(late.dug, early.dug / 2);
    // From level 11 on, the enemies leave home by more than one tunnel.
    for (int n = 11; n <= 20; n++)
        EXPECT_GE(MeasureLevel(LoadSource(n)).enemyRoutes, 2) << "level " << n;

    // Next levels never share their earth, and all eight styles appear.
    std::map<int, int> styles;
    int previous = -1;
    for (int n = 1; n <= 20; n++) {
        int earth = MostCommonEarth(LoadSource(n));
        EXPECT_NE(earth, previous) << "level " << n;
        previous = earth;
        styles[(earth - 1) % 8]++;
    }
    EXPECT_EQ(styles.size(), 8u);
}

TEST(LevelRules, CatchBrokenLevels)
{
    const LevelCodes good = LoadSource(1);
    ASSERT_TRUE(CheckLevel(good).empty());
    int doorColumn = -1, doorRow = -1;
    for (int row = 0; row < LEVEL_ROWS; row++)
        for (int column = 0; column < LEVEL_COLUMNS; column++)
            if (good.At(0, column, row) == EXIT_CODE)
                doorColumn = column, doorRow = row;
    ASSERT_GE(doorColumn, 0);

    struct Case {
        const char *what;
        void (*breakIt)(LevelCodes &, int, int);
        const char *expected;
    };
    const Case cases[] = {
        {"no door", [](LevelCodes &l, int c, int r) { l.At(0, c, r) = 1; }, "exit door"},
        {"two doors", [](LevelCodes &l, int, int) { l.At(0, 5, 5) = EXIT_CODE; }, "exit door"},
        {"open door", [](LevelCodes &l, int c, int r) { l.At(1, c, r) = -1; }, "shield"},
        {"bag over tunnel", [](LevelCodes &l, int, int) { l.At(2, 5, 6) = BAG_START_CODE; }, "rest on earth"},
        {"block without picture", [](LevelCodes &l, int, int) { l.At(0, 3, 3) = 74; }, "no picture"},
        {"object without picture", [](LevelCodes &l, int, int) { l.At(2, 3, 3) = 27; }, "no picture"},
        {"shield in the ground", [](LevelCodes &l, int, int) { l.At(0, 3, 3) = SHIELD_CODE; }, "not earth"},
        {"decoration as ground", [](LevelCodes &l, int, int) { l.At(0, 3, 3) = 45; }, "not earth"},
        {"gold look-alike", [](LevelCodes &l, int, int) { l.At(2, 3, 3) = 13; }, "gold"},
        {"fuse look-alike", [](LevelCodes &l, int, int) { l.At(2, 3, 3) = 18; }, "fuse"},
        {"item on a stone", [](LevelCodes &l, int, int) { l.At(0, 3, 3) = 34, l.At(2, 3, 3) = 5; }, "feature stone"},
        {"item under a decoration", [](LevelCodes &l, int, int) { l.At(1, 3, 3) = 45, l.At(2, 3, 3) = 5; },
         "under decoration"},
        {"no home", [](LevelCodes &l, int, int) { l.At(1, 24, 0) = -1; }, "home"},
        {"home walled in",
         [](LevelCodes &l, int, int) {
             l.At(0, 23, 0) = 1;
             l.At(0, 24, 1) = 1;
         },
         "tunnel"},
        {"shielded start", [](LevelCodes &l, int, int) { l.At(1, 12, 15) = SHIELD_CODE; }, "start"},
        {"bag over start",
         [](LevelCodes &l, int, int) {
             l.At(0, 12, 15) = DUG_CODE;
             l.At(2, 12, 14) = BAG_START_CODE;
         },
         "start"},
        {"two potions",
         [](LevelCodes &l, int, int) {
             l.At(2, 1, 1) = POTION_CODE;
             l.At(2, 2, 1) = POTION_CODE;
         },
         "potion"},
        {"walled-in item",
         [](LevelCodes &l, int, int) {
             l.At(2, 0, 16) = 5;
             l.At(1, 1, 16) = SHIELD_CODE;
             l.At(1, 0, 15) = SHIELD_CODE;
         },
         "reached"},
    };
    for (const Case &c : cases) {
        LevelCodes broken = good;
        c.breakIt(broken, doorColumn, doorRow);
        EXPECT_TRUE(Mentions(CheckLevel(broken), c.expected)) << c.what;
    }

    LevelCodes nothing = good;
    for (int row = 0; row < LEVEL_ROWS; row++)
        for (int column = 0; column < LEVEL_COLUMNS; column++)
            if (IsCollectible(nothing.At(2, column, row)))
                nothing.At(2, column, row) = -1;
    EXPECT_TRUE(Mentions(CheckLevel(nothing), "nothing to collect"));
}

TEST(LevelSource, RejectsMalformedText)
{
    std::string text = ReadText(SourcePath(1));
    LevelCodes level;
    std::string error;

    std::string shortRow = text;
    size_t grid = shortRow.find("layer 0\n") + 8;
    shortRow.erase(grid, 1);
    EXPECT_FALSE(ParseLevelSource(shortRow, level, error));
    EXPECT_NE(error.find("25 characters"), std::string::npos) << error;

    std::string unknown = text;
    unknown[text.find("layer 2\n") + 8] = 'Q';
    EXPECT_FALSE(ParseLevelSource(unknown, level, error));
    EXPECT_NE(error.find("legend"), std::string::npos) << error;

    std::string missing = text.substr(0, text.find("layer 2\n"));
    EXPECT_FALSE(ParseLevelSource(missing, level, error));
    EXPECT_NE(error.find("missing"), std::string::npos) << error;

    std::string truncated = text.substr(0, text.size() - 30);
    EXPECT_FALSE(ParseLevelSource(truncated, level, error));
}

#ifdef DELVORN_MAPC
// A broken source stops the compiler and leaves no map behind, so the game
// never finds a half-written level.
TEST(MapCompiler, RefusesBrokenSourcesWithoutLeavingAFile)
{
    std::string dir = ::testing::TempDir();
    std::string source = dir + "/broken.txt", map = dir + "/broken.map";
    std::string text = ReadText(SourcePath(1));
    text.erase(text.find("layer 2\n"));
    std::ofstream(source) << text;
    std::remove(map.c_str());
    std::string command = std::string(DELVORN_MAPC) + " " + source + " " + map + " 2>/dev/null";
    EXPECT_NE(std::system(command.c_str()), 0);
    EXPECT_FALSE(std::ifstream(map).good());
    EXPECT_FALSE(std::ifstream(map + ".part").good());

    std::ofstream(source) << ReadText(SourcePath(2));
    EXPECT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(ReadText(map).size(), 5100u);
    std::remove(source.c_str());
    std::remove(map.c_str());
}
#endif

#ifdef DELVORN_TRACE
// The last line a trace prints, and whether the trace tool succeeded.
std::string LastTraceLine(const std::string &arguments, int *status)
{
    std::string command =
        std::string(DELVORN_TRACE) + " --data " + DELVORN_GAME_DIR + " " + arguments + " 2>/dev/null";
    FILE *trace = popen(command.c_str(), "r");
    if (!trace) {
        *status = -1;
        return "";
    }
    std::string last;
    char line[4096];
    while (std::fgets(line, sizeof line, trace))
        last = line;
    *status = pclose(trace);
    return last;
}

// A recorded run (one line of held keys per logic step) takes the hero
// through every item of level 1 and out of the door. Play is deterministic;
// when the rules of play change, record the run again with
// make_walkthrough.py.
TEST(ShippedLevels, LevelOneCanBeFinished)
{
    std::string input = std::string(DELVORN_SOURCE_DIR) + "/tests/content_levels/level1_walkthrough.txt";
    int status = 0;
    std::string last = LastTraceLine(
        "--level 1 --ticks 5000 --input " + input + " " + DELVORN_GAME_DIR + "/Maps/Zub1.map", &status);
    ASSERT_EQ(status, 0);
    EXPECT_NE(last.find("items=0"), std::string::npos) << last;
    EXPECT_NE(last.find("state=MAP"), std::string::npos) << "the run did not leave by the door: " << last;
    EXPECT_EQ(last.find("lives=0"), std::string::npos) << last;
}

// The search bot's demo of every level replays to the exit with lives left,
// from a start a new game gives: the level is the one its header names, its
// values a new game's. When the rules of play or a level change, find the
// demos again with delvorn-solve (content/levels/README.md).
TEST(ShippedLevels, EveryLevelHasASolutionThatReachesTheExit)
{
    for (int n = 1; n <= 20; n++) {
        std::string demo =
            std::string(DELVORN_SOURCE_DIR) + "/content/levels/solutions/Zub" + std::to_string(n) + ".dem";
        Demo header;
        std::string error;
        if (!ReadDemo(demo, &header, &error)) {
            ADD_FAILURE() << "level " << n << ": " << error;
            continue;
        }
        for (const std::string &problem : NewGameHeaderProblems(header, n))
            ADD_FAILURE() << "level " << n << ": " << demo << ": " << problem;
        int status = 0;
        std::string last = LastTraceLine("--demo " + demo, &status);
        EXPECT_EQ(status, 0) << "level " << n;
        EXPECT_NE(last.find("state=MAP"), std::string::npos)
            << "level " << n << " did not end at the exit: " << last;
        EXPECT_EQ(last.find("lives=0"), std::string::npos) << "level " << n << ": " << last;
    }
}
#endif

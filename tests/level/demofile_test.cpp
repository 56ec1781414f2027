// Demo files: what is written reads back whole, and a damaged or foreign
// file is refused with a message instead of being replayed wrongly.
#include <gtest/gtest.h>

#include <ctime>
#include <fstream>
#include <sstream>
#include <vector>

#include "level/demofile.h"
#include "tests/support/level_support.h"

namespace {

Demo SampleDemo()
{
    Demo d;
    d.level = 12;
    d.mapChecksum = 0xdeadbeef;
    d.draws = 1234;
    d.generator = 0x0badf00d;
    d.values.score = 56789;
    d.values.lives = 2;
    d.values.bombCapacity = 3;
    d.values.bombsOut = 1;
    d.values.keepLives = true;
    d.values.keysLatched = true;
    d.ending = "exit";
    d.final = "tick=4 hero=384,480,1 state=MAP";
    d.ticks = {0, DEMO_LEFT, DEMO_RIGHT | DEMO_FIRE, DEMO_UP | DEMO_DEBUG_SWITCH,
               DEMO_DOWN | DEMO_OTHER_PLAY_KEY};
    return d;
}

std::string ReadAll(const std::string &path)
{
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(DemoFile, WrittenDemoReadsBackWhole)
{
    EnterScratchFolder();
    Demo d = SampleDemo(), back;
    std::string error;
    ASSERT_TRUE(WriteDemo("round.dem", d, &error)) << error;
    ASSERT_TRUE(ReadDemo("round.dem", &back, &error)) << error;
    EXPECT_EQ(back.level, d.level);
    EXPECT_EQ(back.mapChecksum, d.mapChecksum);
    EXPECT_EQ(back.draws, d.draws);
    EXPECT_EQ(back.generator, d.generator);
    EXPECT_EQ(back.values.score, d.values.score);
    EXPECT_EQ(back.values.lives, d.values.lives);
    EXPECT_EQ(back.values.bombCapacity, d.values.bombCapacity);
    EXPECT_EQ(back.values.bombsOut, d.values.bombsOut);
    EXPECT_EQ(back.values.keepLives, d.values.keepLives);
    EXPECT_EQ(back.values.keysLatched, d.values.keysLatched);
    EXPECT_EQ(back.ending, d.ending);
    EXPECT_EQ(back.final, d.final);
    EXPECT_EQ(back.ticks, d.ticks);
    // One line per tick with the trace tool's letters.
    EXPECT_NE(ReadAll("round.dem").find("\n-\nL\nRF\nUX\nDK\n"), std::string::npos);
}

TEST(DemoFile, DamagedOrMissingFilesAreRefusedWithAMessage)
{
    EnterScratchFolder();
    std::string error;
    ASSERT_TRUE(WriteDemo("good.dem", SampleDemo(), &error)) << error;
    std::string good = ReadAll("good.dem");
    struct Case {
        const char *what, *from, *to;
    } cases[] = {
        {"not a demo", "DELVORN-DEMO 1", "PK\x03\x04"},
        {"level out of range", "level 12", "level 0"},
        {"negative draws", "draws 1234", "draws -5"},
        {"checksum not hex", "map deadbeef", "map xyz"},
        {"too many bombs", "bombs 3", "bombs 40"},
        {"latch not 0 or 1", "latch 1", "latch 2"},
        {"a field missing", "lives 2\n", ""},
        {"no end line", "end exit\n", ""},
        {"fewer ticks than said", "ticks 5", "ticks 9"},
        {"more after the version", "DELVORN-DEMO 1", "DELVORN-DEMO 1x"},
        {"draws no game reaches", "draws 1234", "draws 1000000000"},
        {"ticks past any demo", "ticks 5", "ticks 10000001"},
        {"a word after the value", "bombs 3", "bombs 3 4"},
    };
    for (const Case &c : cases) {
        std::string text = good;
        size_t at = text.find(c.from);
        ASSERT_NE(at, std::string::npos) << c.what;
        text.replace(at, std::string(c.from).size(), c.to);
        std::ofstream("bad.dem") << text;
        Demo d;
        error.clear();
        EXPECT_FALSE(ReadDemo("bad.dem", &d, &error)) << c.what;
        EXPECT_FALSE(error.empty()) << c.what;
    }
    Demo d;
    EXPECT_FALSE(ReadDemo("missing.dem", &d, &error));
    EXPECT_NE(error.find("missing.dem"), std::string::npos);
    // Endless or huge input is refused before it is read to its end.
    std::ofstream("one_line.dem") << std::string(DEMO_MAX_LINE + 10, 'x');
    const struct {
        const char *path, *reason;
    } endless[] = {
#ifndef _WIN32
        {"/dev/zero", "not a regular file"},
#endif
        {"one_line.dem", "line 1 is longer than any demo line"},
    };
    for (const auto &e : endless) {
        EXPECT_FALSE(ReadDemo(e.path, &d, &error)) << e.path;
        EXPECT_NE(error.find(e.reason), std::string::npos) << error;
    }
    // A write that cannot happen leaves nothing behind and says so.
    EXPECT_FALSE(WriteDemo("no/such/folder/x.dem", SampleDemo(), &error));
    EXPECT_FALSE(error.empty());
}

// A copy with Windows line ends is the same demo, and so is an older
// recorder's end in the editor.
TEST(DemoFile, CrLfCopyReadsAsTheSameDemo)
{
    EnterScratchFolder();
    std::string error;
    ASSERT_TRUE(WriteDemo("unix.dem", SampleDemo(), &error)) << error;
    std::string text = ReadAll("unix.dem"), crlf;
    for (char c : text)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    std::ofstream("windows.dem", std::ios::binary) << crlf;
    Demo a, b;
    ASSERT_TRUE(ReadDemo("unix.dem", &a, &error)) << error;
    ASSERT_TRUE(ReadDemo("windows.dem", &b, &error)) << error;
    EXPECT_EQ(b.final, a.final);
    EXPECT_EQ(b.ending, a.ending);
    EXPECT_EQ(b.ticks, a.ticks);
    EXPECT_EQ(b.draws, a.draws);

    // An older recorder's demo that stopped at the editor named the page's
    // state, which its replay, under no page, can never reach.
    Demo old = SampleDemo();
    old.ending = "editor";
    old.final = "tick=4 hero=384,480,1 state=LEVEL EDITOR enemies=768,0,1,4";
    ASSERT_TRUE(WriteDemo("editor.dem", old, &error)) << error;
    ASSERT_TRUE(ReadDemo("editor.dem", &a, &error)) << error;
    EXPECT_EQ(a.final, "tick=4 hero=384,480,1 state=RUN enemies=768,0,1,4");
}

// The ten-newest rotation removes only what the recorder wrote: its dated
// copies, oldest first, and their left-over temporaries.
TEST(DemoFile, RotationTouchesOnlyTheRecordersOwnFiles)
{
    const std::string folder = EnterScratchFolder();
    std::vector<std::string> recorded;
    for (int i = 0; i < 12; i++)
        recorded.push_back(RecordedDemoName(20 - i, (std::time_t)(1600000000 + 60 * i)));
    EXPECT_EQ(RecordedDemoName(7, 0).size(), std::string("Zub7-19700101-000000.dem").size());
    const std::vector<std::string> players = {
        "Zub3-best.dem",
        "Zub12-20200101-000000-copy.dem",
        "Zub05-20200101-000000.dem",
        "zub1-20200101-000000.dem",
        "Zub100-20200101-000000.dem",
        "Zub1-2020010a-000000.dem",
        "notes.tmp",
        "Zub1-20200101-000000.dem.bak",
    };
    const std::string stale = "Zub4-20200101-000001.dem.tmp";
    for (const std::string &name : recorded)
        std::ofstream(folder + "/" + name) << "old";
    for (const std::string &name : players)
        std::ofstream(folder + "/" + name) << "mine";
    std::ofstream(folder + "/" + stale) << "half";
    for (const std::string &name : recorded)
        EXPECT_TRUE(IsRecordedDemoName(name)) << name;
    for (const std::string &name : players)
        EXPECT_FALSE(IsRecordedDemoName(name)) << name;

    KeepRecentDemos(folder, 10);
    for (size_t i = 0; i < recorded.size(); i++)
        EXPECT_EQ(std::ifstream(folder + "/" + recorded[i]).good(), i >= 2) << recorded[i];
    for (const std::string &name : players)
        EXPECT_TRUE(std::ifstream(folder + "/" + name).good()) << name;
    EXPECT_FALSE(std::ifstream(folder + "/" + stale).good());
}

// The header rule a shipped solution must meet: a new game's values, and
// the draws a new game has taken by then; each fault alone is named.
TEST(DemoFile, OnlyHeadersANewGameCanStartWithPassTheSolutionRule)
{
    Demo first;
    first.level = 1;
    first.draws = NEW_GAME_FIRST_LEVEL_DRAWS;
    EXPECT_TRUE(NewGameHeaderProblems(first, 1).empty());
    Demo later = first;
    later.level = 5;
    later.draws = NEW_GAME_FIRST_LEVEL_DRAWS + 4 * LEVEL_START_DRAWS;
    EXPECT_TRUE(NewGameHeaderProblems(later, 5).empty());

    const struct {
        const char *what;
        void (*change)(Demo &);
        int level;
        const char *said;
    } cases[] = {
        {"level 20's demo under level 19's name",
         [](Demo &d) {
             d.level = 20;
             d.draws = 5000;
         },
         19, "of level 20, not of level 19"},
        {"a score", [](Demo &d) { d.values.score = 50; }, 1, "score 50"},
        {"a million lives", [](Demo &d) { d.values.lives = 1000000; }, 1, "lives 1000000"},
        {"two bombs", [](Demo &d) { d.values.bombCapacity = 2; }, 1, "bombs 2"},
        {"a bomb out", [](Demo &d) { d.values.bombsOut = 1; }, 1, "bombsout 1"},
        {"spared lives", [](Demo &d) { d.values.keepLives = true; }, 1, "keeplives 1"},
        {"the key latch", [](Demo &d) { d.values.keysLatched = true; }, 1, "latch 1"},
        {"the tools' start", [](Demo &d) { d.draws = LEVEL_START_DRAWS; }, 1, "reaches level 1 at"},
        {"more draws on level 1", [](Demo &d) { d.draws = NEW_GAME_FIRST_LEVEL_DRAWS + 1; }, 1, "reaches level 1"},
        {"level 5 at level 1's draws",
         [](Demo &d) {
             d.level = 5;
             d.draws = NEW_GAME_FIRST_LEVEL_DRAWS;
         },
         5, "or more"},
    };
    for (const auto &c : cases) {
        Demo d = first;
        c.change(d);
        const std::vector<std::string> problems = NewGameHeaderProblems(d, c.level);
        ASSERT_EQ(problems.size(), 1u) << c.what;
        EXPECT_NE(problems[0].find(c.said), std::string::npos) << c.what << ": " << problems[0];
    }
}

}  // namespace

// Demo files: what is written reads back whole, and a damaged or foreign
// file is refused with a message instead of being replayed wrongly.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

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
    // A write that cannot happen leaves nothing behind and says so.
    EXPECT_FALSE(WriteDemo("no/such/folder/x.dem", SampleDemo(), &error));
    EXPECT_FALSE(error.empty());
}

}  // namespace

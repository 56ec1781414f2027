// The real game records the level it plays as a demo, and the demo replays
// headless to the very state the game ended on.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "level/demofile.h"
#include "tests/e2e/e2e_support.h"

namespace {

namespace fs = std::filesystem;

// The trace of a demo replayed on the game folder; the last line, and the
// trace tool's exit status.
std::string ReplayLastLine(const std::string &demo, const std::string &gameDir, int *status)
{
    std::string command = std::string(DELVORN_TRACE) + " --demo '" + demo + "' --data '" + gameDir + "' 2>&1";
    FILE *trace = popen(command.c_str(), "r");
    std::string last;
    char line[8192];
    while (trace && std::fgets(line, sizeof line, trace))
        last = line;
    *status = trace ? pclose(trace) : -1;
    if (!last.empty() && last.back() == '\n')
        last.pop_back();
    return last;
}

TEST(EndToEndDemo, RecordedLevelReplaysToTheSameStateAndOldDemosMakeRoom)
{
    if (!HaveDisplay())
        GTEST_SKIP() << "needs Xvfb and xdotool";
    GameProcess game("e2e_demo");
    game.CopyData();
    // Twelve dated demos from before: the two oldest must go.
    fs::create_directories(game.dir + "/Demos");
    for (int i = 0; i < 12; i++) {
        char name[64];
        std::snprintf(name, sizeof name, "/Demos/Zub%d-20200101-0000%02d.dem", 20 - i, i);
        game.WriteFile(name, "old");
    }
    game.Start();
    ASSERT_TRUE(game.WaitForLog("Entering Game Loop\n", 120)) << game.Log();
    ASSERT_TRUE(WaitForShown(game, Shown::Menu, 30, "demo_01_menu"));
    ASSERT_TRUE(StartNewGame(game, "demo_02_progress_map", "demo_03_play"));

    // Long enough for the first enemies to leave home and choose their
    // ways, with bombs among the steps and a pause that play resumes from.
    game.Press("Left", 900);
    game.Press("space");
    ASSERT_TRUE(HoldUntilShown(game, "p", Shown::Pause, 10, "demo_04_paused"));
    ASSERT_TRUE(HoldUntilShown(game, "space", Shown::Play, 10, "demo_04_resumed"));
    game.Press("Right", 1500);
    game.Press("Up", 700);
    game.Press("Right", 600);
    game.Press("Down", 400);
    game.Press("Left", 1200);
    game.Press("space");
    game.Press("Up", 1000);
    ASSERT_TRUE(HoldUntilShown(game, "Escape", Shown::Menu, 10, "demo_05_menu"));
    HoldUntil(
        game, "Escape", [&]() { return !game.Running(); }, 10, "demo_06_leaving");
    ASSERT_EQ(game.WaitExit(30), 0);

    std::string last = game.dir + "/Demos/last.dem";
    Demo demo;
    std::string error;
    ASSERT_TRUE(ReadDemo(last, &demo, &error)) << error;
    EXPECT_EQ(demo.level, 1);
    EXPECT_EQ(demo.ending, "left");
    EXPECT_GT(demo.ticks.size(), 100u);
    EXPECT_GT(demo.draws, 0);
    ASSERT_FALSE(demo.final.empty());

    int status = 0;
    std::string replayed = ReplayLastLine(last, game.dir, &status);
    EXPECT_EQ(status, 0) << replayed;
    EXPECT_EQ(replayed, demo.final);

    // Ten dated copies stay: the new one and the nine most recent old ones.
    int dated = 0, newOnes = 0;
    for (const auto &entry : fs::directory_iterator(game.dir + "/Demos")) {
        std::string name = entry.path().filename().string();
        if (name == "last.dem")
            continue;
        dated++;
        if (name.rfind("Zub1-2020", 0) != 0 && name.rfind("Zub1-", 0) == 0)
            newOnes++;
    }
    EXPECT_EQ(dated, 10);
    EXPECT_EQ(newOnes, 1);
    EXPECT_FALSE(fs::exists(game.dir + "/Demos/Zub20-20200101-000000.dem"));
    EXPECT_FALSE(fs::exists(game.dir + "/Demos/Zub18-20200101-000002.dem"));
    EXPECT_TRUE(fs::exists(game.dir + "/Demos/Zub17-20200101-000003.dem"));
}

}  // namespace

// The game killed while it saves the score table, once half-way through
// writing and once just before the new table replaces the old: the old
// table stays whole, and the next run reads it.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <thread>

#include "tests/e2e/e2e_support.h"

namespace {

class KilledWhileSaving : public testing::TestWithParam<std::string> {
protected:
    void SetUp() override
    {
        if (!HaveDisplay())
            GTEST_SKIP() << "needs Xvfb and xdotool";
    }
};

TEST_P(KilledWhileSaving, PreviousTableStaysIntact)
{
    std::vector<ScoreRow> rows;
    for (int i = 0; i < 10; i++)
        rows.push_back({"OL" + std::string(1, (char)('A' + i)), 40 - i});
    const std::string previous = ScoreFile(rows);

    GameProcess game("kill_save_" + GetParam());
    game.CopyData();
    game.WriteFile("HiScore/HiScore.sco", previous);
    game.WriteFile("Maps/Zub1.map", QuickDeathLevel());
    game.Start({std::string("LD_PRELOAD=") + DELVORN_SAVE_STALL, "SAVE_STALL=" + GetParam()});
    ASSERT_TRUE(game.WaitForLog("Entering Game Loop\n", 120)) << game.Log();
    ASSERT_TRUE(WaitForShown(game, Shown::Menu, 30, "menu"));
    ASSERT_TRUE(HoldUntilShown(game, "Return", Shown::ProgressMap, 20, "progress_map"));
    ASSERT_TRUE(PressUntilShown(game, "space", Shown::Play, 20, "play"));
    ASSERT_TRUE(LoseToGameOver(game, "game_over"));
    ASSERT_TRUE(HoldUntilShown(game, "Return", Shown::Initials, 10, "initials"));
    game.Press("Down");
    const std::string stallFile = game.dir + "/save_stalled";
    HoldUntil(
        game, "Return", [&]() { return std::filesystem::exists(stallFile); }, 10, "saving");

    struct stat st;
    bool stalled = false;
    for (int i = 0; i < 100 && !stalled; i++) {
        stalled = stat((game.dir + "/save_stalled").c_str(), &st) == 0;
        if (!stalled)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    ASSERT_TRUE(stalled) << "the save never reached the point to kill it at";
    game.Kill(SIGKILL);

    // The kill came where it was meant to: mid-write or with the new table complete.
    std::string partial = ReadFile(game.dir + "/HiScore/HiScore.sco.tmp");
    if (GetParam() == "write")
        EXPECT_LT(partial.size(), 84u);
    else
        EXPECT_EQ(ReadScoreFile(partial).size(), 10u);
    EXPECT_EQ(ReadFile(game.dir + "/HiScore/HiScore.sco"), previous);

    // The next run reads the old table and does not reset it.
    std::remove((game.dir + "/save_stalled").c_str());
    game.Start();
    ASSERT_TRUE(game.WaitForLog("Entering Game Loop\n", 120)) << game.Log();
    EXPECT_EQ(game.Log().find("UNABLE TO LOAD HI SCORES"), std::string::npos) << game.Log();
    ASSERT_TRUE(WaitForShown(game, Shown::Menu, 30, "menu_next_run"));
    HoldUntil(
        game, "Escape", [&]() { return !game.Running(); }, 10, "leaving");
    EXPECT_EQ(game.WaitExit(30), 0);
    EXPECT_EQ(ReadFile(game.dir + "/HiScore/HiScore.sco"), previous);
}

INSTANTIATE_TEST_SUITE_P(Points, KilledWhileSaving, testing::Values("write", "rename"),
                         [](const testing::TestParamInfo<std::string> &info) { return info.param; });

}  // namespace

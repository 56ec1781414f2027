// The real game played through by keyboard under its own X display: the
// menu and its screens, a game with pause and help, a game lost on purpose
// through the game over page and the initials entry, and the way out.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "tests/e2e/e2e_support.h"

namespace {

void Sleep(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

std::vector<ScoreRow> LowScores()
{
    std::vector<ScoreRow> rows;
    for (int i = 0; i < 10; i++)
        rows.push_back({"LO" + std::string(1, (char)('A' + i)), 10 - i});
    return rows;
}

class EndToEnd : public testing::Test {
protected:
    void SetUp() override
    {
        if (!HaveDisplay())
            GTEST_SKIP() << "needs Xvfb and xdotool";
    }
};

TEST_F(EndToEnd, MenusTwoGamesAndInitialsEntryEndCleanly)
{
    GameProcess game("e2e_play");
    game.CopyData();
    game.WriteFile("HiScore/HiScore.sco", ScoreFile(LowScores()));
    game.Start();
    ASSERT_TRUE(game.WaitForLog("Entering Game Loop\n", 120)) << game.Log();
    ASSERT_TRUE(WaitForShown(game, Shown::Menu, 30, "01_menu")) << ShownName(Classify(game));

    // Options: the sound volume's bar moves one step, then SPACE leaves.
    game.Press("Down");
    game.Press("Return");
    ASSERT_TRUE(WaitForShown(game, Shown::Options, 10, "02_options"));
    int barBefore = game.CountNear(0xceca63, 395, 195, 640, 225);
    game.Press("Right");
    ASSERT_TRUE(WaitForShown(game, Shown::Options, 5, "03_options_changed"));
    EXPECT_NE(game.CountNear(0xceca63, 395, 195, 640, 225), barBefore) << "the volume bar did not move";
    game.Press("space");
    ASSERT_TRUE(WaitForShown(game, Shown::Menu, 10, "04_menu"));

    // High scores show the table the test gave, then SPACE goes back.
    game.Press("Down");
    game.Press("Down");
    game.Press("Return");
    ASSERT_TRUE(WaitForShown(game, Shown::HighScores, 10, "05_high_scores"));
    game.Press("space");
    ASSERT_TRUE(WaitForShown(game, Shown::Menu, 10, "06_menu"));

    // A game of the shipped first level: progress map, some walking and a
    // bomb, a pause and the help page, KEY_ESC back to the menu.
    ASSERT_TRUE(StartNewGame(game, "07_progress_map", "08_play"));
    game.Press("Left", 800);
    game.Press("space");
    game.Press("Right", 1200);
    game.Press("Up", 300);
    ASSERT_TRUE(WaitForShown(game, Shown::Play, 5, "09_play_moved"));
    EXPECT_GT(game.Screenshot("09_play_moved"), 40);
    game.Press("p");
    Sleep(500);
    EXPECT_GT(game.Screenshot("10_paused"), 20);
    EXPECT_NE(Classify(game), Shown::Play) << "the pause page did not show";
    game.Press("space");
    ASSERT_TRUE(WaitForShown(game, Shown::Play, 5, "11_resumed"));
    game.Press("F1");
    Sleep(500);
    EXPECT_GT(game.Screenshot("12_help"), 20);
    EXPECT_NE(Classify(game), Shown::Play) << "the help page did not show";
    game.Press("space");
    ASSERT_TRUE(WaitForShown(game, Shown::Play, 5, "13_back_from_help"));
    game.Press("Escape");
    ASSERT_TRUE(WaitForShown(game, Shown::Menu, 10, "14_menu"));

    // A second game on a level where the hero scores and then dies: he
    // stands still and drops bombs until the enemies or the bombs have
    // taken every life.
    game.WriteFile("Maps/Zub1.map", QuickDeathLevel());
    ASSERT_TRUE(StartNewGame(game, "15_progress_map", "16_doomed_play"));
    bool over = LoseToGameOver(game, "17_game_over");
    ASSERT_TRUE(over) << "no game over page; last seen: " << ShownName(Classify(game));
    game.Press("Return");
    ASSERT_TRUE(WaitForShown(game, Shown::Initials, 10, "18_initials"));

    // Down makes B; the symbol index carries to the next field, so Right and
    // Down twice make D, and Right and Up make C: "BDC".
    for (const char *k : {"Down", "Right", "Down", "Down", "Right", "Up"})
        game.Press(k);
    game.Screenshot("19_initials_typed");
    game.Press("Return");
    ASSERT_TRUE(WaitForShown(game, Shown::Menu, 15, "20_menu"));

    std::vector<ScoreRow> table = ReadScoreFile(ReadFile(game.dir + "/HiScore/HiScore.sco"));
    ASSERT_EQ(table.size(), 10u) << "the saved table is not 84 bytes with a matching sum";
    EXPECT_EQ(table[0].initials, "BDC");
    EXPECT_GE(table[0].score, 50);
    EXPECT_EQ(table[1].initials, "LOA");
    EXPECT_EQ(table[9].initials, "LOI");  // the lowest one dropped out

    game.Press("Escape");
    EXPECT_EQ(game.WaitExit(30), 0);

    std::string log = game.Log();
    std::vector<std::string> expected = {
        "Log File Open",          "Initializing Allegro",  "Initializing Graphics",
        "Launching Game",         "Entering Game Loop",    "Exiting Game Loop",
        "Deleting Input Control", "Deleting Map and Menu", "Program Terminated Flawlessly!",
        "Closing Log File"};
    std::vector<std::string> lines = SplitLines(log);
    size_t at = 0;
    for (const std::string &line : lines)
        if (at < expected.size() && line == expected[at])
            at++;
    EXPECT_EQ(at, expected.size()) << "missing or out of order: "
                                   << (at < expected.size() ? expected[at] : "") << "\n"
                                   << log;
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "Closing Log File");
    EXPECT_EQ(log.find("::EXCEPT"), std::string::npos) << log;
}

}  // namespace

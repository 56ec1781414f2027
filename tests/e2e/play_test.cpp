// The real game played through by keyboard under its own X display: the
// menu and its screens, a game with pause and help, a game lost on purpose
// through the game over page and the initials entry, a game left with ESC
// into the initials entry, and the way out.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/e2e/e2e_support.h"

namespace {

std::vector<ScoreRow> LowScores()
{
    std::vector<ScoreRow> rows;
    for (int i = 0; i < 10; i++)
        rows.push_back({"LO" + std::string(1, (char)('A' + i)), 10 - i});
    return rows;
}

// From the menu with its first item chosen: moves the choice down to
// `item`, one press at a time, and opens it.
bool ChooseMenuItem(GameProcess &game, int item, Shown opens, const std::string &name)
{
    for (int chosen = 1; chosen <= item; chosen++)
        if (!HoldUntil(
                game, "Down", [&]() { return MenuChoiceShown(game) == chosen; }, 30, name)) {
            ADD_FAILURE() << "item " << chosen << " was not chosen; shown: " << MenuChoiceShown(game);
            return false;
        }
    return HoldUntilShown(game, "Return", opens, 30, name);
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
    ASSERT_TRUE(ChooseMenuItem(game, 1, Shown::Options, "02_options"));
    std::vector<unsigned> barBefore = PixelsOf(game, 395, 195, 640, 225);
    EXPECT_TRUE(HoldUntil(
        game, "Right",
        [&]() { return Classify(game) == Shown::Options && PixelsOf(game, 395, 195, 640, 225) != barBefore; },
        30, "03_options_changed"))
        << "the volume bar did not move";
    ASSERT_TRUE(HoldUntilShown(game, "space", Shown::Menu, 30, "04_menu"));

    // High scores show the table the test gave, then SPACE goes back.
    ASSERT_TRUE(ChooseMenuItem(game, 2, Shown::HighScores, "05_high_scores"));
    ASSERT_TRUE(HoldUntilShown(game, "space", Shown::Menu, 30, "06_menu"));

    // A game of the shipped first level: progress map, some walking and a
    // bomb, a pause and the help page, KEY_ESC back to the menu.
    ASSERT_TRUE(StartNewGame(game, "07_progress_map", "08_play"));
    game.Press("Left", 800);
    game.Press("space");
    game.Press("Right", 1200);
    game.Press("Up", 300);
    ASSERT_TRUE(WaitForShown(game, Shown::Play, 30, "09_play_moved"));
    EXPECT_GT(game.Screenshot("09_play_moved"), 40);
    EXPECT_TRUE(HoldUntilShown(game, "p", Shown::Pause, 30, "10_paused"))
        << "the pause page did not show; last seen: " << ShownName(Classify(game));
    EXPECT_GT(game.Screenshot("10_paused"), 20);
    ASSERT_TRUE(HoldUntilShown(game, "space", Shown::Play, 30, "11_resumed"));
    EXPECT_TRUE(HoldUntilShown(game, "F1", Shown::Help, 30, "12_help"))
        << "the help page did not show; last seen: " << ShownName(Classify(game));
    EXPECT_GT(game.Screenshot("12_help"), 20);
    ASSERT_TRUE(HoldUntilShown(game, "space", Shown::Play, 30, "13_back_from_help"));
    ASSERT_TRUE(LeaveGame(game, "14_menu")) << "last seen: " << ShownName(Classify(game));

    // A second game on a level where the hero scores and then dies: he
    // stands still and drops bombs until the enemies or the bombs have
    // taken every life.
    game.WriteFile("Maps/Zub1.map", QuickDeathLevel());
    ASSERT_TRUE(StartNewGame(game, "15_progress_map", "16_doomed_play"));
    bool over = LoseToGameOver(game, "17_game_over");
    ASSERT_TRUE(over) << "no game over page; last seen: " << ShownName(Classify(game));
    ASSERT_TRUE(HoldUntil(
        game, "Return", [&]() { return Classify(game) != Shown::GameOver; }, 30, "18_initials"));
    ASSERT_TRUE(WaitForShown(game, Shown::Initials, 30, "18_initials"));

    // Down makes B; the symbol index carries to the next field, so Right and
    // Down twice make D, and Right and Up make C: "BDC". Each key is held
    // until the fields have changed.
    for (const char *k : {"Down", "Right", "Down", "Down", "Right", "Up"}) {
        std::vector<unsigned> fields = PixelsOf(game, 240, 258, 630, 334);
        ASSERT_TRUE(HoldUntil(
            game, k,
            [&]() {
                return Classify(game) == Shown::Initials && PixelsOf(game, 240, 258, 630, 334) != fields;
            },
            30, "19_initials_typed"))
            << k << " did not change the initials";
    }
    ASSERT_TRUE(HoldUntil(
        game, "Return", [&]() { return Classify(game) != Shown::Initials; }, 30, "20_menu"));
    ASSERT_TRUE(WaitForShown(game, Shown::Menu, 30, "20_menu"));

    std::vector<ScoreRow> table = ReadScoreFile(ReadFile(game.dir + "/HiScore/HiScore.sco"));
    ASSERT_EQ(table.size(), 10u) << "the saved table is not 84 bytes with a matching sum";
    EXPECT_EQ(table[0].initials, "BDC");
    EXPECT_GE(table[0].score, 50);
    EXPECT_EQ(table[1].initials, "LOA");
    EXPECT_EQ(table[9].initials, "LOI");  // the lowest one dropped out

    // A third game, left with ESC once the hero has scored: the question
    // comes first, then the score earns its place as a lost game's does.
    ASSERT_TRUE(StartNewGame(game, "20_progress_map", "20_left_play"));
    ASSERT_TRUE(LeaveGame(game, "20_left")) << "last seen: " << ShownName(Classify(game));
    table = ReadScoreFile(ReadFile(game.dir + "/HiScore/HiScore.sco"));
    ASSERT_EQ(table.size(), 10u);
    EXPECT_TRUE(std::any_of(table.begin(), table.end(), [](const ScoreRow &r) { return r.initials == "AAA"; }))
        << "the score of the game left is not in the table";
    EXPECT_EQ(table[9].initials, "LOH");

    EXPECT_TRUE(HoldUntil(
        game, "Escape", [&]() { return !game.Running(); }, 30, "21_closed"));
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

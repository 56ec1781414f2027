// The real main loop in this process, from the menu to play of level 1, on
// a copy of the game folder under a window, with the logic timer running:
// the pages on the way wait for real, and play must not make up for them.
#include <gtest/gtest.h>

#include <allegro.h>
#include <unistd.h>

#include <cstdlib>

#include <vector>

#include "base/frame.h"
#include "base/seam.h"
#include "gameplay/figures.h"
#include "gameplay/random.h"
#include "level/demofile.h"
#include "level/play.h"
#include "shell/gameloop.h"
#include "shell/startup.h"
#include "tests/support/game_process.h"

namespace {

struct Run {
    int menuPasses = 0, mapPasses = 0;
    std::vector<int> heroX;  // the hero's x on each frame of play
    long drawsAtPlay = -1;   // the random draws when play's first frame shows
};
Run run;

// Enter on the menu, then Left pressed on the progress map and held through
// "G E T    R E A D Y!" into play; two frames of play, then the window closes.
void DriveNewGame()
{
    if (gameState == GameState::MENU) {
        key[KEY_ENTER] = ++run.menuPasses == 5;
    } else if (gameState == GameState::MAP) {
        key[KEY_ENTER] = 0;
        if (++run.mapPasses == 5) {
            key[KEY_LEFT] = 1;
            simulate_keypress(KEY_LEFT << 8);
        }
    } else if (gameState == GameState::RUN) {
        if (run.heroX.empty())
            run.drawsAtPlay = RandomDraws();
        run.heroX.push_back((int)hero->x);
        if (run.heroX.size() == 2)
            closeRequested = true;
    }
    if (run.menuPasses > 2000 || run.mapPasses > 2000)
        closeRequested = true;  // a screen that never ends must not hang the suite
}

TEST(GameLoop, NewGameReachesPlayAtTheDrawsOfTheRuleAndAKeyHeldThroughGetReadyMovesOneStep)
{
    const char *display = std::getenv("DISPLAY");
    if (!display || !*display)
        GTEST_SKIP() << "needs an X display (scripts/test.sh starts Xvfb)";
    GameProcess folder("gameloop");
    folder.CopyData();
    ASSERT_EQ(chdir(folder.dir.c_str()), 0);
    ASSERT_TRUE(Initall());
    gameState = GameState::MENU;
    NewGameReset();
    passHook = DriveNewGame;
    RunMainLoop();
    passHook = nullptr;
    key[KEY_LEFT] = 0;

    ASSERT_EQ(run.heroX.size(), 2u) << "play was never reached";
    // The first frame shows the level's start; the next, one logic step on:
    // one step to the left, not the second's worth of steps the page took.
    EXPECT_EQ(run.heroX[0], 384);
    EXPECT_EQ(run.heroX[0] - run.heroX[1], heroSpeed);
    // The count the header rule holds a shipped level 1 solution to.
    EXPECT_EQ(run.drawsAtPlay, NEW_GAME_FIRST_LEVEL_DRAWS);
    DeleteAll();
}

}  // namespace

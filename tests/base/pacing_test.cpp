// The pacing counters shared with the timer thread.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "base/frame.h"

namespace {

TEST(Pacing, SecondTickShowsFramesDrawnAndStartsCountingAgain)
{
    framesDrawn = 57;
    shownFps = 0;
    CountFps();
    EXPECT_EQ(shownFps, 57);
    EXPECT_EQ(framesDrawn, 0);
}

TEST(Pacing, NoTickIsLostWhileTheMainThreadCountsDown)
{
    logicTicks = 0;
    const int perThread = 100000;
    std::thread timer([&] {
        for (int i = 0; i < perThread; i++)
            TickLogic();
    });
    for (int i = 0; i < perThread; i++)
        logicTicks--;
    timer.join();
    EXPECT_EQ(logicTicks, 0);
}

TEST(Pacing, CloseButtonOnlyRaisesTheFlag)
{
    closeRequested = false;
    int before = gameState;
    OnCloseButton();
    EXPECT_TRUE(closeRequested);
    EXPECT_EQ(gameState, before);
    closeRequested = false;
}

TEST(Pacing, OverlayNamesOfStates)
{
    EXPECT_STREQ(StateName(GameState::RUN), "STATE::RUN");
    EXPECT_STREQ(StateName(GameState::NEW_LEVEL), "STATE::NEW LEVEL");
    EXPECT_STREQ(StateName(GameState::LEVEL_EDITOR), "STATE::LEVEL EDITOR");
    EXPECT_STREQ(StateName(GameState::HELP), "NOSTATE");
    EXPECT_STREQ(StateName(42), "NOSTATE");
}

}  // namespace

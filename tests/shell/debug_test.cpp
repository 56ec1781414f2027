// The debug overlay's lines, in the font and colours the game draws them in.
#include <gtest/gtest.h>

#include <allegro.h>

#include "base/frame.h"
#include "gameplay/figures.h"
#include "shell/debug.h"
#include "tests/support/level_support.h"

namespace {

// Both bitmaps agree on the band of rows from y to y + 7.
bool SameBand(BITMAP *a, BITMAP *b, int y)
{
    for (int row = y; row < y + 8; row++)
        for (int x = 0; x < a->w; x++)
            if (getpixel(a, x, row) != getpixel(b, x, row))
                return false;
    return true;
}

TEST(DebugOverlay, ShowsStateFrameRateLevelAndTheCellUnderTheMouse)
{
    StartHeadlessAllegro();
    BITMAP *drawn = create_bitmap(800, 600);
    BITMAP *expected = create_bitmap(800, 600);
    clear_to_color(drawn, 0);
    clear_to_color(expected, 0);

    gameState = GameState::HELP;
    keepLives = true;
    currentLevel = 7;
    shownFps = 59;
    mouse_x = 100;
    mouse_y = 599;
    DrawDebugOverlay(drawn);
    textout_ex(expected, font, "NOSTATE", 0, 0, 31, 0);
    textout_ex(expected, font, "FPS 59, Invinc 1, Level 7, Mouse X 3, Mouse Y 18", 0, 12, 63, 0);
    EXPECT_TRUE(SameBand(drawn, expected, 0));
    EXPECT_TRUE(SameBand(drawn, expected, 12));

    gameState = GameState::LEVEL_EDITOR;
    DrawDebugOverlay(drawn);
    textout_ex(expected, font, "STATE::LEVEL EDITOR", 0, 0, 31, 0);
    EXPECT_TRUE(SameBand(drawn, expected, 0));

    DrawDebugOverlay(nullptr);  // no target, nothing drawn
    destroy_bitmap(drawn);
    destroy_bitmap(expected);
    keepLives = false;
    shownFps = 0;
}

}  // namespace

// The shared screen helpers: the key latch, the panel and the notice line.
#include <gtest/gtest.h>

#include <algorithm>
#include <allegro.h>
#include <cstdlib>
#include <unistd.h>

#include "base/resources.h"
#include "base/seam.h"
#include "screens/text.h"

namespace {

class ScreenHelpers : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!system_driver)
            install_allegro(SYSTEM_NONE, &errno, atexit);
        set_color_depth(16);
    }
    void TearDown() override
    {
        for (int k = 0; k < KEY_MAX; k++)
            key[k] = 0;
    }
};

TEST_F(ScreenHelpers, LatchActsOncePerPressOfTheWholeSet)
{
    KeyLatch latch{KEY_UP, KEY_DOWN};
    EXPECT_FALSE(latch.Pressed());
    key[KEY_UP] = 1;
    EXPECT_TRUE(latch.Pressed());
    EXPECT_FALSE(latch.Pressed());  // still held
    key[KEY_DOWN] = 1;
    EXPECT_FALSE(latch.Pressed());  // a second key while the first is held
    key[KEY_UP] = 0;
    EXPECT_FALSE(latch.Pressed());  // one of the set is still down
    key[KEY_DOWN] = 0;
    EXPECT_FALSE(latch.Pressed());
    EXPECT_FALSE(latch.latched);
    key[KEY_DOWN] = 1;
    EXPECT_TRUE(latch.Pressed());
}

TEST_F(ScreenHelpers, LatchIgnoresKeysOutsideItsSet)
{
    KeyLatch latch{KEY_ENTER};
    key[KEY_SPACE] = 1;
    EXPECT_FALSE(latch.Pressed());
    key[KEY_ENTER] = 1;
    EXPECT_TRUE(latch.Pressed());
}

TEST_F(ScreenHelpers, PanelOutlinesOutsideAndFillsAtAQuarter)
{
    BITMAP *b = create_bitmap(40, 40);
    ASSERT_NE(b, nullptr);
    clear_to_color(b, makecol(0, 0, 0));
    DrawPanel(b, 10, 10, 20, 20, makecol(255, 255, 255), makecol(255, 255, 255));
    EXPECT_EQ(getpixel(b, 9, 9), makecol(255, 255, 255));
    EXPECT_EQ(getpixel(b, 21, 15), makecol(255, 255, 255));
    EXPECT_EQ(getpixel(b, 8, 8), makecol(0, 0, 0));
    int inside = getpixel(b, 15, 15);
    EXPECT_NEAR(getr(inside), 64, 8);
    EXPECT_NEAR(getg(inside), 64, 8);
    // Later drawing is solid again.
    putpixel(b, 0, 0, makecol(255, 0, 0));
    EXPECT_EQ(getpixel(b, 0, 0), makecol(255, 0, 0));
    DrawPanel(nullptr, 0, 0, 1, 1, 0, 0);  // no target: nothing happens
    destroy_bitmap(b);
}

TEST_F(ScreenHelpers, NoticeLineWithoutItsFontOrTargetDrawsNothing)
{
    char old[1024];
    ASSERT_NE(getcwd(old, sizeof old), nullptr);
    ASSERT_EQ(chdir("/"), 0);  // no Fonts folder here
    skipWaits = true;
    BITMAP *b = create_bitmap(100, 100);
    clear_bitmap(b);
    ShowMessage("L O A D I N G", 500, 32, makecol(255, 255, 255), b);
    int inked = 0;
    for (int y = 0; y < 100; y++)
        for (int x = 0; x < 100; x++)
            inked += getpixel(b, x, y) != 0;
    EXPECT_EQ(inked, 0);
    ASSERT_EQ(chdir(old), 0);
    ShowMessage("NOW", 0, 32, makecol(255, 255, 255), nullptr);
    destroy_bitmap(b);
}

TEST_F(ScreenHelpers, NoticeLineIsCentredBelowTheMiddle)
{
    char old[1024];
    ASSERT_NE(getcwd(old, sizeof old), nullptr);
    ASSERT_EQ(chdir(DELVORN_GAME_DIR), 0);
    skipWaits = true;
    BITMAP *b = create_bitmap(800, 600);
    clear_bitmap(b);
    ShowMessage("LOADING LEVEL 3", 1000, 32, makecol(255, 255, 255), b);
    // Centred on the picture, x = 400 and y = 308, with or without a
    // graphics mode: its ink starts below y 308 and spreads evenly about 400.
    int minY = 600, minX = 800, maxX = -1, inked = 0;
    for (int y = 0; y < 600; y++)
        for (int x = 0; x < 800; x++)
            if (getpixel(b, x, y) != 0) {
                inked++;
                minY = std::min(minY, y);
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
            }
    if (access("Fonts/DigitalDream.ttf", R_OK) == 0) {
        EXPECT_GT(inked, 0);
        EXPECT_GE(minY, 308);
        EXPECT_LT(minY, 308 + 32);
        EXPECT_NEAR((minX + maxX) / 2, 400, 8);
    }
    destroy_bitmap(b);
    ASSERT_EQ(chdir(old), 0);
}

TEST_F(ScreenHelpers, DarkenedBackdropWithoutAWindowEndsAtTheLastStep)
{
    BITMAP *savedBack = backBuffer, *savedDrop = backdropBitmap;
    backBuffer = create_bitmap(800, 600);
    backdropBitmap = create_bitmap(800, 600);
    clear_to_color(backBuffer, makecol(255, 255, 255));
    clear_bitmap(backdropBitmap);
    DimBackdrop(false);
    int c = getpixel(backdropBitmap, 400, 300);
    EXPECT_NEAR(getr(c), 96, 10);
    EXPECT_NEAR(getb(c), 96, 10);
    destroy_bitmap(backBuffer);
    destroy_bitmap(backdropBitmap);
    backBuffer = savedBack;
    backdropBitmap = savedDrop;
}

}  // namespace

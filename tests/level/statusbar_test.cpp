// The status bar: five labelled values at fixed places, in black, and
// nothing at all without its font.
#include <gtest/gtest.h>

#include <fstream>

#include "base/resources.h"
#include "gameplay/figures.h"
#include "level/statusbar.h"
#include "map/levelmap.h"
#include "tests/support/level_support.h"

namespace {

// The game's font when it has been built, else any TrueType font at hand:
// what is checked is the text and where it goes, not the letters' shapes.
ALFONT_FONT *AnyFont()
{
    const char *candidates[] = {DELVORN_GAME_DIR "/Fonts/DigitalDream.ttf",
                                "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"};
    for (const char *path : candidates)
        if (std::ifstream(path).good())
            if (ALFONT_FONT *f = alfont_load_font(path))
                return f;
    return nullptr;
}

bool SameBitmaps(BITMAP *a, BITMAP *b)
{
    for (int y = 0; y < a->h; y++)
        for (int x = 0; x < a->w; x++)
            if (getpixel(a, x, y) != getpixel(b, x, y))
                return false;
    return true;
}

}  // namespace

TEST(StatusBar, DrawsNothingWithoutItsFont)
{
    StartHeadlessAllegro();
    backBuffer = create_bitmap_ex(16, 800, 600);
    clear_to_color(backBuffer, 0xffff);
    mainFont = nullptr;
    DrawStatusBar();
    for (int y = 540; y < 600; y += 3)
        for (int x = 0; x < 800; x += 3)
            ASSERT_EQ(0xffff, getpixel(backBuffer, x, y));
    destroy_bitmap(backBuffer);
    backBuffer = nullptr;
}

TEST(StatusBar, FiveLabelledValuesInBlackAtTheirPlaces)
{
    StartHeadlessAllegro();
    alfont_init();
    ALFONT_FONT *font = AnyFont();
    if (!font)
        GTEST_SKIP() << "no TrueType font to draw with";
    mainFont = font;
    lives = 2;
    currentLevel = 13;
    itemsLeft = 0;
    bombCapacity = 12;
    score = -40;
    backBuffer = create_bitmap_ex(16, 800, 600);
    clear_to_color(backBuffer, 0xffff);
    DrawStatusBar();

    BITMAP *expected = create_bitmap_ex(16, 800, 600);
    clear_to_color(expected, 0xffff);
    alfont_text_mode(-1);
    alfont_set_font_size(font, 14);
    alfont_textout_aa(expected, font, "LIVES: 2", 14, 572, 0);
    alfont_textout_aa(expected, font, "LEVEL: 13", 139, 572, 0);
    alfont_textout_aa(expected, font, "ITEMS: 0", 261, 572, 0);
    alfont_textout_aa(expected, font, "BOMBS: 12", 384, 572, 0);
    alfont_textout_aa(expected, font, "SCORE: -40", 582, 572, 0);
    EXPECT_TRUE(SameBitmaps(expected, backBuffer));

    // Black ink lands to the right of each field's x and below y 572 only.
    int black = 0, above = 0;
    for (int y = 0; y < 572; y++)
        for (int x = 0; x < 800; x++)
            above += getpixel(backBuffer, x, y) != 0xffff;
    EXPECT_EQ(0, above);
    for (int y = 572; y < 600; y++)
        for (int x = 0; x < 800; x++)
            black += getpixel(backBuffer, x, y) == 0;
    EXPECT_GT(black, 50);
    for (int y = 560; y < 600; y++)
        for (int x = 0; x < 14; x++)
            EXPECT_EQ(0xffff, getpixel(backBuffer, x, y));

    destroy_bitmap(expected);
    destroy_bitmap(backBuffer);
    backBuffer = nullptr;
    mainFont = nullptr;
    alfont_destroy_font(font);
}

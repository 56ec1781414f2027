// Fades and text drawn straight onto the visible screen, as the title
// sequence and the pause-type screens do. Needs a display (DISPLAY).
#include <gtest/gtest.h>

#include <cstdlib>

#include "blend/blend.h"
#include "platform/alfont/alfont.h"

namespace {

class Screen : public ::testing::Test {
protected:
    static bool ready;
    static void SetUpTestSuite()
    {
        if (!getenv("DISPLAY"))
            return;
        if (install_allegro(SYSTEM_AUTODETECT, &errno, atexit) != 0)
            return;
        set_color_depth(16);
        ready = set_gfx_mode(GFX_AUTODETECT_WINDOWED, 800, 600, 0, 0) == 0 && screen;
    }
    void SetUp() override
    {
        if (!getenv("DISPLAY"))
            GTEST_SKIP() << "no DISPLAY: screen drawing not tested";
        ASSERT_TRUE(ready) << allegro_error;
    }
};
bool Screen::ready = false;

TEST_F(Screen, FadesLandOnTheScreen)
{
    BITMAP *picture = create_bitmap(800, 600);
    clear_to_color(picture, makecol(255, 255, 255));
    putpixel(picture, 5, 5, makecol(0, 0, 0));
    for (BlendPath path : {BLEND_SCALAR, BLEND_AUTO}) {
        SetBlendPath(path);
        clear_to_color(screen, makecol(0, 255, 0));
        Fade(picture, screen, 0, 0, 2, makecol(0, 0, 0), 0);  // ends at 96: f5 = 12
        EXPECT_EQ(getpixel(screen, 400, 300),
                  makecol(31 * 12 / 32 * 255 / 31, 63 * 12 / 32 * 255 / 63, 31 * 12 / 32 * 255 / 31))
            << path;
        EXPECT_EQ(getpixel(screen, 5, 5), 0);
        Fade(picture, screen, 0, 0, 0, makecol(0, 0, 0), 0);  // ends at 254: the picture
        EXPECT_EQ(getpixel(screen, 799, 599), makecol(255, 255, 255));
    }
    SetBlendPath(BLEND_AUTO);
    destroy_bitmap(picture);
}

TEST_F(Screen, TextLandsOnTheScreen)
{
    ALFONT_FONT *f = alfont_load_font(DELVORN_GAME_DIR "/Fonts/DigitalDream.ttf");
    ASSERT_NE(f, nullptr);
    alfont_text_mode(-1);
    alfont_set_font_size(f, 32);
    int colour = makecol(231, 39, 39);
    for (bool aa : {false, true}) {
        clear_to_color(screen, 0);
        if (aa)
            alfont_textout_aa(screen, f, "L O A D I N G", 200, 300, colour);
        else
            alfont_textout_centre(screen, f, "L O A D I N G", 400, 308, colour);
        int hits = 0;
        for (int y = 290; y < 350; y++)
            for (int x = 150; x < 650; x++)
                hits += getpixel(screen, x, y) == colour;
        EXPECT_GT(hits, 50) << aa;
    }
    alfont_destroy_font(f);
}

}  // namespace

// TrueType text on memory bitmaps: placement, colour, centring, background
// mode, clipping, blending, and the calls a missing font must survive.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "platform/alfont/alfont.h"

namespace {

const char *const fontPath = DELVORN_GAME_DIR "/Fonts/DigitalDream.ttf";

struct Box {
    int x1 = 1 << 30, y1 = 1 << 30, x2 = -1, y2 = -1;
    int count = 0;
    bool Empty() const { return count == 0; }
};

// Where the pixels that differ from the background lie.
Box Inked(BITMAP *b, int background)
{
    Box box;
    for (int y = 0; y < b->h; y++)
        for (int x = 0; x < b->w; x++)
            if (getpixel(b, x, y) != background) {
                box.x1 = std::min(box.x1, x);
                box.y1 = std::min(box.y1, y);
                box.x2 = std::max(box.x2, x);
                box.y2 = std::max(box.y2, y);
                box.count++;
            }
    return box;
}

int CountColour(BITMAP *b, int colour)
{
    int n = 0;
    for (int y = 0; y < b->h; y++)
        for (int x = 0; x < b->w; x++)
            n += getpixel(b, x, y) == colour;
    return n;
}

class Text : public ::testing::Test {
protected:
    ALFONT_FONT *font = nullptr;
    void SetUp() override
    {
        static bool allegro = install_allegro(SYSTEM_NONE, &errno, atexit) == 0;
        ASSERT_TRUE(allegro);
        ASSERT_EQ(alfont_init(), ALFONT_OK);
        font = alfont_load_font(fontPath);
        ASSERT_NE(font, nullptr) << fontPath;
        alfont_text_mode(-1);
    }
    void TearDown() override { alfont_destroy_font(font); }
};

TEST_F(Text, GlyphsLandInTheirBoxInTheColourAsked)
{
    for (int depth : {8, 15, 16, 24, 32}) {
        BITMAP *b = create_bitmap_ex(depth, 200, 80);
        int background = makecol_depth(depth, 0, 0, 64);
        int colour = depth == 8 ? 15 : makecol_depth(depth, 250, 200, 10);
        clear_to_color(b, background);
        alfont_set_font_size(font, 24);
        alfont_textout(b, font, "HEH", 30, 20, colour);
        Box box = Inked(b, background);
        ASSERT_FALSE(box.Empty()) << depth;
        EXPECT_GE(box.x1, 30) << depth;
        EXPECT_LT(box.x2, 30 + alfont_text_length(font, "HEH")) << depth;
        EXPECT_GE(box.y1, 20) << depth;
        EXPECT_LT(box.y2, 20 + 24) << depth;
        // Plain text is drawn in exactly the colour, nothing in between.
        EXPECT_EQ(CountColour(b, colour), box.count) << depth;
        destroy_bitmap(b);
    }
}

TEST_F(Text, TopOfTheTextIsY)
{
    BITMAP *b = create_bitmap_ex(16, 300, 120);
    for (int size : {12, 36}) {
        clear_to_color(b, 0);
        alfont_set_font_size(font, size);
        alfont_textout(b, font, "EXIT", 10, 40, 0xFFFF);
        Box box = Inked(b, 0);
        // Capitals start just below y: within the line's upper part.
        EXPECT_GE(box.y1, 40) << size;
        EXPECT_LT(box.y1, 40 + size / 2) << size;
        EXPECT_GE(box.y2 - box.y1 + 1, size / 2) << size;  // and are of the size asked
        EXPECT_LE(box.y2 - box.y1 + 1, size) << size;
    }
    destroy_bitmap(b);
}

TEST_F(Text, SizesScaleTheText)
{
    alfont_set_font_size(font, 12);
    int small = alfont_text_length(font, "SCORE: 12345");
    EXPECT_EQ(alfont_get_font_height(font), 12);
    alfont_set_font_size(font, 36);
    int large = alfont_text_length(font, "SCORE: 12345");
    EXPECT_EQ(alfont_get_font_height(font), 36);
    EXPECT_GT(small, 0);
    EXPECT_NEAR((double)large / small, 3.0, 0.4);
    EXPECT_EQ(alfont_set_font_size(font, 0), ALFONT_ERROR);
    EXPECT_EQ(alfont_get_font_height(font), 36);
    EXPECT_EQ(alfont_text_length(font, ""), 0);
}

// Sizes are cached; going back to one must draw new glyphs at that size too.
TEST_F(Text, SwitchingSizesBackAndForthDrawsAlike)
{
    BITMAP *fresh = create_bitmap_ex(16, 200, 60);
    BITMAP *switched = create_bitmap_ex(16, 200, 60);
    clear_to_color(fresh, 0);
    clear_to_color(switched, 0);
    ALFONT_FONT *other = alfont_load_font(fontPath);
    ASSERT_NE(other, nullptr);
    alfont_set_font_size(other, 12);
    alfont_textout(fresh, other, "AZ", 10, 10, 0xFFFF);
    alfont_textout_aa(fresh, other, "AZ", 10, 30, 0xFFFF);
    alfont_destroy_font(other);

    alfont_set_font_size(font, 12);
    alfont_text_length(font, "A");
    alfont_set_font_size(font, 36);
    alfont_textout(switched, font, "B", 100, 0, 0xFFFF);
    clear_to_color(switched, 0);
    alfont_set_font_size(font, 12);
    alfont_textout(switched, font, "AZ", 10, 10, 0xFFFF);  // Z is new at 12
    alfont_textout_aa(switched, font, "AZ", 10, 30, 0xFFFF);
    for (int y = 0; y < 60; y++)
        for (int x = 0; x < 200; x++)
            ASSERT_EQ(getpixel(switched, x, y), getpixel(fresh, x, y)) << x << "," << y;
    destroy_bitmap(fresh);
    destroy_bitmap(switched);
}

TEST_F(Text, CentredTextIsCentredOnX)
{
    BITMAP *b = create_bitmap_ex(16, 400, 60);
    BITMAP *left = create_bitmap_ex(16, 400, 60);
    alfont_set_font_size(font, 18);
    const char *line = "Game Options";
    int w = alfont_text_length(font, line);
    clear_to_color(b, 0);
    clear_to_color(left, 0);
    alfont_textout_centre(b, font, line, 200, 10, 0xFFFF);
    alfont_textout(left, font, line, 200 - w / 2, 10, 0xFFFF);
    Box box = Inked(b, 0);
    EXPECT_NEAR((box.x1 + box.x2) / 2.0, 200.0, 3.0);
    for (int y = 0; y < 60; y++)
        for (int x = 0; x < 400; x++)
            ASSERT_EQ(getpixel(b, x, y), getpixel(left, x, y));
    destroy_bitmap(b);
    destroy_bitmap(left);
}

TEST_F(Text, TextModeFillsTheBoxOrLeavesTheBackground)
{
    BITMAP *b = create_bitmap_ex(32, 200, 60);
    alfont_set_font_size(font, 20);
    int w = alfont_text_length(font, "MAP");
    clear_to_color(b, 0x112233);
    alfont_text_mode(0x445566);
    alfont_textout(b, font, "MAP", 10, 10, 0xFFFFFF);
    EXPECT_EQ(alfont_text_mode(-1), 0x445566);
    EXPECT_EQ(getpixel(b, 10, 10), 0x445566);
    EXPECT_EQ(getpixel(b, 10 + w - 1, 10 + 19), 0x445566);
    EXPECT_EQ(getpixel(b, 10 + w, 10), 0x112233);
    EXPECT_EQ(getpixel(b, 9, 10), 0x112233);

    clear_to_color(b, 0x112233);
    alfont_textout(b, font, "MAP", 10, 10, 0xFFFFFF);
    alfont_textout_aa(b, font, "MAP", 10, 30, 0xFFFFFF);
    int other = 0;
    for (int y = 0; y < 60; y++)
        for (int x = 0; x < 200; x++) {
            int p = getpixel(b, x, y);
            other += p != 0x112233 && p != 0xFFFFFF && getr32(p) < 0x11;
        }
    EXPECT_EQ(other, 0);  // nothing darker than the background: no box behind
    destroy_bitmap(b);
}

TEST_F(Text, AntiAliasedEdgesMixWithWhatLiesBeneath)
{
    BITMAP *b = create_bitmap_ex(32, 200, 60);
    clear_to_color(b, makecol32(200, 0, 0));
    alfont_set_font_size(font, 14);
    alfont_textout_aa(b, font, "LIVES: 3", 5, 5, makecol32(0, 0, 200));
    int full = 0, mixed = 0;
    for (int y = 0; y < 60; y++)
        for (int x = 0; x < 200; x++) {
            int p = getpixel(b, x, y);
            if (p == makecol32(0, 0, 200))
                full++;
            else if (p != makecol32(200, 0, 0)) {
                mixed++;
                // A mix of the two and nothing else: red falls as blue rises.
                EXPECT_EQ(getg32(p), 0);
                EXPECT_NEAR(getr32(p) + getb32(p), 200, 2);
            }
        }
    EXPECT_GT(full, 0);
    EXPECT_GT(mixed, 0);
    destroy_bitmap(b);
}

TEST_F(Text, DrawingStaysInsideTheClipRectangle)
{
    BITMAP *b = create_bitmap_ex(16, 100, 50);
    alfont_set_font_size(font, 30);
    for (bool aa : {false, true}) {
        clear_to_color(b, 0);
        set_clip_rect(b, 20, 10, 59, 29);
        auto draw = aa ? alfont_textout_aa : alfont_textout;
        draw(b, font, "WWWWWWWW", 0, 0, 0xFFFF);
        draw(b, font, "XX", -30, -20, 0xFFFF);  // partly off the bitmap
        draw(b, font, "XX", 90, 40, 0xFFFF);
        draw(b, font, "XX", -500, -500, 0xFFFF);  // wholly off
        set_clip_rect(b, 0, 0, 99, 49);
        Box box = Inked(b, 0);
        ASSERT_FALSE(box.Empty());
        EXPECT_GE(box.x1, 20);
        EXPECT_LE(box.x2, 59);
        EXPECT_GE(box.y1, 10);
        EXPECT_LE(box.y2, 29);

        // Without a clip rectangle the bitmap's own edges still hold.
        clear_to_color(b, 0);
        set_clip_state(b, 0);
        draw(b, font, "XX", 85, 40, 0xFFFF);
        draw(b, font, "XX", -10, -10, 0xFFFF);
        set_clip_state(b, 1);
        EXPECT_FALSE(Inked(b, 0).Empty());
    }
    destroy_bitmap(b);
}

TEST(TextWithoutFont, MissingOrBrokenFilesGiveNullAndNullFontsDoNothing)
{
    static bool allegro = install_allegro(SYSTEM_NONE, &errno, atexit) == 0;
    ASSERT_TRUE(allegro);
    EXPECT_EQ(alfont_load_font("/nonexistent/Fonts/DigitalDream.ttf"), nullptr);
    EXPECT_EQ(alfont_load_font(nullptr), nullptr);
    std::string junk = ::testing::TempDir() + "not_a_font.ttf";
    FILE *f = fopen(junk.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    fputs("this is not a font at all", f);
    fclose(f);
    EXPECT_EQ(alfont_load_font(junk.c_str()), nullptr);
    f = fopen(junk.c_str(), "wb");
    fclose(f);
    EXPECT_EQ(alfont_load_font(junk.c_str()), nullptr);  // empty
    remove(junk.c_str());

    BITMAP *b = create_bitmap_ex(16, 50, 50);
    clear_to_color(b, 7);
    alfont_destroy_font(nullptr);
    EXPECT_EQ(alfont_set_font_size(nullptr, 12), ALFONT_ERROR);
    EXPECT_EQ(alfont_get_font_height(nullptr), 0);
    EXPECT_EQ(alfont_text_length(nullptr, "ABC"), 0);
    alfont_textout(b, nullptr, "ABC", 0, 0, 1);
    alfont_textout_centre(b, nullptr, "ABC", 25, 0, 1);
    alfont_textout_aa(b, nullptr, "ABC", 0, 0, 1);
    EXPECT_TRUE(Inked(b, 7).Empty());

    // A null bitmap or text is ignored too.
    ALFONT_FONT *font = alfont_load_font(fontPath);
    ASSERT_NE(font, nullptr);
    alfont_textout(nullptr, font, "ABC", 0, 0, 1);
    alfont_textout(b, font, nullptr, 0, 0, 1);
    EXPECT_EQ(alfont_text_length(font, nullptr), 0);
    // Shutting down with a font still loaded keeps it usable until freed.
    alfont_exit();
    alfont_set_font_size(font, 20);
    alfont_textout(b, font, "A", 5, 5, 1);
    EXPECT_FALSE(Inked(b, 7).Empty());
    alfont_destroy_font(font);
    EXPECT_EQ(alfont_init(), ALFONT_OK);
    destroy_bitmap(b);
}

}  // namespace

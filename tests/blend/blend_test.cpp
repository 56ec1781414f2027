// Blending a picture with a colour: shortcuts, clipping, exact pixels, and
// every row routine against the per-channel formula.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "blend/blend.h"

namespace {

void NeedAllegro()
{
    static bool done = false;
    if (!done)
        done = install_allegro(SYSTEM_NONE, &errno, atexit) == 0;
    ASSERT_TRUE(done);
}

uint32_t Pixel(BITMAP *b, int x, int y)
{
    if (bitmap_color_depth(b) == 32)
        return ((uint32_t *)b->line[y])[x];
    return ((uint16_t *)b->line[y])[x];
}

void SetPixel(BITMAP *b, int x, int y, uint32_t v)
{
    if (bitmap_color_depth(b) == 32)
        ((uint32_t *)b->line[y])[x] = v;
    else
        ((uint16_t *)b->line[y])[x] = (uint16_t)v;
}

void FillRandom(BITMAP *b, std::mt19937 &rng)
{
    for (int y = 0; y < b->h; y++)
        for (int x = 0; x < b->w; x++)
            SetPixel(b, x, y, rng());  // junk in unused bits on purpose
}

// The blend written out channel by channel, as plainly as possible.
uint32_t Expected(int depth, uint32_t s, uint32_t c, int factor)
{
    struct Channel {
        int shift, bits;
    };
    const Channel c32[] = {{16, 8}, {8, 8}, {0, 8}};
    const Channel c16[] = {{11, 5}, {5, 6}, {0, 5}};
    const Channel c15[] = {{10, 5}, {5, 5}, {0, 5}};
    const Channel *ch = depth == 32 ? c32 : depth == 16 ? c16 : c15;
    int f = depth == 32 ? factor : (factor + 7) >> 3;
    int scale = depth == 32 ? 256 : 32;
    uint32_t out = 0;
    for (int k = 0; k < 3; k++) {
        uint32_t mask = (1u << ch[k].bits) - 1;
        uint32_t sv = (s >> ch[k].shift) & mask, cv = (c >> ch[k].shift) & mask;
        out |= (sv * f / scale + cv * (scale - f) / scale) << ch[k].shift;
    }
    return out;
}

struct Bitmaps {
    BITMAP *src, *dst;
    Bitmaps(int depth, int sw, int sh, int dw, int dh)
        : src(create_bitmap_ex(depth, sw, sh)), dst(create_bitmap_ex(depth, dw, dh))
    {
    }
    ~Bitmaps()
    {
        destroy_bitmap(src);
        destroy_bitmap(dst);
    }
};

class Blend : public ::testing::Test {
protected:
    void SetUp() override { NeedAllegro(); }
    void TearDown() override { SetBlendPath(BLEND_AUTO); }
};

TEST_F(Blend, FullFactorCopiesAndZeroFactorFills)
{
    std::mt19937 rng(1);
    for (int depth : {15, 16, 32}) {
        Bitmaps b(depth, 9, 5, 9, 5);
        FillRandom(b.src, rng);
        uint32_t colour = depth == 32 ? 0x123456 : 0x1234;
        for (int factor : {255, 300}) {
            clear_to_color(b.dst, 0);
            BlendToColour(b.src, b.dst, 0, 0, colour, factor);
            for (int y = 0; y < 5; y++)
                for (int x = 0; x < 9; x++)
                    ASSERT_EQ(Pixel(b.dst, x, y), Pixel(b.src, x, y)) << depth << " " << factor;
        }
        for (int factor : {0, -5}) {
            clear_to_color(b.dst, 0);
            BlendToColour(b.src, b.dst, 0, 0, colour, factor);
            for (int y = 0; y < 5; y++)
                for (int x = 0; x < 9; x++)
                    ASSERT_EQ(Pixel(b.dst, x, y), colour) << depth << " " << factor;
        }
    }
}

TEST_F(Blend, KnownPixels)
{
    Bitmaps b32(32, 1, 1, 1, 1);
    SetPixel(b32.src, 0, 0, 0xFFFFFF);
    BlendToColour(b32.src, b32.dst, 0, 0, 0, 128);
    EXPECT_EQ(Pixel(b32.dst, 0, 0), 0x7F7F7Fu);

    Bitmaps b16(16, 1, 1, 1, 1);
    SetPixel(b16.src, 0, 0, 0xFFFF);
    BlendToColour(b16.src, b16.dst, 0, 0, 0, 128);
    EXPECT_EQ(Pixel(b16.dst, 0, 0), 0x7BEFu);

    // The unused top bit of a 15-bit source does not leak into the result.
    Bitmaps b15(15, 1, 1, 1, 1);
    SetPixel(b15.src, 0, 0, 0xFFFF);
    BlendToColour(b15.src, b15.dst, 0, 0, 0, 128);
    EXPECT_EQ(Pixel(b15.dst, 0, 0), 0x3DEFu);
}

TEST_F(Blend, ClipsAgainstTheDestinationEdges)
{
    for (int factor : {128, 255, 0}) {
        Bitmaps b(16, 20, 4, 800, 10);
        for (int y = 0; y < 4; y++)
            for (int x = 0; x < 20; x++)
                SetPixel(b.src, x, y, (uint32_t)(x + 1) * 0x0841);
        clear_to_color(b.dst, 0xFFFF);
        BlendToColour(b.src, b.dst, -10, 0, 0x0000, factor);
        for (int x = 0; x < 10; x++)
            EXPECT_EQ(Pixel(b.dst, x, 1), Expected(16, Pixel(b.src, x + 10, 1), 0, factor)) << x;
        EXPECT_EQ(Pixel(b.dst, 10, 1), 0xFFFFu);
        EXPECT_EQ(Pixel(b.dst, 0, 4), 0xFFFFu);

        // Off the right and bottom edges only what fits is drawn.
        clear_to_color(b.dst, 0xFFFF);
        BlendToColour(b.src, b.dst, 795, 8, 0x0000, factor);
        EXPECT_EQ(Pixel(b.dst, 799, 9), Expected(16, Pixel(b.src, 4, 1), 0, factor));
        EXPECT_EQ(Pixel(b.dst, 794, 9), 0xFFFFu);
        EXPECT_EQ(Pixel(b.dst, 799, 7), 0xFFFFu);

        // Entirely outside: nothing, and no stray writes.
        clear_to_color(b.dst, 0xFFFF);
        BlendToColour(b.src, b.dst, -20, 0, 0, factor);
        BlendToColour(b.src, b.dst, 800, 0, 0, factor);
        BlendToColour(b.src, b.dst, 0, -4, 0, factor);
        BlendToColour(b.src, b.dst, 0, 10, 0, factor);
        for (int y = 0; y < 10; y++)
            for (int x = 0; x < 800; x++)
                ASSERT_EQ(Pixel(b.dst, x, y), 0xFFFFu);
    }
}

TEST_F(Blend, UnsupportedOrMismatchedDepthsDrawNothing)
{
    const int pairs[][2] = {{16, 32}, {32, 16}, {15, 16}, {8, 8}, {24, 24}};
    for (const auto &p : pairs) {
        BITMAP *src = create_bitmap_ex(p[0], 4, 4);
        BITMAP *dst = create_bitmap_ex(p[1], 4, 4);
        clear_to_color(src, 5);
        for (int factor : {255, 128, 0}) {
            clear_to_color(dst, 7);
            BlendToColour(src, dst, 0, 0, 9, factor);
            EXPECT_EQ(getpixel(dst, 1, 1), 7) << p[0] << "->" << p[1] << " at " << factor;
        }
        destroy_bitmap(src);
        destroy_bitmap(dst);
    }
    BITMAP *dst = create_bitmap_ex(16, 4, 4);
    BlendToColour(nullptr, dst, 0, 0, 0, 128);
    BlendToColour(dst, nullptr, 0, 0, 0, 128);
    destroy_bitmap(dst);
}

// Every row routine gives the formula's pixels, at every factor, for widths
// that exercise the vector bodies and their tails, and writes nothing else.
TEST_F(Blend, EveryPathMatchesTheFormula)
{
    std::vector<BlendPath> paths;
    for (BlendPath p : {BLEND_SCALAR, BLEND_SSE2, BLEND_AVX2})
        if (SetBlendPath(p) == p)
            paths.push_back(p);
    std::mt19937 rng(7);
    const int widths[] = {1, 2, 3, 7, 8, 9, 15, 16, 17, 31, 33, 801};
    for (int depth : {15, 16, 32}) {
        uint32_t colourMask = depth == 32 ? 0xFFFFFF : depth == 16 ? 0xFFFF : 0x7FFF;
        for (int w : widths) {
            Bitmaps b(depth, w, 2, w + 4, 4);
            FillRandom(b.src, rng);
            uint32_t colour = rng() & colourMask;
            uint32_t border = depth == 32 ? 0xABCDEF : 0x5A5A;
            for (BlendPath path : paths) {
                SetBlendPath(path);
                for (int factor = -1; factor <= 256; factor++) {
                    clear_to_color(b.dst, border);
                    BlendToColour(b.src, b.dst, 1, 1, colour, factor);
                    for (int y = 0; y < 4; y++)
                        for (int x = 0; x < w + 4; x++) {
                            bool inside = x >= 1 && x <= w && y >= 1 && y <= 2;
                            uint32_t want = border;
                            if (inside)
                                want = factor >= 255 ? Pixel(b.src, x - 1, y - 1)
                                       : factor <= 0
                                           ? colour
                                           : Expected(depth, Pixel(b.src, x - 1, y - 1), colour, factor);
                            ASSERT_EQ(Pixel(b.dst, x, y), want)
                                << "path " << path << " depth " << depth << " width " << w << " factor "
                                << factor << " at " << x << "," << y;
                        }
                }
            }
        }
    }
}

TEST_F(Blend, PathChoiceFallsBackToWhatTheProcessorHas)
{
    EXPECT_EQ(SetBlendPath(BLEND_SCALAR), BLEND_SCALAR);
    EXPECT_EQ(ActiveBlendPath(), BLEND_SCALAR);
    BlendPath best = SetBlendPath(BLEND_AUTO);
    EXPECT_NE(best, BLEND_AUTO);
    BlendPath avx = SetBlendPath(BLEND_AVX2);
    EXPECT_TRUE(avx == BLEND_AVX2 || avx == best);
}

// Each mode ends on its last factor; unknown modes draw nothing.
TEST_F(Blend, FadeEndsOnTheModesLastStep)
{
    std::mt19937 rng(3);
    Bitmaps b(32, 16, 3, 16, 3);
    FillRandom(b.src, rng);
    const int lastFactor[] = {254, 1, 96, 127};
    for (int mode = 0; mode < 4; mode++) {
        clear_to_color(b.dst, 0);
        Fade(b.src, b.dst, 0, 0, mode, 0x102030, 0);
        for (int x = 0; x < 16; x++)
            ASSERT_EQ(Pixel(b.dst, x, 2), Expected(32, Pixel(b.src, x, 2), 0x102030, lastFactor[mode]))
                << mode;
    }
    for (int mode : {-1, 4}) {
        clear_to_color(b.dst, 0x445566);
        Fade(b.src, b.dst, 0, 0, mode, 0, 0);
        EXPECT_EQ(Pixel(b.dst, 3, 1), 0x445566u);
    }
}

}  // namespace

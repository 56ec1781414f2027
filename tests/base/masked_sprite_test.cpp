// DrawMaskedSprite must leave exactly what draw_sprite leaves: every depth,
// odd widths, sprites hanging over each edge, a clipping rectangle, and
// the bitmaps it hands back to draw_sprite. FillPicture and CopyPicture
// likewise against clear_to_color and blit.
#include <allegro.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <random>

#include "base/masked_sprite.h"

namespace {

void StartAllegro()
{
    static bool started = false;
    if (!started)
        install_allegro(SYSTEM_NONE, &errno, atexit);
    started = true;
}

// Random pixels, about a third of them the mask colour.
BITMAP *Noise(int depth, int w, int h, unsigned seed)
{
    BITMAP *b = create_bitmap_ex(depth, w, h);
    std::mt19937 rng(seed);
    int mask = bitmap_mask_color(b);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++)
            putpixel(b, x, y,
                     rng() % 3 == 0 ? mask : makecol_depth(depth, rng() & 255, rng() & 255, rng() & 255));
    return b;
}

// Draws the sprite both ways onto equal targets and counts differing pixels.
int Mismatches(int spriteDepth, int targetDepth, int w, int h, int x, int y, bool clipped, unsigned seed)
{
    BITMAP *sprite = Noise(spriteDepth, w, h, seed);
    BITMAP *expected = Noise(targetDepth, 61, 47, seed + 1);
    BITMAP *actual = create_bitmap_ex(targetDepth, 61, 47);
    blit(expected, actual, 0, 0, 0, 0, 61, 47);
    if (clipped) {
        set_clip_rect(expected, 5, 7, 40, 30);
        set_clip_rect(actual, 5, 7, 40, 30);
    }
    draw_sprite(expected, sprite, x, y);
    DrawMaskedSprite(actual, sprite, x, y);
    int wrong = 0;
    for (int py = 0; py < 47; py++)
        for (int px = 0; px < 61; px++)
            wrong += getpixel(expected, px, py) != getpixel(actual, px, py);
    destroy_bitmap(sprite);
    destroy_bitmap(expected);
    destroy_bitmap(actual);
    return wrong;
}

TEST(MaskedSprite, MatchesDrawSpriteAtEveryDepthAndPlacement)
{
    StartAllegro();
    const int places[][2] = {{10, 9}, {-7, 3}, {50, 40}, {-30, -30}, {3, -5}, {70, 10}, {0, 0}};
    unsigned seed = 1;
    for (int depth : {15, 16, 32})
        for (int size : {1, 7, 8, 9, 32, 45})
            for (const auto &p : places)
                for (bool clipped : {false, true})
                    EXPECT_EQ(Mismatches(depth, depth, size, size / 2 + 1, p[0], p[1], clipped, seed++), 0)
                        << "depth " << depth << " size " << size << " at " << p[0] << "," << p[1]
                        << (clipped ? " clipped" : "");
}

TEST(MaskedSprite, OtherBitmapsGoToDrawSprite)
{
    StartAllegro();
    EXPECT_EQ(Mismatches(24, 24, 20, 10, 3, 4, false, 7), 0);
    EXPECT_EQ(Mismatches(16, 32, 20, 10, 3, 4, true, 8), 0);
    DrawMaskedSprite(nullptr, nullptr, 0, 0);  // nothing to draw on: no crash
}

// Pixels that differ between two bitmaps of one size.
int Differences(BITMAP *a, BITMAP *b)
{
    int n = 0;
    for (int y = 0; y < a->h; y++)
        for (int x = 0; x < a->w; x++)
            n += getpixel(a, x, y) != getpixel(b, x, y);
    return n;
}

TEST(MaskedSprite, FillAndCopyMatchClearAndBlit)
{
    StartAllegro();
    unsigned seed = 100;
    for (int depth : {8, 15, 16, 32})
        for (bool clipped : {false, true}) {
            // Fill: the clipping rectangle only.
            BITMAP *expected = Noise(depth, 33, 21, seed), *actual = Noise(depth, 33, 21, seed++);
            if (clipped) {
                set_clip_rect(expected, 2, 3, 20, 15);
                set_clip_rect(actual, 2, 3, 20, 15);
            }
            clear_to_color(expected, 5);
            FillPicture(actual, 5);
            EXPECT_EQ(Differences(expected, actual), 0)
                << "fill, depth " << depth << (clipped ? " clipped" : "");
            destroy_bitmap(expected);
            destroy_bitmap(actual);

            // Copy: sources smaller and larger than the target, sizes past both.
            for (int size : {10, 33, 50}) {
                BITMAP *source = Noise(depth, size, size / 2 + 1, seed++);
                expected = Noise(depth, 33, 21, seed);
                actual = Noise(depth, 33, 21, seed++);
                if (clipped) {
                    set_clip_rect(expected, 0, 0, 25, 12);
                    set_clip_rect(actual, 0, 0, 25, 12);
                }
                blit(source, expected, 0, 0, 0, 0, 40, 30);
                CopyPicture(source, actual, 40, 30);
                EXPECT_EQ(Differences(expected, actual), 0)
                    << "copy, depth " << depth << " size " << size << (clipped ? " clipped" : "");
                destroy_bitmap(source);
                destroy_bitmap(expected);
                destroy_bitmap(actual);
            }
        }
    // A clipping rectangle that does not start at the corner goes to blit.
    BITMAP *source = Noise(16, 20, 20, 1), *expected = Noise(16, 20, 20, 2), *actual = Noise(16, 20, 20, 2);
    set_clip_rect(expected, 4, 5, 15, 15);
    set_clip_rect(actual, 4, 5, 15, 15);
    blit(source, expected, 0, 0, 0, 0, 20, 20);
    CopyPicture(source, actual, 20, 20);
    EXPECT_EQ(Differences(expected, actual), 0);
    destroy_bitmap(source);
    destroy_bitmap(expected);
    destroy_bitmap(actual);
}

}  // namespace

// The drawing kit under the generated art.
#include <gtest/gtest.h>
#include <cmath>

#include "content/art/canvas.h"

namespace {

int Count(const Canvas &c, uint32_t colour)
{
    int n = 0;
    for (uint32_t v : c.pic.pixels)
        n += v == colour;
    return n;
}

TEST(Canvas, ShapesCoverTheirArea)
{
    Canvas c(64, 64);
    c.Disc(32, 32, 10, 0x112233);
    EXPECT_NEAR(Count(c, 0x112233), 3.14159 * 100, 12);

    Canvas t(64, 64);
    t.Poly({{0, 0}, {40, 0}, {0, 40}}, 0x445566);  // right triangle, area 800
    EXPECT_NEAR(Count(t, 0x445566), 800, 25);

    Canvas r(16, 16);
    r.Rect(-4, -4, 8, 8, 0x778899);  // clipped at the edges
    EXPECT_EQ(Count(r, 0x778899), 16);

    Canvas e(40, 40);
    e.Ellipse(20, 20, 12, 4, 0x101010);
    EXPECT_NEAR(Count(e, 0x101010), 3.14159 * 48, 10);
}

TEST(Canvas, PolygonHonoursConcaveShapesAndHoles)
{
    // A "U": the notch between the arms stays clear.
    Canvas c(30, 30);
    c.Poly({{0, 0}, {10, 0}, {10, 20}, {20, 20}, {20, 0}, {30, 0}, {30, 30}, {0, 30}}, 0x202020);
    EXPECT_EQ(c.At(15, 10), kClear);
    EXPECT_EQ(c.At(5, 10), 0x202020u);
    EXPECT_EQ(c.At(15, 25), 0x202020u);
}

TEST(Canvas, OutlineRingsTheDrawingOnly)
{
    Canvas c(9, 9);
    c.Set(4, 4, 0xABCDEF);
    c.Outline(0x000001);
    EXPECT_EQ(Count(c, 0x000001), 4);  // the four side neighbours, not the corners
    EXPECT_EQ(c.At(4, 4), 0xABCDEFu);
    EXPECT_EQ(c.At(3, 3), kClear);
}

TEST(Canvas, BlitSkipsClearAndFlipMirrors)
{
    Canvas sprite(3, 1);
    sprite.Set(0, 0, 0x00FF00);
    Canvas c(4, 1, 0x000000);
    c.Blit(sprite.pic, 1, 0);
    EXPECT_EQ(c.At(1, 0), 0x00FF00u);
    EXPECT_EQ(c.At(2, 0), 0x000000u);  // the sprite's clear pixel left the ground alone
    c.FlipX();
    EXPECT_EQ(c.At(2, 0), 0x00FF00u);
}

TEST(Canvas, BlendOverClearKeepsHolesForFaintTouches)
{
    Canvas c(2, 1);
    c.Blend(0, 0, 0xFFFFFF, 0.2f);
    c.Blend(1, 0, 0xFFFFFF, 0.8f);
    EXPECT_EQ(c.At(0, 0), kClear);  // a faint glow must not plug a see-through hole
    EXPECT_EQ(c.At(1, 0), 0xFFFFFFu);
    Canvas d(1, 1, 0x000000);
    d.Blend(0, 0, 0xFFFFFF, 0.5f);
    EXPECT_NEAR((int)(d.At(0, 0) & 0xFF), 128, 1);
}

TEST(Canvas, ColourHelpersStayInRange)
{
    EXPECT_EQ(Rgb(300, -5, 128), 0xFF0080u);
    EXPECT_EQ(Mix(0x000000, 0xFFFFFF, 0.0f), 0x000000u);
    EXPECT_EQ(Mix(0x000000, 0xFFFFFF, 1.0f), 0xFFFFFFu);
    EXPECT_EQ(Shade(0x808080, 0.0f), 0x000000u);
    EXPECT_EQ(Shade(0x808080, 2.0f), 0xFFFFFFu);
    EXPECT_EQ(Shade(0x808080, 1.0f), 0x808080u);
    for (int i = 0; i < 1000; i++) {
        float n = Noise(i, i * 7, 3);
        ASSERT_GE(n, 0.0f);
        ASSERT_LT(n, 1.0f);
    }
    EXPECT_EQ(Noise(5, 9, 1), Noise(5, 9, 1));  // repeatable: the art is the same every build
}

TEST(Canvas, TextIsAsWideAsItSays)
{
    Canvas c(100, 20);
    c.Text(0, 0, "EXIT 7", 2, 0x00FF00);
    int right = -1;
    for (int y = 0; y < 20; y++)
        for (int x = 0; x < 100; x++)
            if (c.At(x, y) == 0x00FF00u)
                right = std::max(right, x);
    EXPECT_LT(right, Canvas::TextWidth("EXIT 7", 2));
    EXPECT_GE(right, Canvas::TextWidth("EXIT 7", 2) - 2 * 5);
    EXPECT_EQ(Canvas::TextWidth("", 3), 0);
}

}  // namespace

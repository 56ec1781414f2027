// effects.cpp: animated figures and small effect pictures: the bomb blast,
// the beating heart, the bubbling potion, the particle spark, the potion
// sign, the menu pointer and the high score trophy.
#include <algorithm>
#include <cmath>
#include "content/art/art.h"
#include "content/art/canvas.h"

Picture BlastFrame(int frame)
{
    // Grows for five frames, burns for three, then drifts apart as smoke.
    Canvas c(32, 32);
    if (frame < 8) {
        const float grow = std::min(1.0f, (frame + 1) / 5.0f);
        const float cool = frame < 5 ? 0.0f : (frame - 4) * 0.18f;
        const float r = 5 + grow * 10;
        for (int y = 0; y < 32; y++)
            for (int x = 0; x < 32; x++) {
                float dx = x + 0.5f - 16, dy = y + 0.5f - 16;
                float a = std::atan2(dy, dx);
                float edge = r * (0.8f + 0.2f * std::sin(a * 7 + frame * 0.9f));
                float d = std::hypot(dx, dy) / edge;
                if (d > 1)
                    continue;
                float heat = (1 - d) * (1 - cool);
                uint32_t col = heat > 0.7f    ? 0xFFFFD0
                               : heat > 0.45f ? 0xFFE040
                               : heat > 0.25f ? 0xFF8A18
                               : heat > 0.1f  ? 0xD83010
                                              : 0x802418;
                c.Set(x, y, col);
            }
        return c.pic;
    }
    // Smoke puffs that spread out, shrink and thin away.
    const float t = (frame - 8) / 4.0f;  // 0 .. 1
    for (int i = 0; i < 7; i++) {
        float a = i * 0.8976f + 0.3f;
        float dist = 5 + t * 8;
        float x = 16 + std::cos(a) * dist, y = 16 + std::sin(a) * dist - t * 4;
        float r = 5.5f - t * 3.5f;
        uint32_t col = Mix(0x6A5A50, 0x9A9A9A, t);
        c.Disc(x, y, r, Shade(col, 0.8f));
        c.Disc(x - 0.8f, y - 0.8f, r * 0.7f, col);
    }
    if (frame == 8)
        c.Disc(16, 16, 3, 0xD83010);
    return c.pic;
}

Picture HeartFrame(int frame)
{
    static const float beat[5] = {0.85f, 0.95f, 1.08f, 0.95f, 0.88f};
    Canvas c(32, 32);
    DrawHeart(c, 16, 15, beat[frame % 5]);
    return c.pic;
}

Picture PotionFrame(int frame)
{
    Canvas c(32, 32);
    DrawPotion(c);
    // Bubbles rising out of the neck, at different heights per frame.
    const float y0 = frame ? 1.5f : 3.5f;
    c.Disc(frame ? 18 : 14, y0, 1.5f, 0xF0C0FF);
    c.Disc(frame ? 13 : 19, y0 + (frame ? 3 : -2), 1.1f, 0xE090FF);
    if (frame)
        c.Set(16, 0, 0xFFFFFF);
    return c.pic;
}

Picture SparkPicture()
{
    Canvas c(9, 9);
    c.Line(4.5f, 0, 4.5f, 9, 0xFFD040);
    c.Line(0, 4.5f, 9, 4.5f, 0xFFD040);
    c.Line(2, 2, 7, 7, 0xFF9020);
    c.Line(7, 2, 2, 7, 0xFF9020);
    c.Disc(4.5f, 4.5f, 1.6f, 0xFFFFFF);
    return c.pic;
}

Picture PotionSigil()
{
    // A glowing rune ring with a skull: turned by the game while enemies flee.
    const int S = 56;
    Canvas c(S, S);
    const float m = S / 2.0f;
    c.Ring(m, m, 27, 4, 0x7020B0);
    c.Ring(m, m, 26, 2, 0xD080FF);
    c.Ring(m, m, 20, 1.2f, 0xB060F0);
    for (int i = 0; i < 8; i++) {
        float a = i * 0.7854f;
        float x = m + std::cos(a) * 23.3f, y = m + std::sin(a) * 23.3f;
        c.Disc(x, y, 2.2f, i % 2 ? 0xFFE060 : 0x60FFD0);
    }
    Points star;
    for (int i = 0; i < 5; i++) {
        float a = -1.5708f + i * 2 * 2.5133f;
        star.push_back({m + std::cos(a) * 19, m + std::sin(a) * 19});
    }
    for (size_t i = 0; i < star.size(); i++)
        c.Line(star[i].first, star[i].second, star[(i + 1) % 5].first, star[(i + 1) % 5].second, 0xC070FF,
               1.4f);
    // The skull in the middle.
    c.Ellipse(m, m - 2, 8, 7, 0xF4F0E0);
    c.Rect((int)m - 4, (int)m + 3, 9, 5, 0xF4F0E0);
    c.Ellipse(m - 3.5f, m - 2, 2.5f, 2.8f, 0x8000C0);
    c.Ellipse(m + 3.5f, m - 2, 2.5f, 2.8f, 0x8000C0);
    c.Poly({{m, m + 1}, {m - 1.4f, m + 3.5f}, {m + 1.4f, m + 3.5f}}, 0x401060);
    for (int i = -1; i <= 1; i++)
        c.Rect((int)m + i * 3, (int)m + 5, 1, 3, 0x807060);
    c.Outline(0x200830);
    return c.pic;
}

Picture MarkerFrame(int frame)
{
    // A pickaxe-shaped pointer that pulses and nudges right.
    Canvas c(32, 32);
    const float dx = frame * 1.5f;
    static const uint32_t glow[3] = {0xFFD040, 0xFFF090, 0xFFB020};
    c.Poly({{4 + dx, 8}, {22 + dx, 16}, {4 + dx, 24}, {9 + dx, 16}}, glow[frame % 3]);
    c.Poly({{7 + dx, 11}, {17 + dx, 16}, {7 + dx, 21}, {10 + dx, 16}}, Shade(glow[frame % 3], 1.35f));
    c.Disc(26 + dx * 0.5f, 16, 2.2f + frame * 0.4f, 0xFF6030);
    c.Outline(0x301000);
    return c.pic;
}

Picture TrophyPicture()
{
    Canvas c(32, 32);
    const uint32_t gold = 0xF0C030;
    c.Ring(6, 11, 4.5f, 2, gold);
    c.Ring(26, 11, 4.5f, 2, gold);
    c.Poly({{6, 4}, {26, 4}, {24, 13}, {19, 19}, {13, 19}, {8, 13}}, gold);
    c.Poly({{9, 5}, {13, 5}, {13, 15}, {10, 12}}, Shade(gold, 1.4f));
    c.Rect(14, 19, 4, 5, Shade(gold, 0.8f));
    c.Rect(9, 24, 14, 3, gold);
    c.Rect(7, 27, 18, 4, 0x6A3A1A);
    c.Rect(11, 28, 10, 2, 0xE8D8A0);
    c.Ellipse(16, 4.5f, 10, 1.5f, Shade(gold, 0.6f));
    c.Disc(16, 10, 2.2f, 0xFFFFFF);
    c.Outline(0x281808);
    return c.pic;
}

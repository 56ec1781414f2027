// decor.cpp: the see-through pieces of the top map layer: plants, lights,
// signs and bones, brick and timber frames, the enemies' home, beams, rubble.
#include <cmath>
#include "content/art/art.h"
#include "content/art/canvas.h"

namespace {

const int T = 32;

void Grass(Canvas &c)
{
    for (int x = 0; x < T; x++) {
        int h = 3 + (int)(Noise(x, 0, 3) * 7);
        uint32_t g = Mix(0x2E8A1E, 0x7CD040, Noise(x, 1, 3));
        c.Line((float)x + 0.5f, 0, (float)x + 0.5f + (Noise(x, 2, 3) - 0.5f) * 3, (float)h, g);
    }
    c.Rect(0, 0, T, 2, 0x2A6E18);
}

void Flowers(Canvas &c)
{
    const uint32_t petals[3] = {0xFF5A8A, 0xFFE040, 0x8AA0FF};
    for (int i = 0; i < 3; i++) {
        float x = 6 + i * 10, top = 14 + (i % 2) * 5;
        c.Line(x, top, x, 31, 0x2E8A1E, 1.5f);
        c.Line(x, 26, x + 3, 23, 0x2E8A1E, 1.2f);
        for (int k = 0; k < 5; k++) {
            float a = k * 1.2566f;
            c.Disc(x + std::cos(a) * 2.6f, top + std::sin(a) * 2.6f, 1.8f, petals[i]);
        }
        c.Disc(x, top, 1.3f, 0xFFF0A0);
    }
    c.Outline(0x14300C);
}

void Mushrooms(Canvas &c)
{
    for (int i = 0; i < 2; i++) {
        float x = 10 + i * 13, s = i ? 0.8f : 1.1f;
        c.Rect((int)(x - 2 * s), (int)(31 - 9 * s), (int)(4 * s) + 1, (int)(9 * s) + 1, 0xEEE2C8);
        c.Ellipse(x, 31 - 10 * s, 8 * s, 5 * s, 0xD02828);
        c.Rect((int)(x - 8 * s), (int)(31 - 10 * s), (int)(16 * s) + 1, 2, Mix(0xD02828, 0x000000, 0.3f));
        c.Disc(x - 3 * s, 31 - 12 * s, 1.3f, 0xFFFFFF);
        c.Disc(x + 3 * s, 31 - 13 * s, 1.1f, 0xFFFFFF);
    }
    c.Outline(0x301010);
}

}  // namespace

void DrawBones(Canvas &c)
{
    auto bone = [&](float x0, float y0, float x1, float y1) {
        c.Line(x0, y0, x1, y1, 0xE8E0CC, 2.5f);
        c.Disc(x0, y0, 2.2f, 0xE8E0CC);
        c.Disc(x1, y1, 2.2f, 0xE8E0CC);
    };
    bone(5, 26, 25, 20);
    bone(8, 16, 22, 29);
    c.Outline(0x403828);
}

namespace {

void CrystalDecor(Canvas &c)
{
    const uint32_t col[3] = {0x60E0FF, 0xA080FF, 0x60FFC0};
    for (int i = 0; i < 3; i++) {
        float x = 8 + i * 8, h = 12 + (i == 1) * 8;
        c.Poly({{x - 3, 31}, {x - 3, 31 - h + 4}, {x, 31 - h}, {x + 3, 31 - h + 4}, {x + 3, 31}}, col[i]);
        c.Line(x, 31 - h + 1, x, 30, Shade(col[i], 1.5f));
    }
    c.Outline(0x102040);
}

void Torch(Canvas &c)
{
    c.Rect(14, 14, 4, 16, 0x6A4020);
    c.Rect(12, 13, 8, 3, 0x505058);
    c.Ellipse(16, 8, 5, 7, 0xFF8020);
    c.Ellipse(16, 9, 3, 5, 0xFFD040);
    c.Ellipse(16, 10, 1.5f, 3, 0xFFFFC0);
    c.Outline(0x301808);
}

void ArrowSign(Canvas &c)
{
    c.Rect(14, 14, 4, 18, 0x7A4A22);
    c.Poly({{3, 5}, {22, 5}, {29, 11}, {22, 17}, {3, 17}}, 0xB07838);
    c.Rect(3, 10, 19, 1, 0x8A5A28);
    c.Poly({{8, 11}, {14, 8}, {14, 14}}, 0xF0E0C0);
    c.Rect(14, 10, 6, 3, 0xF0E0C0);
    c.Outline(0x301808);
}

void Skull(Canvas &c, float cx, float cy, float s)
{
    c.Ellipse(cx, cy, 8 * s, 7 * s, 0xEEE8D8);
    c.Rect((int)(cx - 4 * s), (int)(cy + 4 * s), (int)(8 * s) + 1, (int)(4 * s), 0xEEE8D8);
    c.Ellipse(cx - 3.2f * s, cy, 2.4f * s, 2.6f * s, 0x201818);
    c.Ellipse(cx + 3.2f * s, cy, 2.4f * s, 2.6f * s, 0x201818);
    c.Poly({{cx, cy + 2 * s}, {cx - 1.3f * s, cy + 4.5f * s}, {cx + 1.3f * s, cy + 4.5f * s}}, 0x201818);
    for (int i = -1; i <= 1; i++)
        c.Rect((int)(cx + i * 2.5f * s), (int)(cy + 5.5f * s), 1, (int)(2.5f * s), 0x807868);
}

void Cobweb(Canvas &c)
{
    const uint32_t web = 0xD8D8E0;
    for (int i = 0; i < 5; i++) {
        float a = i * 0.3927f;
        c.Line(0, 0, std::cos(a) * 31, std::sin(a) * 31, web);
    }
    for (float r = 7; r < 32; r += 7)
        for (int i = 0; i < 4; i++) {
            float a0 = i * 0.3927f, a1 = (i + 1) * 0.3927f;
            c.Line(std::cos(a0) * r, std::sin(a0) * r, std::cos(a1) * r * 0.92f, std::sin(a1) * r * 0.92f,
                   web);
        }
}

void Stalactite(Canvas &c)
{
    c.Poly({{2, 0}, {30, 0}, {22, 6}, {17, 27}, {13, 10}, {9, 16}, {6, 4}}, 0x8A8478);
    c.Line(16, 2, 17, 24, 0xB0AA9C, 1.2f);
    c.Disc(17, 29, 1.2f, 0x80C0FF);
    c.Outline(0x302C28);
}

void HangingRoots(Canvas &c)
{
    for (int i = 0; i < 5; i++) {
        float x = 3 + i * 6.5f, y = 0, len = 10 + Noise(i, 0, 50) * 18;
        while (y < len) {
            float nx = x + (Noise(i, (int)y, 51) - 0.5f) * 3;
            c.Line(x, y, nx, y + 3, 0xB08A58, 1.3f);
            x = nx, y += 3;
        }
    }
    c.Outline(0x3A2410);
}

void Worm(Canvas &c)
{
    for (int i = 0; i < 12; i++) {
        float x = 5 + i * 2, y = 20 + std::sin(i * 0.8f) * 4;
        c.Disc(x, y, 2.6f, i == 11 ? 0xF08890 : Mix(0xE07880, 0xC05060, (i % 2) * 0.6f));
    }
    c.Set(28, 19, 0x000000);
    c.Outline(0x401818);
}

void Puddle(Canvas &c)
{
    c.Ellipse(16, 27, 14, 4, 0x2050A0);
    c.Ellipse(14, 26.5f, 9, 2, 0x4A88D8);
    c.Rect(9, 26, 5, 1, 0xB0D8FF);
    c.Disc(16, 6, 1.5f, 0x6AA8F0);  // a falling drop
    c.Disc(16, 13, 1.8f, 0x6AA8F0);
}

void Lantern(Canvas &c)
{
    c.Line(16, 0, 16, 6, 0x404048, 1.2f);
    c.Rect(10, 6, 12, 3, 0x303038);
    c.Rect(11, 9, 10, 14, 0xFFD860);
    c.Glow(16, 16, 8, 0xFFFFE0, 0.9f);
    c.Box(10, 9, 12, 14, 0x303038);
    c.Rect(15, 9, 2, 14, 0x303038);
    c.Rect(9, 23, 14, 3, 0x303038);
    c.Outline(0x101014);
}

void Chain(Canvas &c)
{
    for (int y = -2; y < T; y += 7) {
        c.Ring(16, (float)y + 3, 3.8f, 1.4f, 0x9098A4);
        c.Rect(15, y + 6, 2, 3, 0x70767E);
    }
    c.Outline(0x202428);
}

void Vines(Canvas &c)
{
    for (int i = 0; i < 3; i++) {
        float x = 5 + i * 11, y = 0;
        int len = 18 + i * 5 % 14;
        while (y < len) {
            float nx = x + std::sin(y * 0.5f + i) * 1.5f;
            c.Line(x, y, nx, y + 2, 0x2E8A1E, 1.4f);
            if ((int)y % 6 == 0)
                c.Ellipse(nx + ((int)y % 12 ? 2.5f : -2.5f), y + 1, 2.3f, 1.4f, 0x58C038);
            x = nx, y += 2;
        }
    }
    c.Outline(0x0E2A08);
}

// Brick (codes 56..63) and timber (64..69) frame pieces.
void BrickStrip(Canvas &c, int x, int y, int w, int h)
{
    c.Rect(x, y, w, h, 0x9A3E26);
    for (int j = y; j < y + h; j += 5) {
        c.Rect(x, j, w, 1, 0xC8B8A0);
        for (int i = x + ((j / 5) % 2) * 4; i < x + w; i += 8)
            c.Rect(i, j, 1, 5, 0xC8B8A0);
    }
}

void TimberStrip(Canvas &c, int x, int y, int w, int h)
{
    c.Rect(x, y, w, h, 0x8A5A2A);
    bool horizontal = w > h;
    for (int k = 0; k < (horizontal ? h : w); k += 3) {
        if (horizontal)
            c.Rect(x, y + k, w, 1, 0x6E4420);
        else
            c.Rect(x + k, y, 1, h, 0x6E4420);
    }
    c.Box(x, y, w, h, 0x3E2410);
    c.Disc(horizontal ? x + 3.5f : x + w / 2.0f, horizontal ? y + h / 2.0f : y + 3.5f, 1, 0x303030);
    c.Disc(horizontal ? x + w - 3.5f : x + w / 2.0f, horizontal ? y + h / 2.0f : y + h - 3.5f, 1, 0x303030);
}

void FramePiece(Canvas &c, int code)
{
    const int k = 8;
    switch (code) {
    case 56: BrickStrip(c, 0, 0, T, k); break;
    case 57: BrickStrip(c, 0, T - k, T, k); break;
    case 58: BrickStrip(c, 0, 0, k, T); break;
    case 59: BrickStrip(c, T - k, 0, k, T); break;
    case 60:
        BrickStrip(c, 0, 0, T, k);
        BrickStrip(c, 0, 0, k, T);
        break;
    case 61:
        BrickStrip(c, 0, 0, T, k);
        BrickStrip(c, T - k, 0, k, T);
        break;
    case 62:
        BrickStrip(c, 0, T - k, T, k);
        BrickStrip(c, 0, 0, k, T);
        break;
    case 63:
        BrickStrip(c, 0, T - k, T, k);
        BrickStrip(c, T - k, 0, k, T);
        break;
    case 64: TimberStrip(c, 0, 0, T, k); break;
    case 65: TimberStrip(c, 0, T - k, T, k); break;
    case 66: TimberStrip(c, 0, 0, k, T); break;
    case 67: TimberStrip(c, T - k, 0, k, T); break;
    case 68:
        TimberStrip(c, 0, 0, k, T);
        TimberStrip(c, 0, 0, T, k);
        break;
    case 69:
        TimberStrip(c, T - k, 0, k, T);
        TimberStrip(c, 0, 0, T, k);
        break;
    }
}

void EnemyHome(Canvas &c)
{
    // A ring of boulders with an open mouth: the figures inside stay visible.
    for (int i = 0; i < 12; i++) {
        float a = 3.1416f + i * 0.2618f * 1.0f;
        float x = 16 + std::cos(a) * 13, y = 20 + std::sin(a) * 14;
        if (y > 31)
            continue;
        c.Ball(x, y, 3.8f, i % 2 ? 0x787068 : 0x8A8276, false);
    }
    for (float y : {22.0f, 28.0f}) {
        c.Ball(3.5f, y, 3.5f, 0x807870, false);
        c.Ball(28.5f, y, 3.5f, 0x807870, false);
    }
    Skull(c, 16, 4, 0.42f);
    c.Outline(0x201C18);
}

void SupportBeam(Canvas &c)
{
    TimberStrip(c, 0, 0, T, 6);
    TimberStrip(c, 1, 6, 5, 26);
    TimberStrip(c, 26, 6, 5, 26);
}

void Rubble(Canvas &c)
{
    for (int i = 0; i < 9; i++) {
        float x = 3 + Noise(i, 0, 73) * 26, y = 25 + Noise(i, 1, 73) * 5;
        c.Ball(x, y, 2.2f + Noise(i, 2, 73) * 2.5f, Mix(0x8A8276, 0x6A5A48, Noise(i, 3, 73)), false);
    }
    c.Outline(0x201C18);
}

}  // namespace

void DrawDecoration(Canvas &c, int code)
{
    switch (code) {
    case 40: Grass(c); break;
    case 41: Flowers(c); break;
    case 42: Mushrooms(c); break;
    case 43: DrawBones(c); break;
    case 44: CrystalDecor(c); break;
    case 45: Torch(c); break;
    case 46: ArrowSign(c); break;
    case 47:
        Skull(c, 16, 18, 1.2f);
        c.Outline(0x302820);
        break;
    case 48: Cobweb(c); break;
    case 49: Stalactite(c); break;
    case 50: HangingRoots(c); break;
    case 51: Worm(c); break;
    case 52: Puddle(c); break;
    case 53: Lantern(c); break;
    case 54: Chain(c); break;
    case 55: Vines(c); break;
    case 70: EnemyHome(c); break;
    case 72: SupportBeam(c); break;
    case 73: Rubble(c); break;
    default:
        if (code >= 56 && code <= 69)
            FramePiece(c, code);
    }
}

// scenes.cpp: the full pictures: the backdrop behind the level, the status
// panel, the menu and title pictures and the progress map.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include "content/art/art.h"
#include "content/art/canvas.h"

namespace {

// Copies a sprite enlarged k times, skipping its clear pixels.
void BlitScaled(Canvas &c, const Picture &p, int x, int y, int k)
{
    for (int j = 0; j < p.height * k; j++)
        for (int i = 0; i < p.width * k; i++) {
            uint32_t v = p.pixels[(size_t)(j / k) * p.width + i / k];
            if (v != kClear)
                c.Set(x + i, y + j, v);
        }
}

void Stars(Canvas &c, int x, int y, int w, int h, int seed, int count)
{
    for (int i = 0; i < count; i++) {
        int sx = x + (int)(Noise(i, 1, seed) * w), sy = y + (int)(Noise(i, 2, seed) * h);
        float b = Noise(i, 3, seed);
        c.Set(sx, sy, Mix(0x606080, 0xFFFFFF, b));
        if (b > 0.9f) {
            c.Set(sx + 1, sy, 0x9090B0), c.Set(sx - 1, sy, 0x9090B0);
            c.Set(sx, sy + 1, 0x9090B0), c.Set(sx, sy - 1, 0x9090B0);
        }
    }
}

// Rock with soft mottling, in bands that darken with depth.
void Strata(Canvas &c, int top, int bottom, float dark, int seed, bool grains = true)
{
    const uint32_t bands[5] = {0x7A5230, 0x8C4A2C, 0x5E4636, 0x4A4450, 0x3A3040};
    for (int y = top; y < bottom; y++)
        for (int x = 0; x < c.W(); x++) {
            float wave = std::sin(x * 0.012f + seed) * 18 + std::sin(x * 0.037f) * 6;
            float depth = (y - top + wave) / std::max(1.0f, (float)(bottom - top));
            int band = std::clamp((int)(depth * 5), 0, 4);
            float n = 0.6f * SmoothNoise(x / 9.0f, y / 9.0f, seed) +
                      0.4f * SmoothNoise(x / 3.0f, y / 3.0f, seed + 1);
            uint32_t col = Shade(bands[band], (0.7f + 0.45f * n) * dark);
            if (grains && Noise(x, y, seed + 2) > 0.985f)
                col = Shade(col, 1.35f);
            c.Set(x, y, col);
        }
}

void Boulder(Canvas &c, float x, float y, float r, float dark)
{
    c.Ball(x, y, r, Shade(0x7A7470, dark), false);
}

void Crystal(Canvas &c, float x, float y, float h, uint32_t col)
{
    c.Poly({{x - h * 0.25f, y},
            {x - h * 0.25f, y - h * 0.7f},
            {x, y - h},
            {x + h * 0.25f, y - h * 0.7f},
            {x + h * 0.25f, y}},
           col);
    c.Line(x, y - h + 2, x, y - 1, Shade(col, 1.5f));
}

// A dug tunnel drawn into a big picture, with a darker rim.
void TunnelStrip(Canvas &c, int x, int y, int w, int h)
{
    c.Rect(x - 2, y - 2, w + 4, h + 4, 0x2A1C12);
    for (int j = y; j < y + h; j++)
        for (int i = x; i < x + w; i++)
            c.Set(i, j, Mix(0x120C08, 0x22180F, SmoothNoise(i / 8.0f, j / 8.0f, 71)));
}

void SkyWithHills(Canvas &c, int bottom, int seed)
{
    c.VGradient(0, 0, c.W(), bottom, 0x0A0A30, 0x40306A);
    Stars(c, 0, 0, c.W(), bottom - 10, seed, c.W() / 6);
    for (int x = 0; x < c.W(); x++) {
        int hill = bottom - 14 - (int)(std::sin(x * 0.011f + seed) * 8 + std::sin(x * 0.031f) * 4);
        c.Rect(x, hill, 1, bottom - hill, 0x1A2A24);
    }
    for (int x = 0; x < c.W(); x++) {  // grass edge
        int h = 2 + (int)(Noise(x, 0, seed) * 4);
        c.Rect(x, bottom - h, 1, h, Mix(0x2E8A1E, 0x5CB030, Noise(x, 1, seed)));
    }
}

}  // namespace

Picture BackdropPicture()
{
    // A dark cavern under the night sky: what shows through empty cells.
    Canvas c(800, 600);
    SkyWithHills(c, 40, 3);
    Strata(c, 40, 600, 0.32f, 11, false);
    // Cracks in the rock.
    for (int i = 0; i < 40; i++) {
        float x = Noise(i, 0, 23) * 800, y = 60 + Noise(i, 1, 23) * 530;
        for (int k = 0; k < 6; k++) {
            float nx = x + (Noise(i, k + 2, 23) - 0.5f) * 24, ny = y + Noise(i, k + 9, 23) * 10;
            c.Line(x, y, nx, ny, 0x0C0A0C);
            x = nx, y = ny;
        }
    }
    // Roots hanging down from the grass.
    for (int i = 0; i < 30; i++) {
        float x = Noise(i, 3, 24) * 800, y = 40, len = 10 + Noise(i, 4, 24) * 40;
        while (y < 40 + len) {
            float nx = x + (Noise(i, (int)y, 25) - 0.5f) * 4;
            c.Line(x, y, nx, y + 4, 0x3A2A1A);
            x = nx, y += 4;
        }
    }
    // Glowing crystals, each lighting the rock around it a little.
    static const uint32_t glow[4] = {0x50C0F0, 0xB070F0, 0x50E0A0, 0xF0B050};
    // The screens drawn on this picture write down its middle (titles,
    // panels, help lines, the credits roll): keep the sparkle beside it, so
    // that no crystal shines through a letter.
    for (int i = 0, tries = 0; i < 16 && tries < 500; tries++) {
        float x = 20 + Noise(tries, 5, 22) * 760, y = 110 + Noise(tries, 6, 22) * 440;
        if (x > 90 && x < 710)
            continue;
        float h = 8 + Noise(i++, 7, 22) * 10;
        c.Glow(x, y - h / 2, h * 2.2f, glow[i % 4], 0.35f);
        Crystal(c, x - 4, y, h * 0.7f, Shade(glow[i % 4], 0.8f));
        Crystal(c, x, y, h, glow[i % 4]);
    }
    return c.pic;
}

Picture StatusPanelPicture()
{
    Canvas c(800, 55);
    // Riveted iron bar with five light plates where the labels go.
    c.VGradient(0, 0, 800, 55, 0x4A4C58, 0x24252C);
    c.Rect(0, 0, 800, 2, 0x8A8C98);
    c.Rect(0, 53, 800, 2, 0x121218);
    for (int x = 6; x < 800; x += 40) {
        c.Disc(x + 0.5f, 6.5f, 1.6f, 0x8A8C98);
        c.Disc(x + 0.5f, 48.5f, 1.6f, 0x8A8C98);
    }
    const int plates[5][2] = {{6, 128}, {131, 252}, {253, 374}, {376, 566}, {574, 794}};
    for (auto &p : plates) {
        int x = p[0], w = p[1] - p[0];
        c.Rect(x + 2, 21, w, 28, 0x101014);  // shadow
        c.VGradient(x, 19, w, 28, 0xF4E8C8, 0xC8B890);
        c.Box(x, 19, w, 28, 0x6A5A3A);
        c.Rect(x + 1, 20, w - 2, 1, 0xFFFAEC);
    }
    return c.pic;
}

Picture MenuPicture()
{
    Canvas c(800, 600);
    SkyWithHills(c, 150, 5);
    Strata(c, 150, 600, 0.8f, 7);
    // Tunnels around the calm middle, with a few treasures.
    TunnelStrip(c, 62, 150, 32, 350);
    TunnelStrip(c, 62, 500, 700, 32);
    TunnelStrip(c, 710, 170, 32, 362);
    TunnelStrip(c, 710, 150, 32, 20);
    BlitScaled(c, ObjectTile(3), 10, 300, 1);
    BlitScaled(c, ObjectTile(97 - 78), 710, 250, 1);
    BlitScaled(c, ObjectTile(12), 710, 380, 1);
    BlitScaled(c, EnemyFrame(3, 12), 62, 300, 1);
    BlitScaled(c, HeroFrame(35), 300, 504, 1);
    BlitScaled(c, EnemyFrame(0, 4), 200, 504, 1);
    BlitScaled(c, ObjectTile(1), 500, 545, 1);
    BlitScaled(c, ObjectTile(26), 600, 552, 1);
    // The title in the sky.
    const char *title = "DELVORN";
    int w = Canvas::TextWidth(title, 12);
    c.Title((800 - w) / 2, 28, title, 12, 0xF0B020, 0x401800);
    return c.pic;
}

Picture TitlePicture()
{
    Canvas c(800, 600);
    SkyWithHills(c, 260, 9);
    c.Disc(755, 38, 24, 0xF0EED8);  // moon
    c.Disc(747, 32, 6, 0xD8D4C0), c.Disc(764, 46, 4, 0xD8D4C0);
    Strata(c, 260, 600, 0.9f, 13);
    TunnelStrip(c, 150, 260, 64, 190);
    TunnelStrip(c, 150, 450, 520, 64);
    TunnelStrip(c, 606, 330, 64, 120);
    // The hero's lamp lights the tunnel ahead of him.
    for (int y = 450; y < 514; y++)
        for (int x = 350; x < 560; x++) {
            float spread = (x - 344) * 0.28f, dy = std::fabs(y - 462.0f);
            if (dy < spread)
                c.Blend(x, y, 0xFFF0B0, 0.22f * (1 - (x - 350) / 210.0f) * (1 - dy / spread));
        }
    BlitScaled(c, HeroFrame(37), 300, 450, 2);
    BlitScaled(c, EnemyFrame(2, 1), 560, 450, 2);
    BlitScaled(c, ObjectTile(12), 616, 266, 2);
    BlitScaled(c, ObjectTile(0), 40, 320, 2);
    BlitScaled(c, ObjectTile(3), 700, 530, 2);
    BlitScaled(c, ObjectTile(1), 250, 540, 1);
    BlitScaled(c, ObjectTile(23), 420, 370, 1);
    const char *title = "DELVORN";
    int w = Canvas::TextWidth(title, 16);
    c.Title((800 - w) / 2, 70, title, 16, 0xF0B020, 0x401800);
    const char *sub = "DIG DEEP - GRAB THE GOLD";
    c.Text((800 - Canvas::TextWidth(sub, 3)) / 2, 210, sub, 3, 0xE8E0FF);
    return c.pic;
}

Picture ProgressMapPicture()
{
    // Drawn at (100, 100): marker cells are at their screen place minus 100.
    static const int cells[20][2] = {{96, 129},  {128, 129}, {160, 129}, {160, 161}, {160, 193},
                                     {192, 193}, {224, 193}, {256, 193}, {256, 225}, {256, 257},
                                     {288, 257}, {320, 257}, {352, 257}, {384, 257}, {416, 257},
                                     {416, 225}, {416, 193}, {416, 161}, {448, 161}, {480, 161}};
    Canvas c(600, 407);
    SkyWithHills(c, 70, 17);
    Strata(c, 70, 407, 0.8f, 19);
    for (int i = 0; i < 12; i++)
        Boulder(c, 30 + Noise(i, 0, 40) * 540, 90 + Noise(i, 1, 40) * 300, 5 + Noise(i, 2, 40) * 8, 0.8f);
    // The way in: a shaft from the surface down to the first cell.
    TunnelStrip(c, 96, 60, 32, 69);
    c.Poly({{86, 60}, {112, 40}, {138, 60}}, 0x7A4A22);  // a little head frame
    c.Rect(90, 52, 4, 10, 0x5A3A1A), c.Rect(130, 52, 4, 10, 0x5A3A1A);
    // The trail: a lighter, marked cell per level, numbered.
    for (int i = 0; i < 20; i++) {
        int x = cells[i][0], y = cells[i][1];
        c.Rect(x - 1, y - 1, 34, 34, 0x2A1A10);
        for (int j = 0; j < 32; j++)
            for (int k = 0; k < 32; k++)
                c.Set(x + k, y + j, Mix(0xB08A58, 0x9A7448, SmoothNoise((x + k) / 5.0f, (y + j) / 5.0f, 3)));
        c.Box(x + 2, y + 2, 28, 28, 0xD8B880);
        char num[4];
        std::snprintf(num, sizeof num, "%d", i + 1);
        int w = Canvas::TextWidth(num, 2);
        c.Text(x + (32 - w) / 2 + 1, y + 10, num, 2, 0x3A2410);
    }
    // The goal beyond the last cell: a chest of gold.
    const int gx = 512, gy = 161;
    BlitScaled(c, ObjectTile(13), gx + 4, gy, 1);
    BlitScaled(c, ObjectTile(26), gx + 30, gy - 6, 1);
    BlitScaled(c, ObjectTile(3), gx + 20, gy + 20, 1);
    return c.pic;
}

// tiles.cpp: the block tiles: earth in many styles, the exit door and its
// shield and the tunnel; the see-through pieces come from decor.cpp.
#include <cmath>
#include "content/art/art.h"
#include "content/art/canvas.h"

namespace {

const int T = 32;

// Earth colours for styles 1..8: loam, clay, sand, peat, shale, moss, violet, ochre.
const uint32_t kEarth[8] = {0x8A5A2E, 0xA8442C, 0xC9A060, 0x4E3A2A, 0x5E6A78, 0x4F7A34, 0x6E4A86, 0xB07C24};

// Value noise that wraps every 32 pixels, so neighbouring cells join up.
float TileNoise(int x, int y, int cell, int seed)
{
    const int period = T / cell;
    float fx = (float)x / cell, fy = (float)y / cell;
    int ix = (int)std::floor(fx), iy = (int)std::floor(fy);
    float tx = fx - ix, ty = fy - iy;
    tx = tx * tx * (3 - 2 * tx);
    ty = ty * ty * (3 - 2 * ty);
    auto n = [&](int a, int b) {
        return Noise(((a % period) + period) % period, ((b % period) + period) % period, seed);
    };
    return (n(ix, iy) * (1 - tx) + n(ix + 1, iy) * tx) * (1 - ty) +
           (n(ix, iy + 1) * (1 - tx) + n(ix + 1, iy + 1) * tx) * ty;
}

// Plain earth: soft mottling in four close tones plus grains; low contrast,
// so the repeat from cell to cell does not show as a pattern.
void Earth(Canvas &c, uint32_t base, int seed)
{
    for (int y = 0; y < T; y++)
        for (int x = 0; x < T; x++) {
            float n = 0.45f * TileNoise(x, y, 16, seed) + 0.35f * TileNoise(x, y, 8, seed + 7) +
                      0.2f * TileNoise(x, y, 4, seed + 13);
            float k = 0.8f + 0.08f * std::floor(n * 5);
            uint32_t col = Shade(base, k);
            float g = Noise(x, y, seed + 99);
            if (g > 0.95f)
                col = Shade(base, 1.22f);
            else if (g < 0.06f)
                col = Shade(base, 0.68f);
            c.Set(x, y, col);
        }
}

void Pebbles(Canvas &c, uint32_t base, int seed)
{
    for (int i = 0; i < 5; i++) {
        float x = 4 + Noise(i, 1, seed) * 24, y = 4 + Noise(i, 2, seed) * 24;
        float r = 1.8f + Noise(i, 3, seed) * 1.8f;
        uint32_t stone = Mix(0x9A9490, base, 0.3f);
        c.Ellipse(x + 0.7f, y + 0.8f, r * 1.2f, r, Shade(base, 0.5f));
        c.Ellipse(x, y, r * 1.2f, r, stone);
        c.Set((int)(x - r * 0.5f), (int)(y - r * 0.4f), Shade(stone, 1.4f));
    }
}

void Roots(Canvas &c, uint32_t base, int seed)
{
    uint32_t root = Mix(0xC8A878, base, 0.35f);
    for (int i = 0; i < 2; i++) {
        const float x0 = 6 + Noise(i, 5, seed) * 20;
        float x = x0, y = 0;
        while (y < T) {
            // Ends where it began, so it runs on into the cell below.
            float nx = y + 4 >= T ? x0 : x + (Noise((int)y, i, seed) - 0.5f) * 5;
            c.Line(x, y, nx, y + 4, root, 1.2f);
            x = nx, y += 4;
        }
    }
}

void Fossil(Canvas &c, uint32_t base)
{
    uint32_t bone = 0xE8DCC0;
    for (float a = 0; a < 14; a += 0.05f) {
        float r = 1 + a * 0.75f;
        c.Set((int)(16 + r * std::cos(a)), (int)(16 + r * std::sin(a)), bone);
    }
    c.Ring(16, 16, 12.5f, 1.2f, Shade(base, 0.6f));
}

void Vein(Canvas &c, uint32_t colour, int seed, bool sparkle)
{
    float y = 16 + std::sin(seed) * 8;
    for (int x = -2; x < T + 2; x += 2) {
        float ny = 16 + std::sin((x + 2) * 0.19635f + seed) * 8;  // one wave per cell: veins join up
        c.Line((float)x, y, (float)x + 2, ny, Shade(colour, 0.7f), 3.2f);
        c.Line((float)x, y, (float)x + 2, ny, colour, 1.6f);
        y = ny;
    }
    for (int i = 0; i < 6; i++) {
        int x = (int)(Noise(i, 1, seed) * 30) + 1, yy = (int)(Noise(i, 2, seed) * 30) + 1;
        c.Set(x, yy, colour);
        if (sparkle)
            c.Set(x + 1, yy, 0xFFFFFF);
    }
}

void Door(Canvas &c)
{
    Earth(c, kEarth[3], 40);
    c.Rect(2, 9, 28, 23, 0x6A6A72);  // stone frame
    for (int y = 10; y < 31; y += 4)
        for (int x = 2; x < 30; x += 7)
            c.Rect(x + ((y / 4) % 2) * 3, y, 1, 3, 0x55555C);
    c.Rect(6, 12, 20, 20, 0x6E3C18);  // door leaf
    for (int x = 8; x < 26; x += 4)
        c.Rect(x, 12, 1, 20, 0x4E2A10);
    c.Rect(6, 16, 20, 2, 0x3A3A40);  // iron bands
    c.Rect(6, 26, 20, 2, 0x3A3A40);
    c.Disc(22, 22, 1.6f, 0xF0C040);  // handle
    // A lit sign over the door.
    c.Rect(2, 0, 28, 9, 0x0E3A12);
    c.Box(2, 0, 28, 9, 0x2E8A2E);
    c.Text(5, 1, "EXIT", 1, 0x9CFF9C);
}

void Shield(Canvas &c)
{
    const uint32_t bar = 0x3CA0FF, core = 0xD8F0FF;
    for (int x = 5; x < 30; x += 6) {
        c.Rect(x - 1, 0, 4, T, Shade(bar, 0.55f));
        c.Rect(x, 0, 2, T, bar);
        c.Rect(x, 0, 1, T, core);
    }
    for (int y : {3, 27}) {
        c.Rect(0, y - 1, T, 4, Shade(bar, 0.55f));
        c.Rect(0, y, T, 2, bar);
        c.Rect(0, y, T, 1, core);
    }
    // A warning stud in the middle: clearly a barrier, not a door.
    c.Disc(16, 15, 5, Shade(bar, 0.5f));
    c.Ball(16, 15, 4, 0xFF4040);
}

void Tunnel(Canvas &c)
{
    for (int y = 0; y < T; y++)
        for (int x = 0; x < T; x++) {
            float n = TileNoise(x, y, 8, 71);
            c.Set(x, y, Mix(0x120C08, 0x22180F, n));
        }
}

}  // namespace

Picture BlockTile(int code)
{
    Canvas c(T, T);
    if (code == 0)
        Door(c);
    else if (code >= 1 && code <= 8)
        Earth(c, kEarth[code - 1], code);
    else if (code == 9)
        Shield(c);
    else if (code >= 10 && code <= 17) {
        Earth(c, kEarth[code - 10], code);
        Pebbles(c, kEarth[code - 10], code);
    } else if (code >= 18 && code <= 25) {
        Earth(c, kEarth[code - 18], code);
        Roots(c, kEarth[code - 18], code);
    } else if (code >= 26 && code <= 33) {
        Earth(c, Shade(kEarth[code - 26], 0.62f), code);
    } else if (code >= 34 && code <= 39) {
        static const uint32_t base[6] = {0x8A6A48, 0x4A4858, 0x5E5650, 0x7A5A3A, 0x3A2A26, 0xA8D0E8};
        Earth(c, base[code - 34], code);
        switch (code) {
        case 34: Fossil(c, base[0]); break;
        case 35: Vein(c, 0x80F0FF, code, true); break;
        case 36: Vein(c, 0xF0C030, code, true); break;
        case 37: DrawBones(c); break;
        case 38: Vein(c, 0xFF6010, code, false); break;
        case 39: Vein(c, 0xF0FAFF, code, false); break;
        }
    } else if (code >= 40 && code <= 73 && code != 71)
        DrawDecoration(c, code);
    else if (code == 71)
        Tunnel(c);
    return c.pic;
}

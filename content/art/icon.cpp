// icon.cpp: the desktop icon: the hero standing in his own earth, on a tile
// with rounded corners, drawn at 32 pixels and scaled as pixel art.
#include <algorithm>

#include "content/art/art.h"
#include "content/art/canvas.h"

namespace {

const int T = 32;

// Inside a square with corners rounded to radius r (in pixel centres).
bool InsideRounded(int x, int y, float r)
{
    float cx = x + 0.5f, cy = y + 0.5f;
    float dx = cx < r ? r - cx : (cx > T - r ? cx - (T - r) : 0);
    float dy = cy < r ? r - cy : (cy > T - r ? cy - (T - r) : 0);
    return dx * dx + dy * dy <= r * r;
}

Picture IconAt32()
{
    Canvas c(T, T);
    const Picture earth = BlockTile(1);
    for (int y = 0; y < T; y++)
        for (int x = 0; x < T; x++)
            if (InsideRounded(x, y, 6.0f)) {
                // A darker rim keeps the tile apart from light panels.
                bool rim = !InsideRounded(x - 1, y, 6.0f) || !InsideRounded(x + 1, y, 6.0f) ||
                           !InsideRounded(x, y - 1, 6.0f) || !InsideRounded(x, y + 1, 6.0f) || x == 0 ||
                           y == 0 || x == T - 1 || y == T - 1;
                uint32_t e = earth.pixels[(size_t)y * T + x];
                c.Set(x, y, rim ? Shade(e, 0.45f) : e);
            }
    c.Blit(HeroFrame(0), 0, 1);
    return c.pic;
}

}  // namespace

Picture IconPicture(int size)
{
    const Picture base = IconAt32();
    Picture out;
    out.width = out.height = size;
    out.pixels.assign((size_t)size * size, kClear);
    for (int y = 0; y < size; y++)
        for (int x = 0; x < size; x++) {
            // Larger sizes take the nearest pixel; smaller ones average the
            // opaque pixels they cover, and stay clear where most are clear.
            int x0 = x * T / size, x1 = std::max(x0 + 1, (x + 1) * T / size);
            int y0 = y * T / size, y1 = std::max(y0 + 1, (y + 1) * T / size);
            int opaque = 0, total = 0, r = 0, g = 0, b = 0;
            for (int sy = y0; sy < y1; sy++)
                for (int sx = x0; sx < x1; sx++, total++) {
                    uint32_t p = base.pixels[(size_t)sy * T + sx];
                    if (p == kClear)
                        continue;
                    opaque++;
                    r += (p >> 16) & 0xFF, g += (p >> 8) & 0xFF, b += p & 0xFF;
                }
            if (opaque * 2 >= total && opaque > 0)
                out.pixels[(size_t)y * size + x] = Rgb(r / opaque, g / opaque, b / opaque);
        }
    return out;
}

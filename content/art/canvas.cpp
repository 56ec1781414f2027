// canvas.cpp: drawing primitives for the generated art.
#include "content/art/canvas.h"

#include <algorithm>
#include <cmath>
#include <cstring>

uint32_t Rgb(int r, int g, int b)
{
    r = std::clamp(r, 0, 255), g = std::clamp(g, 0, 255), b = std::clamp(b, 0, 255);
    return ((uint32_t)r << 16) | ((uint32_t)g << 8) | (uint32_t)b;
}

uint32_t Mix(uint32_t a, uint32_t b, float t)
{
    auto ch = [&](int s) {
        float x = ((a >> s) & 0xFF) * (1 - t) + ((b >> s) & 0xFF) * t;
        return (int)std::lround(x);
    };
    return Rgb(ch(16), ch(8), ch(0));
}

uint32_t Shade(uint32_t c, float k)
{
    if (k <= 1)
        return Mix(0, c, std::max(0.0f, k));
    return Mix(c, 0xFFFFFF, std::min(1.0f, k - 1));
}

float Noise(int x, int y, int seed)
{
    uint32_t h = (uint32_t)x * 0x8DA6B343u ^ (uint32_t)y * 0xD8163841u ^ (uint32_t)seed * 0xCB1AB31Fu;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return (h & 0xFFFFFF) / 16777216.0f;
}

float SmoothNoise(float x, float y, int seed)
{
    int ix = (int)std::floor(x), iy = (int)std::floor(y);
    float fx = x - ix, fy = y - iy;
    fx = fx * fx * (3 - 2 * fx);
    fy = fy * fy * (3 - 2 * fy);
    float a = Noise(ix, iy, seed), b = Noise(ix + 1, iy, seed);
    float c = Noise(ix, iy + 1, seed), d = Noise(ix + 1, iy + 1, seed);
    return (a * (1 - fx) + b * fx) * (1 - fy) + (c * (1 - fx) + d * fx) * fy;
}

Canvas::Canvas(int w, int h, uint32_t fill)
{
    pic.width = w;
    pic.height = h;
    pic.pixels.assign((size_t)w * h, fill);
}

uint32_t Canvas::At(int x, int y) const
{
    return Inside(x, y) ? pic.pixels[(size_t)y * pic.width + x] : kClear;
}

void Canvas::Set(int x, int y, uint32_t c)
{
    if (Inside(x, y))
        pic.pixels[(size_t)y * pic.width + x] = c;
}

void Canvas::Blend(int x, int y, uint32_t c, float a)
{
    if (!Inside(x, y) || a <= 0)
        return;
    uint32_t &p = pic.pixels[(size_t)y * pic.width + x];
    if (p == kClear)
        p = a >= 0.5f ? c : p;
    else
        p = Mix(p, c, std::min(a, 1.0f));
}

void Canvas::Fill(uint32_t c)
{
    std::fill(pic.pixels.begin(), pic.pixels.end(), c);
}

void Canvas::Rect(int x, int y, int w, int h, uint32_t c)
{
    for (int j = y; j < y + h; j++)
        for (int i = x; i < x + w; i++)
            Set(i, j, c);
}

void Canvas::Box(int x, int y, int w, int h, uint32_t c)
{
    Rect(x, y, w, 1, c);
    Rect(x, y + h - 1, w, 1, c);
    Rect(x, y, 1, h, c);
    Rect(x + w - 1, y, 1, h, c);
}

void Canvas::VGradient(int x, int y, int w, int h, uint32_t top, uint32_t bottom)
{
    for (int j = 0; j < h; j++)
        Rect(x, y + j, w, 1, Mix(top, bottom, h > 1 ? (float)j / (h - 1) : 0));
}

void Canvas::Disc(float cx, float cy, float r, uint32_t c)
{
    Ellipse(cx, cy, r, r, c);
}

void Canvas::Ellipse(float cx, float cy, float rx, float ry, uint32_t c)
{
    for (int y = (int)std::floor(cy - ry); y <= (int)std::ceil(cy + ry); y++)
        for (int x = (int)std::floor(cx - rx); x <= (int)std::ceil(cx + rx); x++) {
            float dx = (x + 0.5f - cx) / rx, dy = (y + 0.5f - cy) / ry;
            if (dx * dx + dy * dy <= 1.0f)
                Set(x, y, c);
        }
}

void Canvas::Ring(float cx, float cy, float r, float thick, uint32_t c)
{
    for (int y = (int)std::floor(cy - r); y <= (int)std::ceil(cy + r); y++)
        for (int x = (int)std::floor(cx - r); x <= (int)std::ceil(cx + r); x++) {
            float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy);
            if (d <= r && d >= r - thick)
                Set(x, y, c);
        }
}

void Canvas::Ball(float cx, float cy, float r, uint32_t c, bool glint)
{
    for (int y = (int)std::floor(cy - r); y <= (int)std::ceil(cy + r); y++)
        for (int x = (int)std::floor(cx - r); x <= (int)std::ceil(cx + r); x++) {
            float dx = (x + 0.5f - cx) / r, dy = (y + 0.5f - cy) / r;
            float d2 = dx * dx + dy * dy;
            if (d2 > 1.0f)
                continue;
            float dz = std::sqrt(1 - d2);
            float light = -0.5f * dx - 0.6f * dy + 0.62f * dz;  // toward the upper left
            float k = 0.45f + 0.75f * std::max(0.0f, light);
            uint32_t col = Shade(c, k);
            if (glint && light > 0.93f)
                col = Mix(col, 0xFFFFFF, 0.8f);
            Set(x, y, col);
        }
}

void Canvas::Line(float x0, float y0, float x1, float y1, uint32_t c, float width)
{
    float half = width / 2;
    int minx = (int)std::floor(std::min(x0, x1) - half - 1),
        maxx = (int)std::ceil(std::max(x0, x1) + half + 1);
    int miny = (int)std::floor(std::min(y0, y1) - half - 1),
        maxy = (int)std::ceil(std::max(y0, y1) + half + 1);
    float vx = x1 - x0, vy = y1 - y0, len2 = vx * vx + vy * vy;
    for (int y = miny; y <= maxy; y++)
        for (int x = minx; x <= maxx; x++) {
            float px = x + 0.5f - x0, py = y + 0.5f - y0;
            float t = len2 > 0 ? std::clamp((px * vx + py * vy) / len2, 0.0f, 1.0f) : 0;
            float d = std::hypot(px - t * vx, py - t * vy);
            if (d <= std::max(half, 0.5f))
                Set(x, y, c);
        }
}

void Canvas::Poly(const Points &pts, uint32_t c)
{
    if (pts.size() < 3)
        return;
    float miny = pts[0].second, maxy = miny;
    for (auto &p : pts)
        miny = std::min(miny, p.second), maxy = std::max(maxy, p.second);
    for (int y = (int)std::floor(miny); y <= (int)std::ceil(maxy); y++) {
        float sy = y + 0.5f;
        std::vector<float> xs;
        for (size_t i = 0; i < pts.size(); i++) {
            auto a = pts[i], b = pts[(i + 1) % pts.size()];
            if ((a.second <= sy && b.second > sy) || (b.second <= sy && a.second > sy))
                xs.push_back(a.first + (sy - a.second) / (b.second - a.second) * (b.first - a.first));
        }
        std::sort(xs.begin(), xs.end());
        for (size_t i = 0; i + 1 < xs.size(); i += 2)
            for (int x = (int)std::ceil(xs[i] - 0.5f); x + 0.5f <= xs[i + 1]; x++)
                Set(x, y, c);
    }
}

void Canvas::Glow(float cx, float cy, float r, uint32_t c, float strength)
{
    for (int y = (int)std::floor(cy - r); y <= (int)std::ceil(cy + r); y++)
        for (int x = (int)std::floor(cx - r); x <= (int)std::ceil(cx + r); x++) {
            float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy) / r;
            if (d < 1 && Inside(x, y) && At(x, y) != kClear)
                Blend(x, y, c, strength * (1 - d) * (1 - d));
        }
}

void Canvas::Outline(uint32_t c)
{
    std::vector<uint32_t> before = pic.pixels;
    auto solid = [&](int x, int y) { return Inside(x, y) && before[(size_t)y * pic.width + x] != kClear; };
    for (int y = 0; y < pic.height; y++)
        for (int x = 0; x < pic.width; x++)
            if (!solid(x, y) && (solid(x - 1, y) || solid(x + 1, y) || solid(x, y - 1) || solid(x, y + 1)))
                Set(x, y, c);
}

void Canvas::Blit(const Picture &src, int x, int y)
{
    for (int j = 0; j < src.height; j++)
        for (int i = 0; i < src.width; i++) {
            uint32_t p = src.pixels[(size_t)j * src.width + i];
            if (p != kClear)
                Set(x + i, y + j, p);
        }
}

void Canvas::FlipX()
{
    for (int y = 0; y < pic.height; y++)
        std::reverse(pic.pixels.begin() + (size_t)y * pic.width,
                     pic.pixels.begin() + (size_t)(y + 1) * pic.width);
}

int Canvas::TextWidth(const char *s, int scale)
{
    int n = (int)std::strlen(s);
    return n ? (n * 6 - 1) * scale : 0;
}

void Canvas::Text(int x, int y, const char *s, int scale, uint32_t c)
{
    for (; *s; s++, x += 6 * scale) {
        const uint8_t *g = Glyph(*s);
        if (!g)
            continue;
        for (int row = 0; row < 7; row++)
            for (int col = 0; col < 5; col++)
                if (g[row] & (0x10 >> col))
                    Rect(x + col * scale, y + row * scale, scale, scale, c);
    }
}

void Canvas::Title(int x, int y, const char *s, int scale, uint32_t c, uint32_t shadow)
{
    // Drawn apart first, so the outline hugs the letters and not the ground.
    const int d = std::max(1, scale / 3), pad = d + 2;
    Canvas t(TextWidth(s, scale) + 2 * pad, 7 * scale + 2 * pad);
    for (int k = d; k >= 1; k--)
        t.Text(pad + k, pad + k, s, scale, shadow);
    int cx = pad;
    for (const char *p = s; *p; p++, cx += 6 * scale) {
        const uint8_t *g = Glyph(*p);
        if (!g)
            continue;
        for (int row = 0; row < 7; row++) {
            // Lighter at the top of the letters, darker at the foot.
            const uint32_t shade = Shade(c, 1.25f - row * 0.07f);
            for (int col = 0; col < 5; col++) {
                if (!(g[row] & (0x10 >> col)))
                    continue;
                t.Rect(cx + col * scale, pad + row * scale, scale, scale, shade);
                if (row == 0 || !(g[row - 1] & (0x10 >> col)))
                    t.Rect(cx + col * scale, pad + row * scale, scale, std::max(1, scale / 4),
                           Shade(c, 1.6f));
            }
        }
    }
    t.Outline(Shade(shadow, 0.5f));
    Blit(t.pic, x - pad, y - pad);
}

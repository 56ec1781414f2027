// canvas.h: a small drawing kit for the generated art. Colours are 0xRRGGBB;
// kClear (magenta) is the transparent colour of every sprite.
#ifndef DELVORN_ART_CANVAS_H
#define DELVORN_ART_CANVAS_H

#include <cstdint>
#include <utility>
#include <vector>
#include "tools/datbuild/assets.h"

const uint32_t kClear = 0xFF00FF;

uint32_t Rgb(int r, int g, int b);
uint32_t Mix(uint32_t a, uint32_t b, float t);  // t = 0 gives a, 1 gives b
uint32_t Shade(uint32_t c, float k);            // k < 1 darker, > 1 lighter
float Noise(int x, int y, int seed);            // repeatable, 0 <= n < 1
float SmoothNoise(float x, float y, int seed);  // value noise, 0..1

using Points = std::vector<std::pair<float, float>>;

class Canvas {
public:
    Canvas(int w, int h, uint32_t fill = kClear);
    explicit Canvas(Picture p) : pic(std::move(p)) {}

    int W() const { return pic.width; }
    int H() const { return pic.height; }
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < pic.width && y < pic.height; }
    uint32_t At(int x, int y) const;
    void Set(int x, int y, uint32_t c);
    void Blend(int x, int y, uint32_t c, float a);  // over what is there

    void Fill(uint32_t c);
    void Rect(int x, int y, int w, int h, uint32_t c);
    void Box(int x, int y, int w, int h, uint32_t c);
    void VGradient(int x, int y, int w, int h, uint32_t top, uint32_t bottom);
    void Disc(float cx, float cy, float r, uint32_t c);
    void Ellipse(float cx, float cy, float rx, float ry, uint32_t c);
    void Ring(float cx, float cy, float r, float thick, uint32_t c);
    // A lit sphere: light from the upper left, a white glint.
    void Ball(float cx, float cy, float r, uint32_t c, bool glint = true);
    void Line(float x0, float y0, float x1, float y1, uint32_t c, float width = 1.0f);
    void Poly(const Points &pts, uint32_t c);
    void Glow(float cx, float cy, float r, uint32_t c, float strength);

    // A 1-pixel border on the clear pixels around the drawing: the sprite look.
    void Outline(uint32_t c);
    void Blit(const Picture &src, int x, int y);  // skips clear pixels
    void FlipX();

    // Text in the built-in 5x7 pixel font, each font pixel scale x scale.
    void Text(int x, int y, const char *s, int scale, uint32_t c);
    static int TextWidth(const char *s, int scale);
    // Text with a dark drop shadow and a lighter top rim, for titles.
    void Title(int x, int y, const char *s, int scale, uint32_t c, uint32_t shadow);

    Picture pic;
};

// The 5x7 font glyph of ch (rows top to bottom, bit 4 = leftmost); null if none.
const uint8_t *Glyph(char ch);

#endif

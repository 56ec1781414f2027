// enemies.cpp: the five creatures that chase the hero. Each has walking
// frames facing left and right, and frames seen from the front (going down)
// and from behind (going up), in the order the figure records expect.
#include <cmath>
#include "content/art/art.h"
#include "content/art/canvas.h"

namespace {

enum View { SIDE, FRONT, BACK };
const float kTau = 6.2831853f;

void Eye(Canvas &c, float x, float y, float r, uint32_t iris)
{
    c.Disc(x, y, r, 0xFFFFFF);
    c.Disc(x + r * 0.35f, y, r * 0.55f, iris);
}

// 1: a red burrowing beast with buck teeth and claws.
void Gnasher(Canvas &c, View v, float t)
{
    const uint32_t fur = 0xC04A2A, belly = 0xF0A070, claw = 0xF0E8D0;
    const float s = std::sin(t * kTau);
    if (v == SIDE) {
        c.Line(9, 24, 9 - s * 4, 30, Shade(fur, 0.7f), 3);
        c.Line(21, 24, 21 + s * 4, 30, Shade(fur, 0.7f), 3);
        c.Ellipse(15, 20, 11, 8.5f + s * 0.5f, fur);
        c.Ellipse(16, 24, 7, 4, belly);
        c.Line(4, 18, 0, 14 + s * 2, fur, 2.5f);  // tail
        c.Line(12, 24, 12 + s * 4, 30, fur, 3);
        c.Line(23, 23, 24 - s * 4, 30, fur, 3);
        for (float x : {12 + s * 4, 24 - s * 4})
            c.Line(x, 30.5f, x + 3, 30.5f, claw);
        c.Ellipse(25, 16, 6, 5, fur);  // snout
        c.Disc(30, 15, 1.6f, 0x301010);
        c.Rect(26, 20, 2, 3, claw), c.Rect(28, 20, 2, 3, claw);  // teeth
        Eye(c, 22, 12, 2.4f, 0x101010);
        c.Poly({{16, 12}, {18, 6}, {21, 11}}, fur);  // ear
    } else {
        const bool front = v == FRONT;
        c.Ellipse(16, 19, 12, 10, fur);
        c.Ellipse(6 + s * 1.5f, 29, 4, 2.5f, Shade(fur, 0.8f));
        c.Ellipse(26 - s * 1.5f, 29, 4, 2.5f, Shade(fur, 0.8f));
        c.Poly({{6, 12}, {8, 4}, {12, 10}}, fur);
        c.Poly({{26, 12}, {24, 4}, {20, 10}}, fur);
        if (front) {
            c.Ellipse(16, 22, 7, 6, belly);
            Eye(c, 11, 14, 3, 0x101010);
            Eye(c, 21, 14, 3, 0x101010);
            c.Disc(16, 19, 2, 0x301010);
            c.Rect(13, 22, 3, 4, 0xF0E8D0), c.Rect(17, 22, 3, 4, 0xF0E8D0);
            for (float x : {4.0f, 28.0f})
                for (int k = -1; k <= 1; k++)
                    c.Line(x, 21 + s, x + k * 2, 25 + s, claw);
        } else {
            // From behind: striped back, ears and a wagging tail.
            for (int k = 0; k < 3; k++)
                c.Ellipse(16, 13 + k * 5, 7 - k, 1.2f, Shade(fur, 0.7f));
            c.Poly({{8, 11}, {9, 6}, {12, 10}}, Shade(fur, 1.2f));
            c.Poly({{24, 11}, {23, 6}, {20, 10}}, Shade(fur, 1.2f));
            c.Line(16, 25, 16 + s * 5, 30, Shade(fur, 0.6f), 2.5f);
            for (float x : {4.0f, 28.0f})
                for (int k = -1; k <= 1; k++)
                    c.Line(x, 14 - s, x + k * 2, 10 - s, claw);
        }
    }
    c.Outline(0x200808);
}

// 2: a purple bat-winged imp that flaps along.
void Imp(Canvas &c, View v, float t)
{
    const uint32_t skin = 0x8040C0, wing = 0x50207A;
    const float flap = std::sin(t * kTau);
    const float wy = 10 - flap * 8;  // wing tip height
    c.Poly({{16, 14}, {2, wy}, {4, wy + 7}, {8, 16}, {12, 18}}, wing);
    c.Poly({{16, 14}, {30, wy}, {28, wy + 7}, {24, 16}, {20, 18}}, wing);
    const float bob = flap * 1.5f;
    c.Ellipse(16, 17 + bob, 7, 8, skin);
    c.Line(13, 24 + bob, 11, 30 + bob, skin, 1.5f);
    c.Line(19, 24 + bob, 21, 30 + bob, skin, 1.5f);
    c.Poly({{10, 12 + bob}, {11, 4 + bob}, {14, 10 + bob}}, 0xF0D060);  // horns
    c.Poly({{22, 12 + bob}, {21, 4 + bob}, {18, 10 + bob}}, 0xF0D060);
    if (v == FRONT) {
        Eye(c, 13, 15 + bob, 2.2f, 0xE02020);
        Eye(c, 19, 15 + bob, 2.2f, 0xE02020);
        c.Line(12, 20 + bob, 20, 20 + bob, 0x200830);
        c.Set(13, 21 + (int)bob, 0xFFFFFF), c.Set(19, 21 + (int)bob, 0xFFFFFF);
    } else if (v == SIDE) {
        Eye(c, 20, 15 + bob, 2.2f, 0xE02020);
        c.Line(18, 20 + bob, 23, 19 + bob, 0x200830);
        c.Poly({{9, 20 + bob}, {3, 24 + bob}, {5, 26 + bob}}, skin);  // tail
    } else {
        c.Line(16, 24 + bob, 16, 30, skin, 1.5f);
        c.Poly({{14, 30}, {18, 30}, {16, 27}}, skin);
    }
    c.Outline(0x180828);
}

// 3: a green slime that squishes as it slides.
void Slime(Canvas &c, View v, float t)
{
    const uint32_t slime = 0x40C840;
    const float sq = std::sin(t * kTau);
    const float rx = 12 + sq * 2, ry = 10 - sq * 2;
    c.Ellipse(16, 31 - ry, rx, ry, slime);
    c.Rect((int)(16 - rx), 27, (int)(2 * rx), 4, slime);
    c.Ellipse(12, 31 - ry * 1.5f, 3, 2, Shade(slime, 1.5f));
    for (int i = 0; i < 3; i++)
        c.Disc(8 + i * 8 + sq, 31 - ry * (0.4f + 0.2f * (i % 2)), 1.2f, Shade(slime, 0.7f));
    if (v == SIDE) {
        Eye(c, 22, 31 - ry * 1.3f, 3, 0x102010);
        c.Line(23, 31 - ry * 0.6f, 27, 31 - ry * 0.7f, 0x103010, 1.2f);
        c.Disc(4 - sq, 29, 1.5f, slime);  // a trailing drip
    } else if (v == FRONT) {
        Eye(c, 11, 31 - ry * 1.3f, 3, 0x102010);
        Eye(c, 21, 31 - ry * 1.3f, 3, 0x102010);
        c.Ellipse(16, 31 - ry * 0.6f, 4, 1.6f, 0x103010);
    }
    c.Outline(0x0C300C);
}

// 4: an orange cave beetle scuttling on six legs.
void Beetle(Canvas &c, View v, float t)
{
    const uint32_t shell = 0xF07818, leg = 0x402010;
    const float s = std::sin(t * kTau);
    if (v == SIDE) {
        for (int i = 0; i < 3; i++) {
            float x = 9 + i * 7, k = (i % 2 ? s : -s) * 3;
            c.Line(x, 22, x + k - 2, 30, leg, 1.5f);
            c.Line(x + 2, 22, x + 2 - k + 2, 30, Shade(leg, 1.5f), 1.5f);
        }
        c.Ellipse(15, 18, 12, 8, shell);
        c.Line(4, 17, 26, 17, Shade(shell, 0.6f));
        c.Ellipse(12, 14, 5, 2, Shade(shell, 1.4f));
        c.Disc(27, 20, 4.5f, 0x302018);  // head
        Eye(c, 28, 18, 1.6f, 0xE02020);
        c.Line(30, 22, 32, 26, leg, 1.5f);  // mandible
        c.Line(28, 16, 31, 9 + s, leg);     // feeler
    } else {
        for (int i = 0; i < 3; i++) {
            float y = 13 + i * 6, k = (i % 2 ? s : -s) * 2;
            c.Line(6, y, 1, y + 4 + k, leg, 1.5f);
            c.Line(26, y, 31, y + 4 - k, leg, 1.5f);
        }
        c.Ellipse(16, 18, 10, 12, shell);
        c.Line(16, 8, 16, 30, Shade(shell, 0.55f));
        c.Disc(11, 20, 1.8f, 0x301808), c.Disc(21, 14, 1.8f, 0x301808), c.Disc(20, 25, 1.5f, 0x301808);
        if (v == FRONT) {
            c.Disc(16, 28, 4.5f, 0x302018);
            Eye(c, 14, 28, 1.4f, 0xE02020);
            Eye(c, 18, 28, 1.4f, 0xE02020);
            c.Line(14, 31, 12, 32, leg), c.Line(18, 31, 20, 32, leg);
        } else {
            c.Disc(16, 7, 4, 0x302018);
            c.Line(14, 4, 11, 0 + s, leg), c.Line(18, 4, 21, 0 - s, leg);
        }
    }
    c.Outline(0x281004);
}

// 5: a pale blue wisp that floats with a wavy tail.
void Wisp(Canvas &c, View v, float t)
{
    const uint32_t body = 0x70C8FF;
    const float ph = t * kTau;
    for (int y = 14; y < 32; y++) {
        float w = 10 - (y - 14) * 0.25f;
        float off = std::sin(ph + y * 0.45f) * 2;
        if (v == SIDE)
            off -= (y - 14) * 0.35f;  // tail streams behind
        c.Rect((int)(16 + off - w), y, (int)(2 * w), 1, Mix(body, 0x2050C0, (y - 14) / 20.0f));
    }
    for (int k = 0; k < 4; k++) {  // ragged hem
        float x = 8 + k * 5 + std::sin(ph + k) * 1.5f;
        c.Disc(x, 31, 1.2f, kClear);
    }
    c.Disc(16, 13, 10, body);
    c.Ellipse(12, 9, 3, 2, Shade(body, 1.5f));
    if (v == FRONT) {
        c.Ellipse(12, 13, 2.2f, 3, 0x102050);
        c.Ellipse(20, 13, 2.2f, 3, 0x102050);
        c.Ellipse(16, 20, 2.5f, 2 + std::sin(ph), 0x102050);
    } else if (v == SIDE) {
        c.Ellipse(21, 13, 2, 3, 0x102050);
        c.Ellipse(24, 19, 1.6f, 1.2f + std::sin(ph) * 0.5f, 0x102050);
    }
    c.Glow(16, 14, 12, 0xFFFFFF, 0.35f);
    c.Outline(0x0C2050);
}

using Painter = void (*)(Canvas &, View, float);
const Painter kPainters[5] = {Gnasher, Imp, Slime, Beetle, Wisp};
// Frames per direction: left and right walk, down and up.
const int kWalkFrames[5] = {4, 5, 3, 5, 6};

}  // namespace

Picture EnemyFrame(int enemy, int frame)
{
    Canvas c(32, 32);
    const int walk = kWalkFrames[enemy];
    if (frame < 2 * walk) {
        const bool left = frame < walk;
        kPainters[enemy](c, SIDE, (float)(frame % walk) / walk);
        if (left)
            c.FlipX();
    } else {
        const int i = frame - 2 * walk;  // 0..2 down, 3..5 up
        kPainters[enemy](c, i < 3 ? FRONT : BACK, (i % 3) / 3.0f);
    }
    return c.pic;
}

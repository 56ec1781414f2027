// hero.cpp: the hero, a little miner with a lamp on his helmet. 55 frames:
// standing, squashed under a bag, climbing, walking left and right, digging
// down; frames no sequence uses repeat a neighbouring pose.
#include <algorithm>
#include <cmath>
#include "content/art/art.h"
#include "content/art/canvas.h"

namespace {

const uint32_t kHelmet = 0xF0C020, kLamp = 0xFFFFD0, kSkin = 0xF4B88A, kShirt = 0xD83A2A,
               kOveralls = 0x2E5AC8, kBoots = 0x5A3418, kInk = 0x180C08;

enum View { FRONT, SIDE, BACK };

void Helmet(Canvas &c, float cx, float top, View v)
{
    c.Ellipse(cx, top + 5, 7, 5, kHelmet);
    c.Rect((int)(cx - 7), (int)(top + 5), 14, 2, kHelmet);
    if (v == SIDE) {
        c.Rect((int)(cx), (int)(top + 6), 10, 2, Shade(kHelmet, 0.8f));   // brim
        c.Disc(cx + 6, top + 4, 2.4f, kLamp);
        c.Disc(cx + 6, top + 4, 1.2f, 0xFFFFFF);
    } else if (v == FRONT) {
        c.Rect((int)(cx - 8), (int)(top + 6), 16, 2, Shade(kHelmet, 0.8f));
        c.Disc(cx, top + 3.5f, 2.6f, kLamp);
        c.Disc(cx, top + 3.5f, 1.3f, 0xFFFFFF);
    } else {
        c.Rect((int)(cx - 8), (int)(top + 6), 16, 2, Shade(kHelmet, 0.8f));
        c.Rect((int)(cx - 1), (int)(top + 1), 2, 5, Shade(kHelmet, 0.85f));
    }
    c.Rect((int)(cx - 5), (int)(top + 1), 3, 1, Shade(kHelmet, 1.4f));
}

void Boot(Canvas &c, float x, float y, bool toRight)
{
    c.Ellipse(x + (toRight ? 1 : 0), y, 3.5f, 2, kBoots);
}

// Walking to the right: phase 0..7 is one full stride.
void Side(Canvas &c, int phase)
{
    const float s = std::sin(phase * 0.7854f);
    const float bob = std::fabs(std::cos(phase * 0.7854f)) * 1.0f;
    const float hipY = 21 - bob, hipX = 15;
    // Back leg and arm first, darker.
    c.Line(hipX, hipY, hipX - s * 5, 29, Shade(kOveralls, 0.7f), 3.5f);
    Boot(c, hipX - s * 5 + 1, 29.5f, true);
    c.Line(hipX + 1, 14 - bob, hipX + 1 + s * 5, 19 - bob, Shade(kShirt, 0.7f), 2.8f);
    // Body.
    c.Ellipse(hipX + 1, 17 - bob, 6, 6, kShirt);
    c.Rect((int)hipX - 4, (int)(16 - bob), 10, 6, kOveralls);
    c.Rect((int)hipX - 3, (int)(12 - bob), 2, 5, kOveralls);             // strap
    c.Line(hipX, hipY, hipX + s * 5, 29, kOveralls, 3.5f);
    Boot(c, hipX + s * 5 + 1, 29.5f, true);
    // Front arm swinging with a fist.
    c.Line(hipX + 1, 14 - bob, hipX + 1 - s * 5, 19 - bob, kShirt, 2.8f);
    c.Disc(hipX + 1 - s * 5, 20 - bob, 1.8f, kSkin);
    // Head: face to the right, nose, eye.
    c.Disc(17, 8 - bob, 5, kSkin);
    c.Disc(22, 9 - bob, 1.6f, Shade(kSkin, 0.9f));
    c.Rect(19, (int)(7 - bob), 1, 2, kInk);
    c.Rect(12, (int)(7 - bob), 3, 4, 0x6A3A1A);                           // hair at the back
    Helmet(c, 16, -1 - bob, SIDE);
    c.Outline(kInk);
}

void Front(Canvas &c, int bob, bool blink, int dig)
{
    const float y = (float)bob;
    // Legs and boots.
    c.Rect(11, (int)(21 + y), 4, 8 - bob, kOveralls);
    c.Rect(17, (int)(21 + y), 4, 8 - bob, kOveralls);
    Boot(c, 12, 29.5f, false);
    Boot(c, 20, 29.5f, true);
    // Body and straps.
    c.Ellipse(16, 17 + y, 7, 6, kShirt);
    c.Rect(10, (int)(17 + y), 12, 6, kOveralls);
    c.Rect(11, (int)(12 + y), 2, 6, kOveralls);
    c.Rect(19, (int)(12 + y), 2, 6, kOveralls);
    c.Disc(12, 18 + y, 0.8f, kHelmet);
    c.Disc(20, 18 + y, 0.8f, kHelmet);
    if (dig >= 0) {
        // Digging down: both hands on a shovel stuck into the ground.
        float sy = dig ? 2 : 0;
        c.Line(16, 12 + y + sy, 16, 27 + sy, 0x8A5A2A, 2);
        c.Poly({{12, 26 + sy}, {20, 26 + sy}, {19, 31}, {13, 31}}, 0xA8B0B8);
        c.Line(9, 14 + y, 14, 18 + y + sy, kShirt, 2.8f);
        c.Line(23, 14 + y, 18, 18 + y + sy, kShirt, 2.8f);
        c.Disc(15, 18 + y + sy, 1.7f, kSkin);
        c.Disc(17, 18 + y + sy, 1.7f, kSkin);
    } else {
        c.Line(9, 14 + y, 7, 21 + y, kShirt, 2.8f);
        c.Line(23, 14 + y, 25, 21 + y, kShirt, 2.8f);
        c.Disc(7, 22 + y, 1.8f, kSkin);
        c.Disc(25, 22 + y, 1.8f, kSkin);
    }
    // Head.
    c.Disc(16, 8 + y, 5.5f, kSkin);
    if (blink) {
        c.Rect(13, (int)(8 + y), 2, 1, kInk);
        c.Rect(18, (int)(8 + y), 2, 1, kInk);
    } else {
        c.Rect(13, (int)(7 + y), 2, 2, kInk);
        c.Rect(18, (int)(7 + y), 2, 2, kInk);
    }
    c.Rect(14, (int)(11 + y), 4, 1, Shade(kSkin, 0.6f));
    Helmet(c, 16, -1 + y, FRONT);
    c.Outline(kInk);
}

// Climbing, seen from behind: arms reach up in turn.
void Back(Canvas &c, int phase)
{
    const float up = phase == 1 ? 0 : phase == 0 ? -3 : 3;
    c.Rect(11, 21, 4, (int)(8 + up * 0.5f), kOveralls);
    c.Rect(17, 21, 4, (int)(8 - up * 0.5f), kOveralls);
    Boot(c, 12, 29.5f + up * 0.5f, false);
    Boot(c, 20, 29.5f - up * 0.5f, true);
    c.Ellipse(16, 17, 7, 6, kShirt);
    c.Rect(10, 17, 12, 6, kOveralls);
    c.Rect(12, 13, 8, 7, 0x8A6A3A);                                     // rucksack
    c.Rect(12, 13, 8, 1, Shade(0x8A6A3A, 1.3f));
    c.Line(9, 15, 6, 6 + up, kShirt, 2.8f);
    c.Line(23, 15, 26, 6 - up, kShirt, 2.8f);
    c.Disc(6, 5 + up, 1.8f, kSkin);
    c.Disc(26, 5 - up, 1.8f, kSkin);
    c.Disc(16, 8, 5.5f, 0x6A3A1A);                                     // back of the head
    Helmet(c, 16, -1, BACK);
    c.Outline(kInk);
}

// Squeezes the picture down onto its bottom row, widening it a little.
Picture Squash(const Picture &src, float k)
{
    Canvas out(src.width, src.height);
    const float wide = 1.0f + (1.0f - k) * 0.6f;
    for (int y = 0; y < src.height; y++)
        for (int x = 0; x < src.width; x++) {
            int sy = (int)(src.height - (src.height - y) / k);
            int sx = (int)(16 + (x + 0.5f - 16) / wide);
            if (sy >= 0 && sx >= 0 && sx < src.width)
                out.Set(x, y, src.pixels[(size_t)sy * src.width + sx]);
        }
    return out.pic;
}

}  // namespace

Picture HeroFrame(int frame)
{
    Canvas c(32, 32);
    if (frame <= 6) {
        const int standing = frame % 3;
        Front(c, standing == 1 ? 1 : 0, standing == 2, -1);
    } else if (frame <= 9) {
        Front(c, 0, true, -1);
        static const float k[3] = {0.75f, 0.5f, 0.3f};
        Picture p = Squash(c.pic, k[frame - 7]);
        if (frame == 9) {
            // Flat and seeing stars.
            Canvas s(p);
            for (int i = 0; i < 3; i++)
                s.Blit(SparkPicture(), 3 + i * 9, 12 + (i % 2) * 3);
            return s.pic;
        }
        return p;
    } else if (frame <= 12) {
        Back(c, frame - 10);
    } else if (frame <= 52) {
        // Walking: 13..20 left, 33..40 right; the frames between repeat them.
        const bool left = frame < 33;
        const int phase = (frame - (left ? 13 : 33)) % 8;
        Side(c, phase);
        if (left)
            c.FlipX();
    } else {
        Front(c, 0, false, frame - 53);
    }
    return c.pic;
}

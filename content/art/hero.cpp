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

// The upper half of an ellipse: a helmet dome.
void Dome(Canvas &c, float cx, float cy, float rx, float ry, uint32_t col)
{
    for (int y = (int)(cy - ry); y < (int)cy; y++)
        for (int x = (int)(cx - rx); x <= (int)(cx + rx); x++) {
            float dx = (x + 0.5f - cx) / rx, dy = (y + 0.5f - cy) / ry;
            if (dx * dx + dy * dy <= 1)
                c.Set(x, y, col);
        }
}

// Helmet whose brim sits at row top + 7.
void Helmet(Canvas &c, float cx, float top, View v)
{
    Dome(c, cx, top + 7, 8, 7, kHelmet);
    c.Rect((int)(cx - 4), (int)(top + 1), 3, 1, Shade(kHelmet, 1.4f));
    c.Rect((int)(cx - 6), (int)(top + 3), 1, 3, Shade(kHelmet, 1.3f));
    if (v == SIDE) {
        c.Rect((int)(cx - 8), (int)(top + 7), 19, 2, Shade(kHelmet, 0.75f));
        c.Rect((int)(cx + 3), (int)(top + 3), 4, 4, 0x505050);  // lamp housing
        c.Disc(cx + 6, top + 5, 2.2f, kLamp);
        c.Set((int)(cx + 6), (int)(top + 4), 0xFFFFFF);
    } else if (v == FRONT) {
        c.Rect((int)(cx - 9), (int)(top + 7), 18, 2, Shade(kHelmet, 0.75f));
        c.Disc(cx, top + 4, 2.8f, 0x505050);
        c.Disc(cx, top + 4, 2, kLamp);
        c.Set((int)cx - 1, (int)(top + 3), 0xFFFFFF);
    } else {
        c.Rect((int)(cx - 9), (int)(top + 7), 18, 2, Shade(kHelmet, 0.75f));
        c.Rect((int)(cx - 1), (int)(top + 1), 2, 6, Shade(kHelmet, 0.85f));
    }
}

void Boot(Canvas &c, float x, float y)
{
    c.Ellipse(x, y, 4, 2.3f, kBoots);
    c.Rect((int)(x - 3), (int)(y - 1), 3, 1, Shade(kBoots, 1.4f));
}

// Walking to the right: phase 0..7 is one full stride.
void Side(Canvas &c, int phase)
{
    const float s = std::sin(phase * 0.7854f);
    const float bob = std::fabs(s) > 0.9f ? 0 : 1;  // lowest with legs apart
    const float hipX = 15, hipY = 23 + bob * 0;
    const float top = bob;
    // A pickaxe slung across his back, behind everything else.
    c.Line(5, 24 + top, 9, 8 + top, 0x8A5A2A, 1.8f);
    c.Line(3, 12 + top, 9, 8 + top, 0xA8B0B8, 2.0f);
    c.Line(9, 8 + top, 12, 9 + top, 0xA8B0B8, 1.6f);
    // Back leg and back arm, in shadow.
    c.Line(hipX, hipY, hipX - s * 5, 28, Shade(kOveralls, 0.7f), 4);
    Boot(c, hipX - s * 5 + 1.5f, 29.5f);
    c.Line(hipX + 1, 17 + top, hipX + 1 + s * 6, 22 + top, Shade(kShirt, 0.7f), 3.2f);
    c.Disc(hipX + 1 + s * 6, 22.5f + top, 2, Shade(kSkin, 0.8f));
    // Body.
    c.Ellipse(hipX, 19 + top, 7, 5.5f, kShirt);
    c.Rect((int)hipX - 6, (int)(20 + top), 13, 4, kOveralls);
    c.Rect((int)hipX - 2, (int)(15 + top), 6, 6, kOveralls);  // bib
    c.Disc(hipX + 2, 17 + top, 0.8f, kHelmet);
    // Front leg.
    c.Line(hipX, hipY, hipX + s * 5, 28, kOveralls, 4);
    Boot(c, hipX + s * 5 + 1.5f, 29.5f);
    // Front arm, swinging the other way.
    c.Line(hipX, 17 + top, hipX - s * 6, 22 + top, kShirt, 3.2f);
    c.Disc(hipX - s * 6, 22.5f + top, 2, kSkin);
    // Head: face to the right.
    c.Disc(15, 11 + top, 5.5f, kSkin);
    c.Rect(9, (int)(9 + top), 3, 5, 0x6A3A1A);        // hair at the back
    c.Disc(21, 12 + top, 1.8f, Shade(kSkin, 0.92f));  // nose
    c.Rect(18, (int)(10 + top), 2, 2, kInk);          // eye
    c.Rect(17, (int)(14 + top), 5, 1, 0x6A3A1A);      // moustache
    c.Rect(19, (int)(15 + top), 2, 1, 0x6A3A1A);
    c.Set(14, 12 + (int)top, Shade(kSkin, 0.8f));  // ear
    Helmet(c, 15, -1 + top, SIDE);
    c.Outline(kInk);
}

void Front(Canvas &c, int bob, bool blink, int dig)
{
    const float y = (float)bob;
    // Legs and boots.
    c.Rect(11, (int)(23 + y), 4, 6 - bob, kOveralls);
    c.Rect(17, (int)(23 + y), 4, 6 - bob, kOveralls);
    Boot(c, 12, 29.5f);
    Boot(c, 20, 29.5f);
    // Body, bib and straps.
    c.Ellipse(16, 19 + y, 8, 5.5f, kShirt);
    c.Rect(9, (int)(20 + y), 14, 4, kOveralls);
    c.Rect(12, (int)(16 + y), 8, 5, kOveralls);
    c.Rect(11, (int)(14 + y), 2, 3, kOveralls);
    c.Rect(19, (int)(14 + y), 2, 3, kOveralls);
    c.Disc(12.5f, 17 + y, 0.8f, kHelmet);
    c.Disc(19.5f, 17 + y, 0.8f, kHelmet);
    if (dig >= 0) {
        // Digging down: both hands on a shovel driven into the ground.
        float sy = dig ? 2 : 0;
        c.Line(16, 14 + y + sy, 16, 26 + sy, 0x8A5A2A, 2);
        c.Poly({{12, 25 + sy}, {20, 25 + sy}, {19, 31}, {13, 31}}, 0xA8B0B8);
        c.Rect(13, (int)(25 + sy), 6, 1, 0xE0E8F0);
        c.Line(9, 16 + y, 14, 20 + y + sy, kShirt, 3.2f);
        c.Line(23, 16 + y, 18, 20 + y + sy, kShirt, 3.2f);
        c.Disc(14.5f, 20 + y + sy, 1.8f, kSkin);
        c.Disc(17.5f, 20 + y + sy, 1.8f, kSkin);
    } else {
        c.Line(9, 16 + y, 7, 22 + y, kShirt, 3.2f);
        c.Line(23, 16 + y, 25, 22 + y, kShirt, 3.2f);
        c.Disc(7, 23 + y, 2, kSkin);
        c.Disc(25, 23 + y, 2, kSkin);
    }
    // Head: eyes, nose and a big moustache.
    c.Disc(16, 11 + y, 5.5f, kSkin);
    if (blink) {
        c.Rect(13, (int)(11 + y), 2, 1, kInk);
        c.Rect(18, (int)(11 + y), 2, 1, kInk);
    } else {
        c.Rect(13, (int)(10 + y), 2, 2, kInk);
        c.Rect(18, (int)(10 + y), 2, 2, kInk);
        c.Set(13, 10 + bob, 0xFFFFFF), c.Set(18, 10 + bob, 0xFFFFFF);
    }
    c.Rect(15, (int)(12 + y), 2, 2, Shade(kSkin, 0.85f));
    c.Rect(12, (int)(14 + y), 8, 1, 0x6A3A1A);
    c.Rect(13, (int)(15 + y), 2, 1, 0x6A3A1A), c.Rect(17, (int)(15 + y), 2, 1, 0x6A3A1A);
    Helmet(c, 16, -1 + y, FRONT);
    c.Outline(kInk);
}

// Climbing, seen from behind: arms reach up in turn.
void Back(Canvas &c, int phase)
{
    const float up = phase == 1 ? 0 : phase == 0 ? -3 : 3;
    c.Rect(11, 23, 4, (int)(6 + up * 0.5f), kOveralls);
    c.Rect(17, 23, 4, (int)(6 - up * 0.5f), kOveralls);
    Boot(c, 12, 29.5f + up * 0.5f);
    Boot(c, 20, 29.5f - up * 0.5f);
    c.Ellipse(16, 19, 8, 5.5f, kShirt);
    c.Rect(9, 20, 14, 4, kOveralls);
    c.Line(12, 14, 14, 22, kOveralls, 2), c.Line(20, 14, 18, 22, kOveralls, 2);
    c.Rect(12, 15, 8, 7, 0x8A6A3A);  // rucksack
    c.Rect(12, 15, 8, 1, Shade(0x8A6A3A, 1.3f));
    c.Rect(14, 18, 4, 2, 0x6A4A20);
    c.Line(9, 17, 6, 8 + up, kShirt, 3.2f);
    c.Line(23, 17, 26, 8 - up, kShirt, 3.2f);
    c.Disc(6, 7 + up, 2, kSkin);
    c.Disc(26, 7 - up, 2, kSkin);
    c.Disc(16, 11, 5.5f, 0x6A3A1A);              // back of the head
    c.Set(10, 11, kSkin), c.Set(21, 11, kSkin);  // ears
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
    if (frame <= 2) {
        // Standing plays fast: only the helmet lamp flickers, so he stands still.
        Front(c, 0, false, -1);
        if (frame > 0) {
            c.Disc(16, 3, 1.2f + frame * 0.5f, 0xFFFFFF);
            for (int i = 0; i < 2 + frame; i++)
                c.Set(16 + (i % 2 ? 1 : -1) * (3 + i / 2), 0, 0xFFF8C0);
        }
    } else if (frame <= 6) {
        Front(c, frame == 4 ? 1 : 0, frame == 5, -1);  // unused: spare poses
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

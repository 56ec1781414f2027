// objects.cpp: the object tiles of the item layer: gems, coins, fruit, the
// money bag and its gold, the bomb with its burning fuse, potion, heart and
// the other collectibles.
#include <cmath>
#include "content/art/art.h"
#include "content/art/canvas.h"

namespace {

const uint32_t kInk = 0x181018;  // outline of every collectible

void Gem(Canvas &c, uint32_t col)
{
    // A brilliant cut seen from the side: table, crown facets, pavilion.
    c.Poly({{8, 9}, {24, 9}, {29, 15}, {16, 29}, {3, 15}}, Shade(col, 0.8f));
    c.Poly({{8, 9}, {24, 9}, {21, 15}, {11, 15}}, Shade(col, 1.35f));
    c.Poly({{3, 15}, {8, 9}, {11, 15}}, Shade(col, 1.05f));
    c.Poly({{29, 15}, {24, 9}, {21, 15}}, Shade(col, 0.65f));
    c.Poly({{11, 15}, {21, 15}, {16, 29}}, col);
    c.Poly({{3, 15}, {11, 15}, {16, 29}}, Shade(col, 0.75f));
    c.Poly({{21, 15}, {29, 15}, {16, 29}}, Shade(col, 0.5f));
    c.Line(10, 11, 14, 11, 0xFFFFFF);
    c.Set(12, 12, 0xFFFFFF);
    c.Outline(kInk);
}

void Coin(Canvas &c, uint32_t col, const char *mark)
{
    c.Ellipse(16.5f, 17, 12, 12, Shade(col, 0.55f));
    c.Disc(15.5f, 16, 12, col);
    c.Ring(15.5f, 16, 12, 1.5f, Shade(col, 1.3f));
    c.Ring(15.5f, 16, 9, 1, Shade(col, 0.75f));
    c.Text(13, 12, mark, 1, Shade(col, 0.6f));
    c.Line(8, 9, 11, 6, 0xFFFFFF);
    c.Outline(kInk);
}

void Stalk(Canvas &c, float x0, float y0, float x1, float y1)
{
    c.Line(x0, y0, x1, y1, 0x6A4020, 1.5f);
}

void Leaf(Canvas &c, float x, float y)
{
    c.Poly({{x, y}, {x + 4, y - 4}, {x + 9, y - 3}, {x + 5, y + 1}}, 0x3EA02E);
    c.Line(x + 1, y - 0.5f, x + 7, y - 2.5f, 0x2A7020);
}

void Cherries(Canvas &c)
{
    Stalk(c, 10, 20, 18, 5);
    Stalk(c, 22, 22, 18, 5);
    Leaf(c, 18, 6);
    c.Ball(10, 22, 6, 0xD81828);
    c.Ball(22, 24, 6, 0xE02030);
    c.Outline(kInk);
}

void Apple(Canvas &c)
{
    c.Ball(12, 18, 9.5f, 0x38B030, false);
    c.Ball(20, 18, 9.5f, 0x38B030, false);
    c.Ball(16, 18, 10, 0x40C038);
    c.Disc(16, 9, 2, Shade(0x40C038, 0.6f));
    Stalk(c, 16, 9, 18, 3);
    Leaf(c, 18, 6);
    c.Outline(kInk);
}

void Pear(Canvas &c)
{
    c.Ball(16, 11, 5.5f, 0xD8D040, false);
    c.Ball(16, 21, 9, 0xE0D448);
    c.Rect(12, 11, 8, 6, 0xCCC43C);
    Stalk(c, 16, 6, 17, 2);
    Leaf(c, 17, 4);
    c.Outline(kInk);
}

void Grapes(Canvas &c)
{
    const float pos[][2] = {{10, 10}, {16, 10}, {22, 10}, {13, 15}, {19, 15}, {25, 14},
                            {10, 20}, {16, 20}, {22, 20}, {13, 25}, {19, 25}, {16, 29}};
    for (auto &p : pos)
        c.Ball(p[0], p[1], 3.6f, 0x7A38B0);
    Stalk(c, 16, 7, 18, 2);
    Leaf(c, 17, 5);
    c.Outline(kInk);
}

void Strawberry(Canvas &c)
{
    c.Poly({{5, 11}, {27, 11}, {24, 21}, {16, 30}, {8, 21}}, 0xE02838);
    c.Ball(16, 14, 10, 0xE83040, false);
    for (int i = 0; i < 12; i++)
        c.Set(8 + (i * 7) % 16, 12 + (i * 5) % 14, 0xFFE080);
    c.Poly({{9, 8}, {23, 8}, {20, 12}, {16, 9}, {12, 12}}, 0x3EA02E);
    Stalk(c, 16, 8, 16, 3);
    c.Outline(kInk);
}

void Citrus(Canvas &c, uint32_t col, bool lemon)
{
    if (lemon) {
        c.Ellipse(16, 17, 12, 9, Shade(col, 0.9f));
        c.Ellipse(3.5f, 17, 2.5f, 2, Shade(col, 0.9f));
        c.Ellipse(28.5f, 17, 2.5f, 2, Shade(col, 0.9f));
        c.Ellipse(14, 14, 8, 5, col);
        c.Ellipse(11, 12, 3, 1.5f, Shade(col, 1.5f));
    } else {
        c.Ball(16, 18, 11, col);
        for (int i = 0; i < 10; i++)
            c.Set(9 + (i * 7) % 14, 13 + (i * 3) % 12, Shade(col, 0.8f));
        Leaf(c, 16, 8);
    }
    c.Outline(kInk);
}

void MoneyBag(Canvas &c)
{
    const uint32_t cloth = 0xB88848;
    c.Ball(16, 21, 10.5f, cloth, false);
    c.Poly({{11, 10}, {21, 10}, {24, 15}, {8, 15}}, cloth);
    c.Poly({{10, 3}, {14, 7}, {18, 7}, {22, 3}, {19, 9}, {13, 9}}, Shade(cloth, 0.85f));
    c.Rect(11, 9, 10, 2, 0x6A3A18);  // the tie
    c.Ball(16, 21, 10.5f, cloth);    // light the body again over the neck
    c.Rect(11, 9, 10, 2, 0x6A3A18);
    // A big dollar sign, so the bag reads as money at a glance.
    c.Line(16, 14, 16, 30, 0x6A4010, 1.5f);
    c.Line(20, 17, 13, 17, 0x6A4010, 2), c.Line(12, 18, 12, 20, 0x6A4010, 2);
    c.Line(13, 21, 19, 21, 0x6A4010, 2), c.Line(20, 22, 20, 25, 0x6A4010, 2);
    c.Line(19, 26, 12, 26, 0x6A4010, 2);
    c.Line(15.5f, 13.5f, 15.5f, 29.5f, 0xFFE040, 1.2f);
    c.Line(19.5f, 16.5f, 12.5f, 16.5f, 0xFFE040, 1.5f), c.Line(11.5f, 17.5f, 11.5f, 19.5f, 0xFFE040, 1.5f);
    c.Line(12.5f, 20.5f, 18.5f, 20.5f, 0xFFE040, 1.5f), c.Line(19.5f, 21.5f, 19.5f, 24.5f, 0xFFE040, 1.5f);
    c.Line(18.5f, 25.5f, 11.5f, 25.5f, 0xFFE040, 1.5f);
    c.Outline(kInk);
}

void GoldPile(Canvas &c)
{
    const float pos[][3] = {{8, 27, 4.5f},  {16, 28, 5},    {24, 27, 4.5f}, {12, 22, 4.5f},
                            {20, 22, 4.5f}, {16, 17, 4.5f}, {5, 29, 3},     {27, 29, 3}};
    for (auto &p : pos)
        c.Ball(p[0], p[1], p[2], 0xF0B820);
    c.Set(16, 14, 0xFFFFFF);
    c.Set(15, 15, 0xFFFFFF), c.Set(17, 15, 0xFFFFFF), c.Set(16, 16, 0xFFFFFF);
    c.Outline(kInk);
}

// A round bomb; fuse stage 0 is the pickup, 1 and 2 are the burning fuse.
void Bomb(Canvas &c, int stage)
{
    c.Ball(15, 19, 10.5f, 0x383848);
    c.Rect(18, 7, 6, 4, 0x707078);
    c.Rect(18, 7, 6, 1, 0xA0A0A8);
    c.Line(21, 7, 24, 3, 0xC8B088, 1.6f);
    c.Line(24, 3, 27, 3, 0xC8B088, 1.6f);
    c.Outline(kInk);
    if (stage > 0) {
        float fx = stage == 1 ? 28 : 25, fy = stage == 1 ? 3 : 2;
        c.Disc(fx, fy, stage == 1 ? 3.2f : 2.6f, 0xFF8020);
        c.Disc(fx, fy, 1.6f, 0xFFF080);
        for (int i = 0; i < 5; i++) {
            float a = i * 1.2566f + stage;
            c.Set((int)(fx + std::cos(a) * 4.5f), (int)(fy + std::sin(a) * 4.5f), 0xFFE060);
        }
    }
}

void Potion(Canvas &c)
{
    c.Ball(16, 21, 9.5f, 0xC040E0);
    c.Rect(13, 5, 6, 8, 0xB8E0F0);
    c.Rect(12, 3, 8, 3, 0x8A5A30);
    c.Ellipse(16, 14, 7, 3, 0xD070F0);
    c.Rect(14, 7, 1, 5, 0xFFFFFF);
    c.Disc(13, 24, 1.3f, 0xF0C0FF);
    c.Disc(19, 20, 1, 0xF0C0FF);
    c.Outline(kInk);
}

void Key(Canvas &c)
{
    c.Ring(10, 12, 7, 3, 0xE8B830);
    c.Line(15, 16, 27, 28, 0xE8B830, 3.2f);
    c.Line(21, 22, 25, 18, 0xE8B830, 2.6f);
    c.Line(24, 25, 28, 21, 0xE8B830, 2.6f);
    c.Line(5, 9, 8, 6, 0xFFF0A0);
    c.Outline(kInk);
}

void Pearl(Canvas &c)
{
    c.Ellipse(16, 24, 13, 6, 0xD8A0A8);  // an open shell
    c.Ellipse(16, 23, 10, 3.5f, 0xB06878);
    c.Ball(16, 17, 7, 0xF0ECF4);
    c.Outline(kInk);
}

void HeartShape(Canvas &c, float cx, float cy, float s, uint32_t col)
{
    c.Disc(cx - 5 * s, cy - 3 * s, 6 * s, col);
    c.Disc(cx + 5 * s, cy - 3 * s, 6 * s, col);
    c.Poly({{cx - 10.8f * s, cy - 1 * s}, {cx + 10.8f * s, cy - 1 * s}, {cx, cy + 11 * s}}, col);
}

void Star(Canvas &c)
{
    Points p;
    for (int i = 0; i < 10; i++) {
        float a = -1.5708f + i * 0.6283f, r = i % 2 ? 5.5f : 14;
        p.push_back({16 + std::cos(a) * r, 17 + std::sin(a) * r});
    }
    c.Poly(p, 0xF8D020);
    Points q;
    for (auto &pt : p)
        q.push_back({16 + (pt.first - 16) * 0.55f - 1, 17 + (pt.second - 17) * 0.55f - 1});
    c.Poly(q, 0xFFF080);
    c.Outline(kInk);
}

void Chalice(Canvas &c)
{
    const uint32_t gold = 0xE8B830;
    c.Ellipse(16, 8, 11, 4, Shade(gold, 0.7f));
    c.Poly({{5, 8}, {27, 8}, {22, 17}, {10, 17}}, gold);
    c.Rect(14, 17, 4, 8, gold);
    c.Poly({{8, 29}, {24, 29}, {19, 24}, {13, 24}}, gold);
    c.Ellipse(16, 8, 9, 2.5f, 0x801020);
    c.Disc(16, 13, 2, 0xE03040);
    c.Rect(9, 10, 1, 5, 0xFFF0A0);
    c.Outline(kInk);
}

void Crown(Canvas &c)
{
    const uint32_t gold = 0xF0C030;
    c.Poly({{4, 11}, {10, 18}, {16, 7}, {22, 18}, {28, 11}, {26, 26}, {6, 26}}, gold);
    c.Rect(6, 22, 21, 4, Shade(gold, 0.75f));
    c.Disc(4, 10, 2, gold), c.Disc(16, 6, 2, gold), c.Disc(28, 10, 2, gold);
    c.Disc(11, 24, 1.5f, 0xE02030), c.Disc(16, 24, 1.5f, 0x2060F0), c.Disc(21, 24, 1.5f, 0x20C040);
    c.Rect(8, 16, 1, 5, 0xFFF0A0);
    c.Outline(kInk);
}

}  // namespace

// Shared with effects.cpp for the beating heart frames.
void DrawHeart(Canvas &c, float cx, float cy, float s)
{
    HeartShape(c, cx, cy, s, 0xB01020);
    HeartShape(c, cx - 0.8f, cy - 0.8f, s * 0.9f, 0xE82838);
    c.Disc(cx - 5 * s, cy - 4 * s, 2 * s, 0xFF9098);
    c.Outline(kInk);
}

void DrawBomb(Canvas &c, int stage)
{
    Bomb(c, stage);
}
void DrawPotion(Canvas &c)
{
    Potion(c);
}

Picture ObjectTile(int code)
{
    Canvas c(32, 32);
    static const uint32_t gems[6] = {0x20C050, 0xE01838, 0x2850E8, 0xD8F0FF, 0x9838D0, 0xF09020};
    if (code >= 0 && code <= 5)
        Gem(c, gems[code]);
    switch (code) {
    case 6: Coin(c, 0xF0C030, "$"); break;
    case 7: Coin(c, 0xC8CCD8, "$"); break;
    case 8: Cherries(c); break;
    case 9: Apple(c); break;
    case 10: Pear(c); break;
    case 11: Grapes(c); break;
    case 12: MoneyBag(c); break;
    case 13: GoldPile(c); break;
    case 14: Strawberry(c); break;
    case 15: Citrus(c, 0xF8E840, true); break;
    case 16: Bomb(c, 0); break;
    case 17: Bomb(c, 1); break;
    case 18: Bomb(c, 2); break;
    case 19: Potion(c); break;
    case 20: Key(c); break;
    case 21: Pearl(c); break;
    case 22: DrawHeart(c, 16, 15, 1.0f); break;
    case 23: Star(c); break;
    case 24: Chalice(c); break;
    case 25: Citrus(c, 0xF89020, false); break;
    case 26: Crown(c); break;
    }
    return c.pic;
}

// The generated pictures, checked for what play and the screens rely on.
#include <gtest/gtest.h>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "content/art/canvas.h"
#include "tools/datbuild/assets.h"

namespace {

bool IsClear(const Picture &p, int x, int y)
{
    return p.pixels[(size_t)y * p.width + x] == kClear;
}

float ClearShare(const Picture &p)
{
    size_t n = 0;
    for (uint32_t v : p.pixels)
        n += v == kClear;
    return (float)n / p.pixels.size();
}

float Luma(uint32_t c)
{
    return 0.3f * ((c >> 16) & 0xFF) + 0.59f * ((c >> 8) & 0xFF) + 0.11f * (c & 0xFF);
}

// Mean brightness step between two columns of a picture.
float ColumnStep(const Picture &p, int a, int b)
{
    float sum = 0;
    for (int y = 0; y < p.height; y++)
        sum += std::fabs(Luma(p.pixels[(size_t)y * p.width + a]) - Luma(p.pixels[(size_t)y * p.width + b]));
    return sum / p.height;
}

bool Same(const Picture &a, const Picture &b)
{
    return a.pixels == b.pixels;
}

TEST(Art, EarthTunnelAndDoorFillTheirCell)
{
    // Anything see-through on layer 0 would show the backdrop inside the earth.
    std::vector<int> codes = {0, 71};
    for (int c = 1; c <= 39; c++)
        if (c != 9)
            codes.push_back(c);
    for (int code : codes)
        EXPECT_EQ(ClearShare(MakePicture(code + 2)), 0.0f) << "block code " << code;
}

TEST(Art, EarthJoinsItsNeighbourWithoutASeam)
{
    for (int code = 1; code <= 8; code++) {
        Picture p = MakePicture(code + 2);
        // Right edge against the next cell's left edge, compared with the
        // step between two inner columns of one cell.
        EXPECT_LT(ColumnStep(p, 31, 0), 2.5f * ColumnStep(p, 15, 16) + 4) << "block code " << code;
    }
}

TEST(Art, EarthStylesAreTellApart)
{
    std::vector<float> r, g, b;
    for (int code = 1; code <= 8; code++) {
        double s[3] = {0, 0, 0};
        for (uint32_t v : MakePicture(code + 2).pixels)
            s[0] += (v >> 16) & 0xFF, s[1] += (v >> 8) & 0xFF, s[2] += v & 0xFF;
        r.push_back(s[0] / 1024), g.push_back(s[1] / 1024), b.push_back(s[2] / 1024);
    }
    for (int i = 0; i < 8; i++)
        for (int j = i + 1; j < 8; j++)
            EXPECT_GT(std::fabs(r[i] - r[j]) + std::fabs(g[i] - g[j]) + std::fabs(b[i] - b[j]), 30)
                << "earth styles " << i + 1 << " and " << j + 1;
}

TEST(Art, TopLayerPiecesLetThePlayShowThrough)
{
    for (int code = 40; code <= 73; code++) {
        if (code == 71)
            continue;
        EXPECT_GE(ClearShare(MakePicture(code + 2)), 0.3f) << "block code " << code;
    }
    EXPECT_GE(ClearShare(MakePicture(11)), 0.2f);  // the shield shows the door behind it
}

TEST(Art, FiguresStandFreeOfTheirCellCorners)
{
    std::vector<int> entries = {77, 208, 209, 210, 211, 212, 216, 217, 218, 299, 300, 301, 302};
    for (int e = 78; e <= 104; e++)
        entries.push_back(e);
    for (int e = 124; e <= 199; e++)
        entries.push_back(e);
    for (int e = 237; e <= 291; e++)
        entries.push_back(e);
    for (int e : entries) {
        Picture p = MakePicture(e);
        const int w = p.width - 1;
        EXPECT_TRUE(IsClear(p, 0, 0) && IsClear(p, w, 0)) << "entry " << e;
        const float clear = ClearShare(p);
        EXPECT_GT(clear, 0.15f) << "entry " << e;
        EXPECT_LT(clear, 0.95f) << "entry " << e << " is nearly empty";
    }
}

TEST(Art, EveryAnimationMoves)
{
    auto expectMoving = [](const std::vector<int> &entries, const char *what) {
        for (size_t i = 0; i + 1 < entries.size(); i++)
            EXPECT_FALSE(Same(MakePicture(entries[i]), MakePicture(entries[i + 1])))
                << what << ": entries " << entries[i] << " and " << entries[i + 1];
    };
    auto range = [](int first, int last) {
        std::vector<int> v;
        for (int e = first; e <= last; e++)
            v.push_back(e);
        return v;
    };
    const int hero = 237;
    expectMoving({hero + 0, hero + 1, hero + 2}, "hero standing");
    expectMoving(range(hero + 33, hero + 40), "hero right");
    expectMoving(range(hero + 13, hero + 20), "hero left");
    expectMoving(range(hero + 10, hero + 12), "hero up");
    expectMoving({hero + 53, hero + 54}, "hero down");
    expectMoving(range(hero + 7, hero + 9), "hero caught");
    // Enemies: first entry and frames per walk; each has left, right, down, up.
    const int first[5] = {124, 138, 154, 166, 182}, walk[5] = {4, 5, 3, 5, 6};
    for (int n = 0; n < 5; n++) {
        const int e = first[n], k = walk[n];
        expectMoving(range(e, e + k - 1), "enemy left");
        expectMoving(range(e + k, e + 2 * k - 1), "enemy right");
        expectMoving(range(e + 2 * k, e + 2 * k + 2), "enemy down");
        expectMoving(range(e + 2 * k + 3, e + 2 * k + 5), "enemy up");
        EXPECT_FALSE(Same(MakePicture(e), MakePicture(e + k))) << "enemy " << n + 1 << " faces one way";
    }
    expectMoving(range(94, 96), "bomb fuse");
    expectMoving(range(111, 123), "blast");
    expectMoving(range(208, 212), "heart");
    expectMoving({299, 300}, "potion");
    expectMoving(range(216, 218), "menu marker");
}

// Mean x of the helmet lamp's pixels: where the hero looks.
float LampX(const Picture &p)
{
    float sum = 0;
    int n = 0;
    for (int y = 0; y < 10; y++)
        for (int x = 0; x < p.width; x++)
            if (p.pixels[(size_t)y * p.width + x] == 0xFFFFD0)
                sum += x, n++;
    return n ? sum / n : -1;
}

// Rows from the top down to the first drawn pixel.
int TopGap(const Picture &p)
{
    for (int y = 0; y < p.height; y++)
        for (int x = 0; x < p.width; x++)
            if (!IsClear(p, x, y))
                return y;
    return p.height;
}

TEST(Art, HeroLooksWhereHeWalksAndFlattensWhenCaught)
{
    for (int i = 0; i < 8; i++) {
        EXPECT_GT(LampX(MakePicture(237 + 33 + i)), 18) << "walking right, frame " << 33 + i;
        float left = LampX(MakePicture(237 + 13 + i));
        EXPECT_GE(left, 0) << "walking left, frame " << 13 + i;
        EXPECT_LT(left, 14) << "walking left, frame " << 13 + i;
    }
    // Under a bag: lower with every frame, and clearly squashed by the last.
    const int standing = TopGap(MakePicture(237));
    // (The last frame adds stars above him, so only 7 and 8 are measured.)
    const int g7 = TopGap(MakePicture(237 + 7)), g8 = TopGap(MakePicture(237 + 8));
    EXPECT_LT(standing, g7);
    EXPECT_LT(g7, g8);
    EXPECT_GE(g8, 12);
}

TEST(Art, ProgressTrailLiesUnderTheMarkers)
{
    static const int markers[20][2] = {{196, 229}, {228, 229}, {260, 229}, {260, 261}, {260, 293},
                                       {292, 293}, {324, 293}, {356, 293}, {356, 325}, {356, 357},
                                       {388, 357}, {420, 357}, {452, 357}, {484, 357}, {516, 357},
                                       {516, 325}, {516, 293}, {516, 261}, {548, 261}, {580, 261}};
    Picture map = MakePicture(295);
    for (auto &m : markers) {
        const int x = m[0] - 100, y = m[1] - 100;
        ASSERT_LE(x + 32, map.width);
        ASSERT_LE(y + 32, map.height);
        // Cells of levels still to come stand out as a light trail.
        EXPECT_GT(Luma(map.pixels[(size_t)(y + 4) * map.width + x + 4]), 110)
            << "marker at " << m[0] << "," << m[1];
    }
}

TEST(Art, StatusPanelIsLightWhereTheBlackLabelsGo)
{
    Picture panel = MakePicture(298);
    const int labels[5] = {14, 139, 261, 384, 582};
    for (int x0 : labels)
        for (int y = 572 - 545; y < 572 - 545 + 15; y++)
            for (int x = x0; x < x0 + 100; x++)
                ASSERT_GT(Luma(panel.pixels[(size_t)y * panel.width + x]), 150) << x << "," << y + 545;
}

TEST(Art, PixelFontHasEveryLetterAndDigit)
{
    for (char ch = 'A'; ch <= 'Z'; ch++)
        EXPECT_NE(Glyph(ch), nullptr) << ch;
    for (char ch = '0'; ch <= '9'; ch++)
        EXPECT_NE(Glyph(ch), nullptr) << ch;
    EXPECT_NE(Glyph('$'), nullptr);
    EXPECT_EQ(Glyph(' '), nullptr);
}

}  // namespace

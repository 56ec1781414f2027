// How large the picture is shown: the window's factor from the setting and
// the desktop, the full screen's placement, window points mapped back to
// pixels of the picture, and the picture enlarged by the present step.
#include <gtest/gtest.h>

#include <allegro.h>
#include <cerrno>
#include <random>
#include <vector>

#include "base/enlarge.h"
#include "base/scale.h"

namespace {

TEST(Scale, WindowFactorFitsTheDesktopWithRoomForTheFrame)
{
    const struct {
        int setting, desktopW, desktopH, factor;
    } cases[] = {
        {0, 1920, 1080, 1},  // 1200 rows do not fit 1080
        {0, 2560, 1440, 2},
        {0, 3840, 2160, 3},
        {0, 1600 + WINDOW_ROOM_W, 1200 + WINDOW_ROOM_H, 2},  // exactly room for the frame
        {0, 1600 + WINDOW_ROOM_W - 1, 1200 + WINDOW_ROOM_H, 1},
        {0, 1600 + WINDOW_ROOM_W, 1200 + WINDOW_ROOM_H - 1, 1},
        {0, 1600, 1200, 1},  // a desktop of the window's own size leaves no room
        {0, 7680, 4320, 4},  // at most 4
        {0, 0, 0, 1},        // desktop unknown
        {0, 640, 480, 1},    // smaller than the picture: still the picture's own size
        {3, 1024, 768, 3},   // fixed, whatever the desktop
        {1, 3840, 2160, 1},
        {4, 0, 0, 4},
    };
    for (const auto &c : cases)
        EXPECT_EQ(WindowFactor(c.setting, c.desktopW, c.desktopH), c.factor)
            << "Scale " << c.setting << " on " << c.desktopW << "x" << c.desktopH;
    const Placement window = WindowPlacement(3);
    EXPECT_EQ(window.w, 2400);
    EXPECT_EQ(window.h, 1800);
    EXPECT_EQ(window.x, 0);
    EXPECT_EQ(window.y, 0);
}

TEST(Scale, FullScreenKeepsTheDesktopAndCentresTheLargestFactor)
{
    const struct {
        int desktopW, desktopH, factor, x, y;
    } cases[] = {
        {1920, 1080, 1, 560, 240}, {2560, 1440, 2, 480, 120}, {3840, 2160, 3, 720, 180},
        {1600, 1200, 2, 0, 0},     {1024, 768, 1, 112, 84},   {7680, 4320, 7, 1040, 60},
        {799, 600, 0, 0, 0},  // smaller than the picture: nothing fits
    };
    for (const auto &c : cases) {
        const Placement at = FullScreenPlacement(c.desktopW, c.desktopH);
        EXPECT_EQ(at.factor, c.factor) << c.desktopW << "x" << c.desktopH;
        EXPECT_EQ(at.w, c.desktopW);
        EXPECT_EQ(at.h, c.desktopH);
        if (c.factor > 0) {
            EXPECT_EQ(at.x, c.x) << c.desktopW << "x" << c.desktopH;
            EXPECT_EQ(at.y, c.y) << c.desktopW << "x" << c.desktopH;
        }
    }
}

TEST(Scale, WindowPointsMapToPicturePixelsRoundedDown)
{
    const Placement x2 = {2, 0, 0, 1600, 1200}, x3 = {3, 720, 180, 3840, 2160};
    const struct {
        const Placement &at;
        int wx, wy, x, y;
    } cases[] = {
        {x2, 0, 0, 0, 0},
        {x2, 1, 1, 0, 0},
        {x2, 3, 5, 1, 2},
        {x2, 1599, 1199, 799, 599},
        {x3, 720, 180, 0, 0},
        {x3, 719, 179, -1, -1},  // the border is outside the picture
        {x3, 0, 0, -240, -60},
        {x3, 720 + 2399, 180 + 1799, 799, 599},
        {x3, 720 + 2400, 180 + 1800, 800, 600},
    };
    for (const auto &c : cases) {
        const GamePoint p = WindowToGame(c.at, c.wx, c.wy);
        EXPECT_EQ(p.x, c.x) << "x" << c.at.factor << " at " << c.wx << "," << c.wy;
        EXPECT_EQ(p.y, c.y) << "x" << c.at.factor << " at " << c.wx << "," << c.wy;
    }
}

}  // namespace

namespace {

// The present step's rows against the plain definition: every factor the
// display may take, rows whose width the vector steps do not divide, mask
// pixels that keep what was shown before, the factor 1 copy straight into
// the target, and the band of rows written: only those that changed.
TEST(Scale, EnlargedPictureIsTheMaskedCopyRepeatedInWholePixels)
{
    install_allegro(SYSTEM_NONE, &errno, atexit);
    std::mt19937 rng(3);
    for (int factor = 1; factor <= 5; factor++)
        for (int w : {800, 37, 8, 1}) {
            const int h = 3, x = 5, y = 2;
            BITMAP *from = create_bitmap_ex(16, w, h), *shown = create_bitmap_ex(16, w, h);
            BITMAP *to = create_bitmap_ex(16, w * factor + x + 3, h * factor + y + 1);
            const int mask = bitmap_mask_color(from);
            std::vector<int> before(w * h);
            for (int j = 0; j < h; j++)
                for (int i = 0; i < w; i++) {
                    putpixel(from, i, j, rng() % 4 == 0 ? mask : (int)(rng() & 0xFFFF));
                    putpixel(shown, i, j, (int)(rng() & 0xFFFF));
                    before[j * w + i] = getpixel(shown, i, j);
                }
            // The target shows the picture as it was, as the screen does.
            clear_to_color(to, 0x1234);
            for (int j = 0; j < h * factor; j++)
                for (int i = 0; i < w * factor; i++)
                    putpixel(to, x + i, y + j, before[(j / factor) * w + i / factor]);
            const RowBand band = EnlargePicture(from, factor == 1 ? nullptr : shown, to, x, y, factor, false);
            // The band of rows whose shown pixels changed; shown again, none.
            int firstChanged = -1, lastChanged = -1;
            for (int j = 0; j < h; j++)
                for (int i = 0; i < w; i++) {
                    const int f = getpixel(from, i, j);
                    if (f != mask && f != before[j * w + i]) {
                        firstChanged = firstChanged < 0 ? j : firstChanged;
                        lastChanged = j;
                    }
                }
            EXPECT_EQ(band.count, firstChanged < 0 ? 0 : (lastChanged - firstChanged + 1) * factor) << w;
            if (firstChanged >= 0) {
                EXPECT_EQ(band.first, y + firstChanged * factor) << w;
            }
            EXPECT_EQ(EnlargePicture(from, factor == 1 ? nullptr : shown, to, x, y, factor, false).count, 0);
            EXPECT_EQ(EnlargePicture(from, factor == 1 ? nullptr : shown, to, x, y, factor, true).count,
                      h * factor);
            int wrong = 0;
            for (int j = 0; j < to->h; j++)
                for (int i = 0; i < to->w; i++) {
                    const int si = (i - x) / factor, sj = (j - y) / factor;
                    const bool inside = i >= x && j >= y && si < w && sj < h;
                    int expected = 0x1234;
                    if (inside) {
                        const int f = getpixel(from, si, sj);
                        expected = f != mask ? f : before[sj * w + si];
                    }
                    wrong += getpixel(to, i, j) != expected;
                }
            EXPECT_EQ(wrong, 0) << "factor " << factor << ", width " << w;
            if (factor > 1)
                for (int j = 0; j < h; j++)
                    for (int i = 0; i < w; i++) {
                        const int f = getpixel(from, i, j);
                        ASSERT_EQ(getpixel(shown, i, j), f != mask ? f : before[j * w + i]);
                    }
            destroy_bitmap(to);
            destroy_bitmap(shown);
            destroy_bitmap(from);
        }
}

}  // namespace

// The play picture a frame copies from the kept still picture is the one
// drawn in full, pixel for pixel: on every shipped level, all through its
// solution demo (digging, pickups, bursts, the shields opening, the door),
// with the game's own pictures and font. And the editor's layer views,
// repainted where the grid changed, match views painted afresh.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "base/frame.h"
#include "base/resources.h"
#include "gameplay/figures.h"
#include "level/demofile.h"
#include "level/demoplay.h"
#include "level/editor.h"
#include "level/headless.h"
#include "level/mapdraw.h"
#include "map/levelmap.h"
#include "platform/alfont/alfont.h"

namespace {

// Pixels that differ, with the first of them for the message.
long Differences(BITMAP *a, BITMAP *b, int *firstX, int *firstY)
{
    long n = 0;
    size_t bytes = (size_t)a->w * ((bitmap_color_depth(a) + 7) / 8);
    for (int y = 0; y < a->h; y++) {
        if (std::memcmp(a->line[y], b->line[y], bytes) == 0)
            continue;
        for (int x = 0; x < a->w; x++)
            if (getpixel(a, x, y) != getpixel(b, x, y) && n++ == 0)
                *firstX = x, *firstY = y;
    }
    return n;
}

BITMAP *Copy(BITMAP *from)
{
    BITMAP *copy = create_bitmap_ex(bitmap_color_depth(from), from->w, from->h);
    blit(from, copy, 0, 0, 0, 0, from->w, from->h);
    return copy;
}

class PlayPicture : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ASSERT_TRUE(StartHeadless(DELVORN_GAME_DIR "/Data.dat"));
        ASSERT_NE(nullptr, dataFile) << "build the data file first";
        alfont_init();
        mainFont = alfont_load_font(DELVORN_GAME_DIR "/Fonts/DigitalDream.ttf");
        ASSERT_NE(nullptr, mainFont);
        backBuffer = create_bitmap(800, 600);
        for (BITMAP *&view : editorLayers)
            view = create_bitmap(800, 600);
        ASSERT_TRUE(CreatePlayStill());
    }
};

}  // namespace

TEST_F(PlayPicture, StillAndFullCompositionAgreeThroughEverySolution)
{
    BITMAP *fromStill = create_bitmap(800, 600);
    for (int level = 1; level <= 20; level++) {
        Demo demo;
        std::string error;
        std::string demoPath = std::string(DELVORN_SOURCE_DIR) + "/content/levels/solutions/Zub" +
                               std::to_string(level) + ".dem";
        ASSERT_TRUE(ReadDemo(demoPath, &demo, &error)) << error;
        ASSERT_TRUE(StartDemo(demo, GameMapPath(DELVORN_GAME_DIR, level), &error)) << error;
        const long ticks = (long)demo.ticks.size();
        long compared = 0;
        for (long t = 0; t < ticks; t++) {
            PlayDemoTick(demo.ticks[t]);
            // A frame as the game draws it between its steps, so that the
            // still picture follows the map's changes one tick at a time.
            clear_bitmap(backBuffer);
            DrawPlayPicture();
            if (t % 37 != 0 && t != ticks - 1)
                continue;
            ComposePlayPicture(true);
            blit(backBuffer, fromStill, 0, 0, 0, 0, 800, 600);
            clear_bitmap(backBuffer);
            ComposePlayPicture(false);
            int x = 0, y = 0;
            long n = Differences(fromStill, backBuffer, &x, &y);
            ASSERT_EQ(0, n) << "level " << level << " tick " << t << ": first at (" << x << ", " << y << ")";
            compared++;
        }
        EXPECT_GE(compared, 10) << "level " << level;
        EXPECT_EQ(GameState::MAP, gameState) << "level " << level << ": the demo no longer reaches the exit";
    }
    destroy_bitmap(fromStill);
}

TEST_F(PlayPicture, EditorViewsFollowTheGridsChanges)
{
    ClearEditorMap();
    for (int c = 0; c < MAP_COLUMNS; c++)
        editorMap[0][16][c] = {0, c % 40};
    editorMap[1][0][24] = {0, 70};
    editorMap[2][3][3] = {1, 5};
    EnterEditor();
    DrawEditorFrame();
    // A drop, an erase, a code without a picture, a layer filled, a picture
    // larger than its cell (a code far past the last tile) and taken away again.
    editorMap[0][5][5] = {0, 3};
    editorMap[2][3][3] = {CELL_EMPTY, -1};
    editorMap[1][2][2] = {0, 5000};
    DrawEditorFrame();
    for (int r = 0; r < MAP_ROWS; r++)
        for (int c = 0; c < MAP_COLUMNS; c++)
            editorMap[2][r][c] = {1, (r + c) % 27};
    editorMap[1][4][4] = {1, PIC_BACKDROP - PIC_OBJECT};
    DrawEditorFrame();
    editorMap[1][4][4] = {0, 9};
    DrawEditorFrame();

    BITMAP *kept[MAP_LAYERS];
    for (int l = 0; l < MAP_LAYERS; l++)
        kept[l] = Copy(editorLayers[l]);
    EnterEditor();
    DrawEditorFrame();
    for (int l = 0; l < MAP_LAYERS; l++) {
        int x = 0, y = 0;
        EXPECT_EQ(0, Differences(kept[l], editorLayers[l], &x, &y))
            << "layer " << l << ": first at (" << x << ", " << y << ")";
        destroy_bitmap(kept[l]);
    }
    gameState = returnState = GameState::RUN;
}

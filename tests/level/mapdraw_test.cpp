// Map drawing: the backdrop and panel of the play frame, and the order in
// which DrawMap stacks layers and figures, read back from pixels.
#include <gtest/gtest.h>

#include <climits>

#include "base/resources.h"
#include "gameplay/figures.h"
#include "level/levelsetup.h"
#include "level/mapdraw.h"
#include "level/mapfile.h"
#include "map/levelmap.h"
#include "tests/support/level_support.h"

namespace {

const int BG = 5;
enum { HERO = 40001, ENEMY, ENEMY2, BAG, BOMB, HEART, POTION };

void Paint(GameObject *figure, int colour)
{
    for (int i = 0; i < figure->frameCount; i++)
        clear_to_color(figure->frames[i], colour);
}

class MapDrawing : public ::testing::Test {
protected:
    void SetUp() override
    {
        InstallFakeData();
        folder = EnterScratchFolder();
        ASSERT_EQ(1, InitCharacters());
        ResetLevel(1);
        backBuffer = create_bitmap_ex(16, 800, 600);
        clear_to_color(backBuffer, BG);
        Paint(hero, HERO);
        Paint(enemies[0], ENEMY);
        Paint(enemies[1], ENEMY2);
        for (GameObject *bag : moneyBags)
            Paint(bag, BAG);
        for (GameObject *bomb : bombs)
            Paint(bomb, BOMB);
        Paint(heart, HEART);
        Paint(potion, POTION);
        for (GameObject *enemy : enemies)
            enemy->state = 0;
        hero->SetPosition(0, 480);
    }
    void TearDown() override
    {
        ReleaseMap();
        DeleteCharacters();
        destroy_bitmap(backBuffer);
        backBuffer = nullptr;
        RemoveFakeData();
    }
    void Load(const std::vector<CellValue> &cells)
    {
        std::string path = folder + "/test.map";
        WriteCodes(path, MapCodes(cells));
        ASSERT_EQ(1, LoadMapFile(path.c_str()));
    }
    // The colour in the middle of cell (column, row 1).
    int At(int column) { return getpixel(backBuffer, column * 32 + 16, 48); }
    void Put(GameObject *figure, int column, int state)
    {
        figure->SetPosition(column * 32, 32);
        figure->state = state;
    }
    std::string folder;
};

}  // namespace

TEST_F(MapDrawing, StacksLayersAndFiguresInTheirFixedOrder)
{
    Load({{0, 1, 1, 3},
          {0, 1, 2, 3},
          {0, 1, 3, 3},
          {2, 1, 3, 5},
          {2, 1, 4, 5},
          {1, 1, 4, 7},
          {1, 1, 5, 7},
          {2, 1, 5, 22},
          {2, 1, 6, 22},
          {1, 1, 7, 7},
          {2, 1, 7, 19},
          {0, 1, 15, 3},
          {0, 15, 0, 3}});
    // ResetLevel/LoadMap placed nothing of these; put them by hand.
    hero->state = 0;  // the hero is drawn in every state
    Put(enemies[0], 3, 1);
    Put(heart, 5, 1);
    Put(potion, 7, 1);
    Put(bombs[0], 8, 1);  // in stock: not drawn
    Put(bombs[1], 9, 0);
    Put(bombs[2], 10, 2);
    Put(moneyBags[0], 11, 1);
    Put(moneyBags[1], 12, 0);
    Put(enemies[2], 13, 0);
    Put(enemies[1], 15, 1);
    Put(moneyBags[2], 15, 2);  // a bag over an enemy
    Put(moneyBags[3], 16, 3);
    Put(bombs[3], 16, 0);   // a bomb over a bag
    enemies[3]->state = 1;  // over the hero
    enemies[3]->SetPosition(16, 480);
    Paint(enemies[3], ENEMY2);

    DrawMap();

    EXPECT_EQ(EntryColour(5), At(1));   // layer 0
    EXPECT_EQ(EntryColour(83), At(3));  // layer 2 over an enemy
    EXPECT_EQ(EntryColour(9), At(4));   // layer 1 over layer 2
    EXPECT_EQ(HEART, At(5));            // the heart over layer 1
    EXPECT_EQ(BG, At(6));               // the heart's cell itself: never
    EXPECT_EQ(POTION, At(7));           // the potion over layers 1 and 2
    EXPECT_EQ(BG, At(8));
    EXPECT_EQ(BOMB, At(9));
    EXPECT_EQ(BOMB, At(10));
    EXPECT_EQ(BAG, At(11));
    EXPECT_EQ(BG, At(12));
    EXPECT_EQ(BG, At(13));
    EXPECT_EQ(BG, At(14));  // an empty layer-0 cell shows what lies beneath
    EXPECT_EQ(BAG, At(15));
    EXPECT_EQ(BOMB, At(16));
    EXPECT_EQ(HERO, getpixel(backBuffer, 8, 496));     // hero over layer 0
    EXPECT_EQ(ENEMY2, getpixel(backBuffer, 24, 496));  // an enemy over the hero
    // Cells are drawn on their own squares, not where they were created.
    EXPECT_EQ(EntryColour(5), getpixel(backBuffer, 32, 32));
    EXPECT_EQ(BG, getpixel(backBuffer, 31, 31));
}

TEST_F(MapDrawing, GoldFrameOfABurstBagCellIsShown)
{
    Load({{2, 1, 1, 5}});
    SetCellCode(2, 1, 1, 91);
    ShowCellFrame(2, 1, 1, 1);
    DrawMap();
    EXPECT_EQ(EntryColour(91), At(1));
}

TEST_F(MapDrawing, CodesWithoutPicturesDrawTheBlankPreset)
{
    Load({{0, 1, 1, INT_MIN}, {1, 1, 2, INT_MAX}, {2, 1, 3, 5000}, {0, 1, 4, -7}});
    DrawMap();
    EXPECT_EQ(EntryColour(91), At(1));
    EXPECT_EQ(EntryColour(91), At(2));
    EXPECT_EQ(EntryColour(91), At(3));
    EXPECT_EQ(EntryColour(91), At(4));
}

TEST_F(MapDrawing, PlayFramePutsBackdropMapAndPanel)
{
    Load({{0, 1, 1, 3}});
    DrawPlayFrame();
    EXPECT_EQ(EntryColour(292), getpixel(backBuffer, 5, 5));
    EXPECT_EQ(EntryColour(5), At(1));
    EXPECT_EQ(BG, getpixel(backBuffer, 3, 544));
    EXPECT_EQ(EntryColour(298), getpixel(backBuffer, 3, 545));
    EXPECT_EQ(EntryColour(298), getpixel(backBuffer, 31, 576));
    EXPECT_EQ(BG, getpixel(backBuffer, 3, 577));
}

TEST_F(MapDrawing, NothingToDrawWithoutAMapOrBuffer)
{
    DrawMap();
    EXPECT_EQ(BG, getpixel(backBuffer, 16, 496));
    BITMAP *kept = backBuffer;
    backBuffer = nullptr;
    Load({{0, 1, 1, 3}});
    DrawPlayFrame();
    DrawMap();
    backBuffer = kept;
    EXPECT_EQ(BG, At(1));
}

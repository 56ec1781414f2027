// Money bags: pushing, holding from below, wobble and fall timings, what a
// landing leaves and whom it squashes.
#include "play_support.h"

#include "gameplay/enemies.h"
#include "gameplay/figures.h"
#include "map/levelmap.h"

namespace {

using BagTest = PlayTest;

TEST_F(BagTest, PushedRightUntilTheTunnelEndsAndLeftAtDoubleStep)
{
    Set(2, 13, 15, 12);
    DigRow(15, 12, 16);
    Load();
    ParkEnemies();
    EXPECT_EQ(CellCode(2, 13, 15), CELL_EMPTY);  // the bag start is consumed
    Steps(21, "R");
    EXPECT_EQ((int)hero->x, 468);
    EXPECT_EQ((int)moneyBags[0]->x, 496);
    // Earth in column 17 stops the bag; the hero stays clear of it.
    Steps(20, "R");
    EXPECT_EQ((int)moneyBags[0]->x, 512);
    EXPECT_EQ((int)hero->x, 488);
    EXPECT_EQ(CellCode(0, 17, 15), 1);
    EXPECT_EQ(moneyBags[0]->state, 1);
}

TEST_F(BagTest, PushedLeftSixteenPixelsATimeIntoTunnelOnly)
{
    Set(2, 10, 15, 12);
    DigRow(15, 8, 12);
    Load();
    ParkEnemies();
    Steps(11, "L");
    EXPECT_EQ((int)hero->x, 340);
    EXPECT_EQ((int)moneyBags[0]->x, 304);
    Steps(30, "L");
    EXPECT_EQ((int)moneyBags[0]->x, 272);
    EXPECT_EQ((int)hero->x, 296);
}

TEST_F(BagTest, BlockedBagAndTheMapEdges)
{
    // Against earth: neither bag nor hero gains ground.
    Set(2, 13, 15, 12);
    // Column 1 with dug column 0: the bag stays, the hero walks through.
    Set(2, 1, 10, 12);
    DigRow(10, 0, 3);
    // Column 24: never pushed right.
    Set(2, 24, 5, 12);
    DigRow(5, 22, 24);
    Load();
    ParkEnemies();
    // Bags are numbered in map order: (24, 5), (1, 10), (13, 15).
    Steps(6, "R");
    EXPECT_EQ((int)moneyBags[2]->x, 416);
    EXPECT_EQ((int)hero->x, 392);

    PlaceHero(96, 320);
    Steps(30, "L");
    EXPECT_EQ((int)moneyBags[1]->x, 32);
    EXPECT_EQ((int)hero->x, 0);

    PlaceHero(704, 160);
    Steps(20, "R");
    EXPECT_EQ((int)moneyBags[0]->x, 768);
    EXPECT_EQ((int)hero->x, 744);
}

TEST_F(BagTest, BlockedByEarthOnTheLeftStopsTheHero)
{
    Set(2, 1, 10, 12);
    DigRow(10, 1, 3);
    Load();
    ParkEnemies();
    PlaceHero(96, 320);
    Steps(30, "L");
    EXPECT_EQ((int)moneyBags[0]->x, 32);
    EXPECT_EQ((int)hero->x, 56);
}

TEST_F(BagTest, WalkingDownOntoARestingBagPushesTheHeroBackUp)
{
    Set(2, 12, 12, 12);
    Load();
    ParkEnemies();
    PlaceHero(384, 320);
    Steps(10, "D");
    EXPECT_EQ((int)hero->y, 360);
    Step("D");
    EXPECT_EQ((int)hero->y, 348);  // left between rows
    EXPECT_EQ(moneyBags[0]->state, 1);
    EXPECT_EQ((int)moneyBags[0]->y, 384);
}

TEST_F(BagTest, WobblesSixteenTicksThenFallsFasterAndBurstsIntoGold)
{
    Set(2, 5, 10, 12);
    DigColumn(5, 11, 13);
    Set(2, 3, 16, 12);  // the bottom row: nothing below, never wobbles
    Load();
    ParkEnemies();
    GameObject *bag = moneyBags[0];
    Steps(15);
    EXPECT_EQ(bag->state, 3);
    EXPECT_GE((int)bag->x, 158);
    EXPECT_LE((int)bag->x, 159);
    // The last wobble left the bag a pixel or two up in the cell above, so
    // it settles at its rest for a tick before the drop.
    Step();
    EXPECT_EQ(bag->state, 2);
    EXPECT_EQ((int)bag->y, 320);
    Step();
    EXPECT_EQ((int)bag->y, 336);
    Step();
    EXPECT_EQ((int)bag->y, 353);
    Steps(3);
    EXPECT_EQ(bag->state, 2);
    EXPECT_EQ((int)bag->y, 410);
    Step();
    EXPECT_EQ(bag->state, 0);
    EXPECT_EQ(CellCode(2, 5, 13), 91);
    EXPECT_EQ(CellSprite(2, 5, 13)->currentFrame, 1);
    EXPECT_EQ(moneyBags[1]->state, 1);
}

TEST_F(BagTest, AnObjectBelowStopsTheFallAfterOneStep)
{
    Set(2, 5, 10, 12);
    Dig(5, 11);
    Set(2, 5, 11, 3);
    Load();
    ParkEnemies();
    Steps(17);
    EXPECT_EQ(moneyBags[0]->state, 0);
    EXPECT_EQ(CellCode(2, 5, 10), 91);
    EXPECT_EQ(CellCode(2, 5, 11), 3);
}

TEST_F(BagTest, HeldFromBelowUntilUpIsReleasedThenItCatchesTheHero)
{
    Set(2, 12, 13, 12);
    DigColumn(12, 14, 15);
    Load();
    ParkEnemies();
    GameObject *bag = moneyBags[0];
    Steps(60, "U");
    EXPECT_EQ(bag->state, 3);
    EXPECT_EQ((int)hero->y, 436);

    Steps(14);
    EXPECT_EQ(bag->state, 3);
    Step();
    EXPECT_EQ(bag->state, 2);
    Step();
    EXPECT_EQ(hero->state, 2);
    EXPECT_EQ(hero->y, bag->y);
    Steps(3);
    EXPECT_EQ(bag->state, 0);
    EXPECT_EQ(hero->state, 0);
    EXPECT_EQ((int)hero->y, 480);
    EXPECT_EQ(CellCode(2, 12, 15), 91);

    // The restart picks up the gold the bag left in the hero's own cell.
    Steps(65);
    EXPECT_EQ(hero->state, 1);
    EXPECT_EQ(lives, 2);
    EXPECT_EQ(score, 500);
    EXPECT_EQ(CellCode(2, 12, 15), CELL_EMPTY);
}

TEST_F(BagTest, LandingSquashesEnemiesForAThousandEach)
{
    Set(2, 5, 10, 12);
    DigColumn(5, 11, 13);
    Load();
    ParkEnemies();
    enemies[0]->SetPosition(160, 384);
    enemies[4]->SetPosition(160, 416);
    enemies[4]->work[ENEMY_RETURNS_LEFT] = 0;
    enemies[4]->state = 0;  // dead for good: not caught, no points
    Steps(22);
    EXPECT_EQ(moneyBags[0]->state, 0);
    EXPECT_EQ(score, 1000);
    EXPECT_EQ((int)enemies[0]->x, 768);
    EXPECT_EQ((int)enemies[0]->y, 0);
    EXPECT_EQ(enemies[0]->state, 1);
    EXPECT_EQ(enemies[0]->work[ENEMY_RETURNS_LEFT], 2);
    EXPECT_EQ(enemies[4]->state, 0);
    EXPECT_EQ((int)enemies[4]->y, 416);
}

TEST_F(BagTest, ALongDropLandsOnTheBottomRow)
{
    Set(2, 2, 0, 12);
    DigColumn(2, 1, 16);
    Load();
    ParkEnemies();
    Steps(16 + 21);
    EXPECT_EQ(moneyBags[0]->state, 0);
    EXPECT_EQ(CellCode(2, 2, 16), 91);
}

}  // namespace

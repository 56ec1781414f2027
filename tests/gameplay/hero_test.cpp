// The hero on the grid: turns only at grid lines, shields, the exit, the
// pickup table, death and restart.
#include "play_support.h"

#include "base/frame.h"
#include "gameplay/figures.h"
#include "gameplay/hero.h"
#include "map/levelmap.h"

namespace {

using HeroTest = PlayTest;

TEST_F(HeroTest, TurnsWaitForTheGridLineAndRightBeatsUp)
{
    Load();
    ParkEnemies();
    Steps(5, "U");
    EXPECT_EQ((int)hero->y, 460);

    // Off the row line, RIGHT keeps the hero going up until y is aligned.
    Steps(3, "R");
    EXPECT_EQ((int)hero->x, 384);
    EXPECT_EQ((int)hero->y, 448);
    Step("RU");
    EXPECT_EQ((int)hero->x, 388);
    EXPECT_EQ((int)hero->y, 448);
    // A right step digs the cell its far edge has entered.
    EXPECT_EQ(CellCode(0, 13, 14), 71);

    Step();
    EXPECT_EQ(hero->sequenceIndex, 0);
    EXPECT_EQ(hero->work[HERO_HOLDING_UP], 0);
}

TEST_F(HeroTest, OffBothGridLinesTheHeroStaysPut)
{
    Load();
    ParkEnemies();
    PlaceHero(380, 460);
    for (int last = 1; last <= 2; last++) {
        hero->work[HERO_LAST_DIRECTION] = last;
        MoveZubRight();
        MoveZubUp();
        EXPECT_EQ((int)hero->x, 380);
        EXPECT_EQ((int)hero->y, 460);
    }
}

TEST_F(HeroTest, ShieldsBlockUntilTheLastItemIsTaken)
{
    Set(1, 11, 15, 9);
    Set(1, 13, 15, 9);
    Set(1, 12, 16, 9);
    Set(2, 12, 14, 5);  // the level's only item, above the hero
    Load();
    ParkEnemies();
    Step("L");
    Step("R");
    Step("D");
    EXPECT_EQ((int)hero->x, 384);
    EXPECT_EQ((int)hero->y, 480);

    EXPECT_FALSE(shieldsOpen);
    Step("U");
    EXPECT_EQ(itemsLeft, 0);
    EXPECT_EQ(score, 50);
    EXPECT_TRUE(shieldsOpen);
    EXPECT_EQ(CellCode(1, 11, 15), CELL_EMPTY);
    EXPECT_EQ(CellCode(1, 12, 16), CELL_EMPTY);
}

TEST_F(HeroTest, LevelWithoutItemsOpensItsShieldsAtTheFirstPickup)
{
    Set(1, 0, 0, 9);
    Set(2, 11, 15, 22);
    Load();
    ParkEnemies();
    EXPECT_EQ(itemsLeft, 0);
    Step();
    EXPECT_FALSE(shieldsOpen);
    Step("L");
    EXPECT_TRUE(shieldsOpen);
    EXPECT_EQ(lives, 4);
}

TEST_F(HeroTest, ExitIsHandledBeforeDiggingAndPickups)
{
    Set(0, 11, 15, 0);
    Set(2, 11, 15, 5);
    Load();
    ParkEnemies();
    int items = itemsLeft;
    Step("L");
    EXPECT_EQ(gameState, GameState::MAP);
    EXPECT_EQ(score, 250);
    EXPECT_EQ(CellCode(0, 11, 15), 9);
    EXPECT_EQ(CellCode(2, 11, 15), 5);
    EXPECT_EQ(itemsLeft, items);
}

TEST_F(HeroTest, PickupsScoreAndGiveWhatTheyShould)
{
    Set(2, 11, 15, 16);
    Set(2, 10, 15, 19);
    Set(2, 9, 15, 22);
    Set(2, 7, 15, 3);
    Set(2, 0, 0, 4);  // keeps the shields shut
    Load();
    ParkEnemies();
    SetCellCode(2, 8, 15, 91);  // gold only ever appears in play
    EXPECT_EQ(itemsLeft, 2);

    Step("L");
    EXPECT_EQ(score, 250);
    EXPECT_EQ(bombCapacity, 2);
    Steps(8, "L");
    EXPECT_EQ(score, 750);
    EXPECT_EQ(potionActive, 1);
    EXPECT_EQ(potion->state, 0);
    Steps(8, "L");
    EXPECT_EQ(score, 1150);
    EXPECT_EQ(lives, 4);
    Steps(8, "L");
    EXPECT_EQ(score, 1650);
    EXPECT_EQ(itemsLeft, 2);
    Steps(8, "L");
    EXPECT_EQ(score, 1700);
    EXPECT_EQ(itemsLeft, 1);
    for (int c = 7; c <= 11; c++)
        EXPECT_EQ(CellCode(2, c, 15), CELL_EMPTY) << c;
}

TEST_F(HeroTest, BombPickupsStopAtTwelveAndHeartsHaveNoLimit)
{
    Set(2, 11, 15, 16);
    Set(2, 13, 15, 22);
    Load();
    ParkEnemies();
    bombCapacity = 12;
    lives = 99;
    Step("L");
    EXPECT_EQ(bombCapacity, 12);
    Steps(12, "R");
    EXPECT_EQ(lives, 100);
}

TEST_F(HeroTest, DyingTakesSixtyFiveTicksThenEnemiesGoHome)
{
    Load();
    ParkEnemies();
    enemies[2]->SetPosition(100, 96);
    potionActive = 1;
    KillHero();
    Steps(64, "R");
    EXPECT_EQ(hero->state, 3);
    EXPECT_EQ(lives, 3);
    EXPECT_EQ((int)hero->x, 384);  // no moves while dying
    Step("R");
    EXPECT_EQ(hero->state, 1);
    EXPECT_EQ(lives, 2);
    EXPECT_EQ((int)enemies[2]->x, 768);
    EXPECT_EQ((int)enemies[2]->y, 0);
    EXPECT_EQ(enemies[2]->work[ENEMY_START_DELAY], 149);  // counted this tick
    EXPECT_EQ(potionActive, 0);

    keepLives = true;
    KillHero();
    Steps(65);
    EXPECT_EQ(hero->state, 1);
    EXPECT_EQ(lives, 2);
}

}  // namespace

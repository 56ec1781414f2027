// Enemies: the ranking of directions and the reverse rule, start delays and
// pauses at turns, bumps and digging mode, deaths and returns, the potion.
#include "play_support.h"

#include "gameplay/enemies.h"
#include "gameplay/figures.h"
#include "gameplay/hero.h"
#include "map/levelmap.h"

namespace {

class EnemyTest : public PlayTest {
protected:
    // Enemy 0 alone, standing on cell (column, row), heading `direction`.
    GameObject *Lone(int column, int row, int direction)
    {
        ParkEnemies();
        GameObject *e = enemies[0];
        e->SetPosition(column * 32, row * 32);
        e->work[ENEMY_START_DELAY] = 0;
        e->work[ENEMY_DIRECTION] = direction;
        e->work[ENEMY_OFFSET_X] = e->work[ENEMY_OFFSET_Y] = 0;
        e->work[ENEMY_PAUSE_TICKS] = 0;
        return e;
    }
    void Crossing(int column, int row)
    {
        Dig(column, row);
        Dig(column - 1, row);
        Dig(column + 1, row);
        Dig(column, row - 1);
        Dig(column, row + 1);
    }
};

TEST_F(EnemyTest, RanksTowardTheHeroAndTriesTheWayBackLast)
{
    Crossing(6, 8);
    Load(5);  // from level 5 on the ranking is never shuffled
    PlaceHero(384, 256);

    // Level with the hero, to its left: right first.
    GameObject *e = Lone(6, 8, 1);
    NPCAI(0);
    EXPECT_EQ(e->work[ENEMY_DIRECTION], 1);
    EXPECT_EQ((int)e->x, 196);
    EXPECT_EQ(e->work[ENEMY_PAUSE_TICKS], 0);

    // Coming from the right (heading left), right is the way back: it goes
    // last, so down (the next in rank) wins, with a pause for the turn.
    e = Lone(6, 8, 0);
    NPCAI(0);
    EXPECT_EQ(e->work[ENEMY_DIRECTION], 2);
    EXPECT_EQ(e->work[ENEMY_PAUSE_TICKS], 1);

    // The potion turns the ranking round: left, up, down, right; left is the
    // way back here, so up.
    potionActive = 1;
    e = Lone(6, 8, 1);
    NPCAI(0);
    EXPECT_EQ(e->work[ENEMY_DIRECTION], 3);
    potionActive = 0;

    // Far more below than beside: down first.
    PlaceHero(224, 512);
    e = Lone(6, 8, 2);
    NPCAI(0);
    EXPECT_EQ(e->work[ENEMY_DIRECTION], 2);
}

TEST_F(EnemyTest, DeadEndTurnsBack)
{
    DigRow(8, 4, 6);
    Load(5);
    PlaceHero(384, 480);
    GameObject *e = Lone(6, 8, 1);
    NPCAI(0);
    EXPECT_EQ(e->work[ENEMY_DIRECTION], 0);
    EXPECT_EQ(e->work[ENEMY_PAUSE_TICKS], 1);
    EXPECT_EQ((int)e->x, 188);
}

TEST_F(EnemyTest, StartDelaysAndAOneTickPauseAtEveryTurn)
{
    DigColumn(24, 0, 15);
    DigRow(15, 0, 24);
    Load(5);
    Steps(50);
    for (int i = 0; i < ENEMY_COUNT; i++)
        EXPECT_EQ((int)enemies[i]->y, 0) << i;
    Step();
    EXPECT_EQ((int)enemies[0]->y, 4);
    EXPECT_EQ(enemies[0]->work[ENEMY_DIRECTION], 2);
    Step();
    EXPECT_EQ((int)enemies[0]->y, 4);  // the pause for leaving home
    Step();
    EXPECT_EQ((int)enemies[0]->y, 8);
    Steps(47);
    EXPECT_EQ((int)enemies[1]->y, 0);
    Step();
    EXPECT_EQ((int)enemies[1]->y, 4);
}

TEST_F(EnemyTest, BumpsTurnEnemiesAndTheSixthStartsADiggingSpell)
{
    DigRow(8, 2, 12);
    Load(5);
    PlaceHero(384, 480);
    ParkEnemies();
    GameObject *a = enemies[0], *b = enemies[1];
    a->SetPosition(192, 256);
    b->SetPosition(208, 256);
    a->work[ENEMY_START_DELAY] = 0;
    a->work[ENEMY_BUMP_COOLDOWN] = 0;
    a->work[ENEMY_DIRECTION] = 0;
    a->work[ENEMY_OFFSET_X] = 4;  // between cells: no decision this tick
    a->x = 196;
    Step();
    EXPECT_EQ(a->work[ENEMY_DIRECTION], 1);
    EXPECT_EQ(a->work[ENEMY_BUMP_COUNT], 1);
    EXPECT_EQ(a->work[ENEMY_BUMP_COOLDOWN], 25);

    // After the sixth bump the next decision digs toward the hero for 20
    // decisions; the 21st decision is an ordinary one again.
    GameObject *e = Lone(6, 8, 1);
    e->work[ENEMY_BUMP_COUNT] = 6;
    int digDecisions = 0;
    for (int k = 0; k < 21; k++) {
        e->work[ENEMY_OFFSET_X] = e->work[ENEMY_OFFSET_Y] = 0;
        e->SetPosition(6 * 32, 8 * 32);
        NPCAI(0);
        if (e->work[ENEMY_DIGGING] == 1)
            digDecisions++;
    }
    EXPECT_EQ(digDecisions, 20);
    EXPECT_EQ(e->work[ENEMY_DIGGING], 0);
    EXPECT_EQ(e->work[ENEMY_BUMP_COUNT], 0);
}

TEST_F(EnemyTest, DiggingEnemyDigsDestroysItemsButNeverTheExit)
{
    Set(2, 7, 8, 3);
    Set(2, 0, 0, 4);
    Set(0, 6, 10, 0);
    Load(5);
    PlaceHero(384, 256);
    GameObject *e = Lone(6, 8, 1);
    e->work[ENEMY_BUMP_COUNT] = 6;
    int items = itemsLeft;
    for (int k = 0; k < 8; k++)
        NPCAI(0);
    EXPECT_EQ(CellCode(0, 7, 8), 71);
    EXPECT_EQ(CellCode(2, 7, 8), CELL_EMPTY);
    EXPECT_EQ(itemsLeft, items - 1);

    PlaceHero(192, 512);
    e = Lone(6, 9, 2);
    e->work[ENEMY_DIGGING] = 1;
    e->work[ENEMY_DIGGING_LEFT] = 20;
    for (int k = 0; k < 8; k++)
        NPCAI(0);
    EXPECT_EQ(CellCode(0, 6, 10), 0);
}

TEST_F(EnemyTest, EatenThreeTimesComesBackTheFourthTimeStaysDead)
{
    Load(5);
    ParkEnemies();
    potionActive = 1;
    GameObject *e = enemies[3];
    for (int k = 1; k <= 4; k++) {
        e->SetPosition(392, 480);
        e->work[ENEMY_START_DELAY] = 0;
        e->work[ENEMY_OFFSET_X] = 4;  // mid-cell: no decision, no pause
        e->work[ENEMY_DIRECTION] = 4;
        Step();
        EXPECT_EQ(score, 800 * k);
    }
    EXPECT_EQ(e->state, 0);
    EXPECT_EQ((int)e->x, 392);
    for (int k = 0; k < 3; k++)
        EXPECT_NE(enemies[k]->state, 0);
}

TEST_F(EnemyTest, TouchKillsTheHeroWithoutAPotion)
{
    Load(5);
    ParkEnemies();
    GameObject *e = enemies[1];
    e->SetPosition(392, 480);
    e->work[ENEMY_START_DELAY] = 0;
    e->work[ENEMY_OFFSET_X] = 4;
    e->work[ENEMY_DIRECTION] = 4;
    Step();
    EXPECT_EQ(hero->state, 0);
    EXPECT_EQ(hero->work[HERO_DEATH_COUNTDOWN], 64);
    EXPECT_EQ(e->state, 1);
}

TEST_F(EnemyTest, PotionClockRunsOncePerMovingEnemy)
{
    // One way out each: after the first turn there is nothing to turn to.
    Dig(3, 4);
    Dig(8, 4);
    Dig(13, 4);
    Load(5);
    ParkEnemies();
    // A caught hero freezes the enemies in place, so they decide every tick.
    hero->state = 2;
    for (int i = 0; i < 3; i++) {
        enemies[i]->SetPosition(64 + 160 * i, 128);
        enemies[i]->work[ENEMY_START_DELAY] = 0;
    }
    enemies[3]->state = enemies[4]->state = 0;
    potionActive = 1;
    Steps(342);
    EXPECT_EQ(potionActive, 1);
    Step();
    EXPECT_EQ(potionActive, 0);
    EXPECT_EQ(hero->work[HERO_POTION_TIME], 1024);
    EXPECT_EQ(enemies[0]->sequenceIndex, 4);
}

TEST_F(EnemyTest, OnlyADiggingEnemyPassesTheEdgeAndItTurnsBack)
{
    EXPECT_FALSE(EnemyCanMove(1, 24, 3));
    EXPECT_FALSE(EnemyCanMove(3, 5, 0));
    EXPECT_FALSE(EnemyCanMove(4, 5, 5));
    Load(5);
    PlaceHero(768, 128);
    GameObject *e = Lone(24, 4, 1);
    e->work[ENEMY_DIGGING] = 1;
    e->work[ENEMY_DIGGING_LEFT] = 20;
    int furthest = 0;
    // Out to x 800; right is then the way back, so down one cell, then home
    // along the row below.
    for (int k = 0; k < 24; k++) {
        NPCAI(0);
        if ((int)e->x > furthest)
            furthest = (int)e->x;
    }
    EXPECT_EQ(furthest, 800);
    EXPECT_EQ((int)e->x, 768);
    EXPECT_EQ((int)e->y, 160);

    // Past the edge and still heading out: turned round.
    e = Lone(24, 4, 1);
    e->x = 804;
    e->work[ENEMY_OFFSET_X] = 4;
    NPCAI(0);
    EXPECT_EQ(e->work[ENEMY_DIRECTION], 0);
    EXPECT_EQ((int)e->x, 808);
}

}  // namespace

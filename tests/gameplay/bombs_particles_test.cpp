// Bombs: one per press, the fuse and the blast, and whom the blast kills.
// Particles: bursts retire on their own even when no frame is drawn.
#include "play_support.h"

#include <cmath>
#include <vector>

#include "base/frame.h"
#include "gameplay/bombs.h"
#include "gameplay/figures.h"
#include "gameplay/particles.h"
#include "level/demofile.h"
#include "level/demoplay.h"
#include "level/play.h"

namespace {

using BombTest = PlayTest;

TEST_F(BombTest, FuseBurnsThirtyThreeTicksAndTheBlastSeventeen)
{
    Load();
    ParkEnemies();
    GameObject *bomb = bombs[0];
    Step("F");
    EXPECT_EQ(bombsOut, 1);
    EXPECT_EQ(bomb->state, 0);
    Steps(8, "L");  // well out of the blast
    Steps(24);
    EXPECT_EQ(bomb->state, 0);
    Step("F");  // the capacity is used up: nothing is dropped
    EXPECT_EQ(bomb->state, 2);
    EXPECT_EQ(bombs[1]->state, 1);
    Steps(15);
    EXPECT_EQ(bomb->state, 2);
    Step("F");  // the blast ends and a new bomb is dropped in the same tick
    EXPECT_EQ(bombsOut, 1);
    EXPECT_EQ(bomb->state, 0);
    EXPECT_EQ(hero->state, 1);
}

TEST_F(BombTest, HoldingSpaceDropsOneBombPerPress)
{
    Load();
    ParkEnemies();
    bombCapacity = 3;
    Steps(5, "F");
    EXPECT_EQ(bombsOut, 1);
    Step();
    Step("F");
    EXPECT_EQ(bombsOut, 2);
}

// A pause pressed with the bomb key held: the pause acts outside play, but
// while it is held the bomb key must not act, in the game and in a replay.
TEST_F(BombTest, AHeldPauseKeyKeepsTheBombFromDroppingInTheGameAndItsReplay)
{
    std::vector<uint8_t> recorded;
    Load();
    ParkEnemies();
    bool latchedAtStart = PlayKeysLatched();
    PlayInput pause = PlayInputFromLetters("");
    pause.pause = true;
    PlayInput pauseAndFire = pause;
    pauseAndFire.fire = true;
    for (const PlayInput &in : {pause, pauseAndFire, PlayInputFromLetters("F")}) {
        PlayLogicStep(in);
        gameState = GameState::RUN;  // the loop resumes play after the pause page
        recorded.push_back(DemoTickOf(in));
    }
    EXPECT_EQ(bombsOut, 0);

    Load();
    ParkEnemies();
    SetPlayKeysLatched(latchedAtStart);
    for (uint8_t tick : recorded)
        PlayDemoTick(tick);
    EXPECT_EQ(bombsOut, 0);
}

TEST_F(BombTest, BlastKillsTheHeroStandingOnItAndEnemiesForAThousand)
{
    Dig(10, 15);  // one way out, so the enemy never pauses to turn
    Load(5);
    ParkEnemies();
    GameObject *e = enemies[2];
    e->SetPosition(352, 480);
    e->work[ENEMY_START_DELAY] = 0;
    e->work[ENEMY_OFFSET_X] = 4;
    e->work[ENEMY_DIRECTION] = 4;
    hero->state = 2;  // holds the enemy still; the hero is not in the blast yet
    hero->SetPosition(360, 480);
    DropBomb();
    bombsOut = 1;
    hero->SetPosition(384, 480);
    Steps(33);
    EXPECT_EQ(bombs[0]->state, 2);
    EXPECT_EQ(score, 0);
    Step();
    EXPECT_EQ(score, 1000);
    EXPECT_EQ((int)e->x, 768);
    EXPECT_EQ(e->work[ENEMY_RETURNS_LEFT], 2);

    hero->state = 1;
    hero->SetPosition(372, 480);
    Step();
    EXPECT_EQ(hero->state, 0);
}

TEST_F(BombTest, OverlappingBlastsPayOnceForAnEnemyThatStaysDead)
{
    Dig(10, 15);
    Load(5);
    ParkEnemies();
    GameObject *e = enemies[2];
    e->SetPosition(352, 480);
    e->work[ENEMY_START_DELAY] = 0;
    e->work[ENEMY_RETURNS_LEFT] = 0;
    hero->state = 2;
    for (int b = 0; b < 2; b++) {
        hero->SetPosition(348 + 8 * b, 480);
        DropBomb();
    }
    bombsOut = 2;
    Steps(34);
    EXPECT_EQ(e->state, 0);
    EXPECT_EQ(score, 1000);
}

TEST(Particles, BurstsRetireWhenTheirLifeRunsOutWithoutADraw)
{
    ParticleSet set;
    set.Restart();
    set.Spawn(100, 100, 0, 0, 0, 302);
    for (Particle *p : set.items) {
        EXPECT_EQ(p->life, 48);
        EXPECT_EQ(p->vx, std::floor(p->vx));
        EXPECT_GE(p->vx, -5);
        EXPECT_LE(p->vy, 4);
        EXPECT_EQ(p->ay, 0.8);
    }
    for (int t = 0; t < 47; t++)
        set.Update();
    EXPECT_EQ(set.items[0]->finished, 0);
    set.Update();
    double x = set.items[0]->x, y = set.items[0]->y;
    set.Update();
    for (Particle *p : set.items)
        EXPECT_EQ(p->finished, 1);
    EXPECT_EQ(set.items[0]->x, x);
    EXPECT_EQ(set.items[0]->y, y);

    set.Restart();
    EXPECT_EQ(set.items[0]->finished, 0);
    EXPECT_EQ(set.items[0]->life, 48);
}

TEST(Particles, StarBurstSpeedsUpAlongDirectionsThatAvoidStraightLeft)
{
    InitBurstDirections();
    for (int i = 0; i < 16; i++) {
        EXPECT_NEAR(std::hypot(burstDirX[i], burstDirY[i]), 1.0, 1e-6);
        EXPECT_LT(-burstDirX[i], std::cos(1.0));  // over 57 degrees off left
    }
    ParticleSet set;
    set.Restart();
    set.Spawn(400, 300, 2, 0, 0, 302);
    Particle *p = set.items[5];
    EXPECT_EQ(p->ax, p->vx);
    EXPECT_NEAR(std::hypot(p->vx, p->vy), 0.6, 1e-6);
    set.Update();
    set.Update();
    EXPECT_NEAR(p->x, 400 + 3 * p->ax, 1e-9);
}

}  // namespace

// moneybags.cpp: bags wobble over dug cells, fall, catch what they meet,
// land and burst into gold.
#include "gameplay/moneybags.h"

#include <cstdlib>

#include "base/log.h"
#include "base/sound.h"
#include "gameplay/enemies.h"
#include "gameplay/figures.h"
#include "gameplay/hero.h"
#include "gameplay/random.h"
#include "map/levelmap.h"

enum { WOBBLE_TICKS = 16, LOWEST_BAG_Y = 512 };

static void StartWobble(GameObject *bag)
{
    bag->state = BAG_WOBBLING;
    bag->work[BAG_REST_X] = (int)bag->x;
    bag->work[BAG_REST_Y] = (int)bag->y;
    SetBagFallSpeed(bag, 4.0f);
}

static void Wobble(GameObject *bag)
{
    // The hero pushing up from below holds the bag where it is.
    if (bag->Collides(hero) && hero->work[HERO_HOLDING_UP] != 0)
        bag->work[BAG_WOBBLE_TIME] = 0;
    bag->work[BAG_WOBBLE_TIME] += 1;
    if (bag->work[BAG_WOBBLE_TIME] < WOBBLE_TICKS) {
        int jitterX = GameRandom() % 2;
        bag->x = (float)(bag->work[BAG_REST_X] - 2 + jitterX);
        int jitterY = GameRandom() % 2;
        bag->y = (float)(bag->work[BAG_REST_Y] - 2 + jitterY);
        if (!bagWobbleSoundOn) {
            PlaySfx(SFX_BAG_WOBBLES);
            bagWobbleSoundOn = true;
        }
        return;
    }
    bag->work[BAG_WOBBLE_TIME] = 0;
    bag->state = BAG_FALLING;
    bag->x = (float)bag->work[BAG_REST_X];
    bag->y = (float)bag->work[BAG_REST_Y];
    PlaySfx(SFX_BAG_FALLS);
}

static void CatchRiders(GameObject *bag)
{
    if ((bag->Collides(hero) || hero->state == HERO_CAUGHT) && hero->state != HERO_KILLED &&
        hero->state != HERO_DYING) {
        hero->y = bag->y;
        hero->state = HERO_CAUGHT;
        if (!heroCaughtSoundOn) {
            PlaySfx(SFX_HERO_CAUGHT);
            heroCaughtSoundOn = true;
        }
        if (hero->sequenceIndex != HERO_SEQ_CAUGHT)
            hero->SetSequence(HERO_SEQ_CAUGHT);
    }
    for (int e = 0; e < ENEMY_COUNT; e++) {
        GameObject *enemy = enemies[e];
        if (enemy->state != ENEMY_INACTIVE && (bag->Collides(enemy) || enemy->state == ENEMY_CAUGHT)) {
            enemy->y = bag->y;
            enemy->state = ENEMY_CAUGHT;
        }
    }
}

static void Land(GameObject *bag, int column, int row)
{
    if (hero->state == HERO_CAUGHT) {
        KillHero();
        heroCaughtSoundOn = false;
        while ((int)hero->y % 32 != 0)
            hero->y -= 1.0f;
    }
    for (int e = 0; e < ENEMY_COUNT; e++) {
        if (enemies[e]->state == ENEMY_CAUGHT) {
            enemies[e]->state = ENEMY_INACTIVE;
            score += 1000;
            RespawnEnemy(e);
        }
    }
    bag->state = BAG_GONE;
    bagWobbleSoundOn = false;
    PlaySfx(SFX_BAG_BURSTS);
    SetCellCode(2, column, row, GOLD_CODE);
    ShowCellFrame(2, column, row, 1);
}

static void Fall(GameObject *bag)
{
    float speed = BagFallSpeed(bag);
    bag->y += speed * 4.0f;
    SetBagFallSpeed(bag, speed + 0.25f);
    // A long drop takes steps of more than a cell; the bottom row still
    // stops it, so the bag and its gold never end up below the map.
    if (((int)bag->y >> 5) >= MAP_ROWS)
        bag->y = (float)LOWEST_BAG_Y;

    CatchRiders(bag);

    int column = (int)bag->x >> 5;
    int row = (int)bag->y >> 5;
    bool goesOn = row + 1 < MAP_ROWS && CellCode(0, column, row + 1) == dugBlockCode &&
                  CellCode(2, column, row + 1) == CELL_EMPTY;
    if (!goesOn)
        Land(bag, column, row);
}

void ProcessMoneyBags()
{
    try {
        for (int i = 0; i < MONEYBAG_COUNT; i++) {
            GameObject *bag = moneyBags[i];
            int column = (int)bag->x >> 5;
            int row = (int)bag->y >> 5;
            bool dugBelow = CellCode(0, column, row + 1) == dugBlockCode;

            if (bag->state == BAG_RESTING && dugBelow && CellCode(2, column, row + 1) != BAG_START_CODE)
                StartWobble(bag);
            if (bag->state == BAG_WOBBLING)
                Wobble(bag);
            if (bag->state == BAG_FALLING && dugBelow)
                Fall(bag);
        }
    } catch (...) {
        LogExceptReport("ProcessMoneyBags");
    }
}

int CreatePathFinder()
{
    if (gameLog)
        gameLog->Printf("Creating PathFinder A* \n");
    for (int row = 0; row < MAP_ROWS; row++)
        for (int column = 0; column < MAP_COLUMNS; column++)
            if (CellCode(2, column, row) == BAG_START_CODE)
                SetCellCode(2, column, row, CELL_EMPTY);
    return 1;
}

// hero.cpp: the hero's steps on the grid, digging, pickups, the exit door,
// the shields, death and restart.
#include "gameplay/hero.h"

#include "gameplay/enemies.h"
#include "gameplay/figures.h"
#include "gameplay/particles.h"
#include "level/levelmap.h"
#include "level/levelsetup.h"
#include "shell/gameloop.h"
#include "shell/log.h"
#include "shell/sound.h"
#include "shell/startup.h"

enum { HERO_MAX_X = 768, HERO_MAX_Y = 512 };

// A step off the grid line hands over to the other axis, whose move is then
// on its grid line. Only the outermost move may hand over, so a hero that
// is off both lines (never the case in play) cannot bounce back and forth.
static int handoverDepth = 0;

static bool OnGridLine(int v)
{
    return v % 32 == 0;
}

static void ContinueVertically()
{
    if (handoverDepth > 0)
        return;
    handoverDepth++;
    if (hero->work[HERO_LAST_DIRECTION] == 1)
        MoveZubUp();
    if (hero->work[HERO_LAST_DIRECTION] == 2)
        MoveZubDown();
    handoverDepth--;
}

static void ContinueHorizontally()
{
    if (handoverDepth > 0)
        return;
    handoverDepth++;
    if (hero->work[HERO_LAST_DIRECTION] == 1)
        MoveZubRight();
    if (hero->work[HERO_LAST_DIRECTION] == 2)
        MoveZubLeft();
    handoverDepth--;
}

// The sequence carries on from where it was: set directly, not restarted.
static void WalkSequence(int index)
{
    if (hero->sequenceIndex != index)
        hero->sequenceIndex = index;
}

static bool ShieldAt(int column, int row)
{
    return CellCode(1, column, row) == SHIELD_CODE;
}

// Takes the step: the new position, the direction remembered for turns off
// the grid line, the walking sequence, and whether it was a step up.
static void TakeStep(int x, int y, int lastDirection, int sequence)
{
    hero->SetPosition(x, y);
    hero->work[HERO_LAST_DIRECTION] = lastDirection;
    WalkSequence(sequence);
    hero->work[HERO_HOLDING_UP] = sequence == 3 ? 1 : 0;
}

// After a sideways step (1 right, 2 left): the bag walked into moves on by
// bagStep, or the step is taken back when the bag cannot go.
static void PushBag(int direction, float bagStep)
{
    int b = FindPushedBag(direction);
    if (b == BAG_NONE)
        return;
    if (b == BAG_BLOCKED) {
        hero->x += direction == 1 ? -heroSpeed : heroSpeed;
        return;
    }
    int bagColumn = (int)(moneyBags[b]->x + (direction == 1 ? 32 : -32)) >> 5;
    if (bagColumn > 0 && bagColumn < MAP_COLUMNS)
        moneyBags[b]->x += bagStep;
}

void MoveZubRight()
{
    try {
        if (hero->state != 1)
            return;
        int x = (int)hero->x, y = (int)hero->y;
        if (!OnGridLine(y)) {
            ContinueVertically();
            return;
        }
        int nx = x + heroSpeed;
        if (nx > HERO_MAX_X)
            nx = HERO_MAX_X;
        if (!HeroCanEnter(nx + 31, y, true))
            return;
        TakeStep(nx, y, 1, 1);
        PushBag(1, 8.0f);
    } catch (...) {
        LogExceptReport("MoveZubRight");
    }
}

void MoveZubLeft()
{
    try {
        if (hero->state != 1)
            return;
        int x = (int)hero->x, y = (int)hero->y;
        if (!OnGridLine(y)) {
            ContinueVertically();
            return;
        }
        int nx = x - heroSpeed;
        if (nx < 0)
            nx = 0;
        if (ShieldAt(nx >> 5, y >> 5))
            return;
        TakeStep(nx, y, 2, 2);
        PushBag(2, -16.0f);
    } catch (...) {
        LogExceptReport("MoveZubLeft");
    }
}

void MoveZubUp()
{
    try {
        if (hero->state != 1)
            return;
        int x = (int)hero->x, y = (int)hero->y;
        if (!OnGridLine(x)) {
            ContinueHorizontally();
            return;
        }
        int ny = y - heroSpeed;
        if (ny < 0)
            ny = 0;
        if (!HeroCanEnter(x, ny, true))
            return;
        TakeStep(x, ny, 1, 3);
        if (FindBagUnderHero())
            hero->y += 4 * heroSpeed;
    } catch (...) {
        LogExceptReport("MoveZubUp");
    }
}

void MoveZubDown()
{
    try {
        if (hero->state != 1)
            return;
        int x = (int)hero->x, y = (int)hero->y;
        if (!OnGridLine(x)) {
            ContinueHorizontally();
            return;
        }
        int ny = y + heroSpeed;
        if (ny > HERO_MAX_Y)
            ny = HERO_MAX_Y;
        if (ShieldAt(x >> 5, (ny + 31) >> 5))
            return;
        TakeStep(x, ny, 2, 4);
        if (FindBagUnderHero())
            hero->y -= 4 * heroSpeed;
    } catch (...) {
        LogExceptReport("MoveZubDown");
    }
}

void HeroIdle()
{
    if (hero->state == 1 && hero->sequenceIndex != 0)
        hero->sequenceIndex = 0;
    hero->work[HERO_HOLDING_UP] = 0;
}

bool HeroCanEnter(int px, int py, bool checkBags)
{
    if (checkBags) {
        for (int i = 0; i < MONEYBAG_COUNT; i++)
            if (moneyBags[i]->state != 0 && hero->Collides(moneyBags[i]))
                return false;
    }
    return !ShieldAt(px >> 5, py >> 5);
}

int FindPushedBag(int direction)
{
    int dx = direction == 1 ? 32 : -32;
    for (int i = 0; i < MONEYBAG_COUNT; i++) {
        GameObject *bag = moneyBags[i];
        if (bag->state != 1 || !hero->Collides(bag))
            continue;
        // Bags only slide into dug tunnel; outside the map reads as earth.
        int column = ((int)bag->x + dx) >> 5;
        int row = (int)bag->y >> 5;
        return CellCode(0, column, row) == dugBlockCode ? i : BAG_BLOCKED;
    }
    return BAG_NONE;
}

bool FindBagUnderHero()
{
    for (int i = 0; i < MONEYBAG_COUNT; i++)
        if (moneyBags[i]->state == 1 && hero->Collides(moneyBags[i]))
            return true;
    return false;
}

void OpenShields()
{
    for (int row = 0; row < MAP_ROWS; row++)
        for (int column = 0; column < MAP_COLUMNS; column++)
            if (CellCode(1, column, row) == SHIELD_CODE)
                SetCellCode(1, column, row, CELL_EMPTY);
    PlaySfx(SFX_SHIELDS_OPEN);
    shieldsOpen = true;
}

void ResetHero()
{
    hero->SetPosition(384, 480);
    hero->state = 1;
    hero->work[HERO_LAST_DIRECTION] = 0;
    hero->SetFrameDelay(6);
    hero->SetSequence(0);
    hero->work[HERO_HOLDING_UP] = 0;
    hero->work[HERO_POTION_TIME] = 1024;
    hero->work[HERO_DEATH_COUNTDOWN] = 0;
}

void KillHero()
{
    hero->state = 0;
    hero->work[HERO_DEATH_COUNTDOWN] = 64;
    PlaySfx(SFX_HERO_KILLED);
}

void HeroDeathTick()
{
    if (--hero->work[HERO_DEATH_COUNTDOWN] >= 0)
        return;
    hero->state = 1;
    hero->SetSequence(0);
    hero->work[HERO_DEATH_COUNTDOWN] = 0;
    if (!keepLives)
        lives -= 1;
    hero->work[HERO_LAST_DIRECTION] = 0;
    hero->work[HERO_POTION_TIME] = 1024;
    ResetHero();
    ResetEnemies();
}

// A dug cell shows the tunnel picture from now on.
void DigCell(int column, int row)
{
    SetCellCode(0, column, row, dugBlockCode);
    GameObject *sprite = CellSprite(0, column, row);
    BITMAP *tunnel = DataBitmap(PIC_BLOCK + dugBlockCode);
    if (sprite && tunnel)
        sprite->SetFrame(0, tunnel);
}

static void PickUp(int column, int row, int code)
{
    SetCellCode(2, column, row, CELL_EMPTY);
    switch (code) {
    case BOMB_CODE:
        SpawnBurstAtCell(column, row, 0);
        if (bombCapacity < 12)
            bombCapacity += 1;
        score += 250;
        PlaySfx(SFX_BOMB_PICKUP);
        break;
    case POTION_CODE:
        potion->state = 0;
        SpawnBurstAtCell(column, row, 0);
        potionActive = 1;
        score += 500;
        PlaySfx(SFX_POTION);
        break;
    case HEART_CODE:
        heart->state = 0;
        SpawnBurstAtCell(column, row, 0);
        lives += 1;
        score += 400;
        PlaySfx(SFX_HEART);
        break;
    case GOLD_CODE:
        SpawnBurstAtCell(column, row, 0);
        score += 500;
        PlaySfx(SFX_GOLD);
        break;
    default:
        if (itemsLeft > 0)
            itemsLeft -= 1;
        score += 50;
        PlaySfxAlways(SFX_ITEM);
        break;
    }
}

void ProcessZub(int column, int row)
{
    try {
        if (hero->state == 0 || hero->state == 3) {
            hero->state = 3;
            if (hero->sequenceIndex != 6)
                hero->SetSequence(6);
            HeroDeathTick();
        }
        if (hero->state != 1)
            return;

        int ground = CellCode(0, column, row);
        if (ground == EXIT_CODE) {
            SetCellCode(0, column, row, SHIELD_CODE);
            SpawnBurstAtCell(column, row, 2);
            score += 250;
            PlaySfx(SFX_EXIT);
            LevelDone(currentLevel);
            gameState = GameState::MAP;
            return;
        }
        if (ground != dugBlockCode)
            DigCell(column, row);

        // One blast kills once, however many bombs overlap the hero.
        for (int i = 0; i < BOMB_COUNT; i++) {
            if (bombs[i]->state == 2 && bombs[i]->Collides(hero)) {
                KillHero();
                break;
            }
        }

        int object = CellCode(2, column, row);
        if (object != CELL_EMPTY) {
            PickUp(column, row, object);
            if (itemsLeft == 0 && !shieldsOpen)
                OpenShields();
        }
    } catch (...) {
        LogExceptReport("ProcessZub");
    }
}

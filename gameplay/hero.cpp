// hero.cpp: the hero's steps on the grid, his turn on his cell (digging,
// blasts, pickups, the exit door), death and restart.
#include "gameplay/hero.h"

#include "base/log.h"
#include "base/sound.h"
#include "gameplay/dig.h"
#include "gameplay/figures.h"
#include "gameplay/particles.h"
#include "map/levelmap.h"

enum { HERO_MAX_X = 768, HERO_MAX_Y = 512 };

// How a step differs from one direction to the next. Each difference is
// deliberate and changes play; the rows are indexed by Direction.
struct StepRule {
    const char *name;  // for the exception report
    int dx, dy;        // one step's way
    int limit;         // furthest top-left on the step's axis: the map's edge
    int lead;          // edge that enters the next cell: right and down test their far side
    bool bagsStop;     // touching a bag stops the step before it is taken
    int went;          // left in HERO_LAST_DIRECTION for a later hand-over
    int sequence;
    float push;  // a sideways step moves a bag it walks into this far
    int recoil;  // a vertical step onto a resting bag springs back this many steps
};
static const StepRule stepRules[4] = {
    // Left tests no bag first: the push, 16 pixels, or its refusal settles it.
    {"MoveZubLeft", -1, 0, 0, 0, false, HERO_WENT_BACK, HERO_SEQ_LEFT, -16.0f, 0},
    // Right refuses to start while touching a bag, and pushes only 8 pixels.
    {"MoveZubRight", 1, 0, HERO_MAX_X, 31, true, HERO_WENT_FORWARD, HERO_SEQ_RIGHT, 8.0f, 0},
    // Down tests no bag first; landing on one springs the hero back up.
    {"MoveZubDown", 0, 1, HERO_MAX_Y, 31, false, HERO_WENT_BACK, HERO_SEQ_DOWN, 0.0f, -4},
    // Up refuses to start while touching a bag, and springs back down off one.
    {"MoveZubUp", 0, -1, 0, 0, true, HERO_WENT_FORWARD, HERO_SEQ_UP, 0.0f, 4},
};

static void Step(Direction direction);

// A step off the grid line hands over to the other axis, whose move is then
// on its grid line. Only the outermost move may hand over, so a hero that
// is off both lines (never the case in play) cannot bounce back and forth.
static int handoverDepth = 0;

static bool OnGridLine(int v)
{
    return v % 32 == 0;
}

static void HandOver(Direction forward, Direction back)
{
    if (handoverDepth > 0)
        return;
    handoverDepth++;
    if (hero->work[HERO_LAST_DIRECTION] == HERO_WENT_FORWARD)
        Step(forward);
    else if (hero->work[HERO_LAST_DIRECTION] == HERO_WENT_BACK)
        Step(back);
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
static void TakeStep(int x, int y, int went, int sequence)
{
    hero->SetPosition(x, y);
    hero->work[HERO_LAST_DIRECTION] = went;
    WalkSequence(sequence);
    hero->work[HERO_HOLDING_UP] = sequence == HERO_SEQ_UP ? 1 : 0;
}

// After a sideways step: the bag walked into moves on by bagStep, or the
// step is taken back when the bag cannot go.
static void PushBag(Direction direction, float bagStep)
{
    const int dx = stepRules[direction].dx;
    int b = FindPushedBag(direction);
    if (b == BAG_NONE)
        return;
    if (b == BAG_BLOCKED) {
        hero->x -= dx * heroSpeed;
        return;
    }
    int bagColumn = (int)(moneyBags[b]->x + dx * 32) >> 5;
    if (bagColumn > 0 && bagColumn < MAP_COLUMNS)
        moneyBags[b]->x += bagStep;
}

// Any bag still on the level overlapping the hero where he stands.
static bool TouchesBag()
{
    for (int i = 0; i < MONEYBAG_COUNT; i++)
        if (moneyBags[i]->state != BAG_GONE && hero->Collides(moneyBags[i]))
            return true;
    return false;
}

static void Step(Direction direction)
{
    const StepRule &rule = stepRules[direction];
    try {
        if (hero->state != HERO_ALIVE)
            return;
        const bool sideways = rule.dx != 0;
        int x = (int)hero->x, y = (int)hero->y;
        if (!OnGridLine(sideways ? y : x)) {
            if (sideways)
                HandOver(DIR_UP, DIR_DOWN);
            else
                HandOver(DIR_RIGHT, DIR_LEFT);
            return;
        }
        int nx = x + rule.dx * heroSpeed, ny = y + rule.dy * heroSpeed;
        int &moved = sideways ? nx : ny;
        const int way = sideways ? rule.dx : rule.dy;
        if ((way > 0 && moved > rule.limit) || (way < 0 && moved < rule.limit))
            moved = rule.limit;
        if (rule.bagsStop && TouchesBag())
            return;
        if (ShieldAt((nx + (sideways ? rule.lead : 0)) >> 5, (ny + (sideways ? 0 : rule.lead)) >> 5))
            return;
        TakeStep(nx, ny, rule.went, rule.sequence);
        if (sideways)
            PushBag(direction, rule.push);
        else if (FindBagUnderHero())
            hero->y += rule.recoil * heroSpeed;
    } catch (...) {
        LogExceptReport(rule.name);
    }
}

void MoveZubRight()
{
    Step(DIR_RIGHT);
}

void MoveZubLeft()
{
    Step(DIR_LEFT);
}

void MoveZubUp()
{
    Step(DIR_UP);
}

void MoveZubDown()
{
    Step(DIR_DOWN);
}

void HeroIdle()
{
    if (hero->state == HERO_ALIVE && hero->sequenceIndex != HERO_SEQ_STANDING)
        hero->sequenceIndex = HERO_SEQ_STANDING;
    hero->work[HERO_HOLDING_UP] = 0;
}

bool HeroCanEnter(int px, int py, bool checkBags)
{
    return !(checkBags && TouchesBag()) && !ShieldAt(px >> 5, py >> 5);
}

int FindPushedBag(Direction direction)
{
    int dx = stepRules[direction].dx * 32;
    for (int i = 0; i < MONEYBAG_COUNT; i++) {
        GameObject *bag = moneyBags[i];
        if (bag->state != BAG_RESTING || !hero->Collides(bag))
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
        if (moneyBags[i]->state == BAG_RESTING && hero->Collides(moneyBags[i]))
            return true;
    return false;
}

void ResetHero()
{
    hero->SetPosition(384, 480);
    hero->state = HERO_ALIVE;
    hero->work[HERO_LAST_DIRECTION] = HERO_WENT_NOWHERE;
    hero->SetFrameDelay(6);
    hero->SetSequence(HERO_SEQ_STANDING);
    hero->work[HERO_HOLDING_UP] = 0;
    hero->work[HERO_POTION_TIME] = 1024;
    hero->work[HERO_DEATH_COUNTDOWN] = 0;
}

void KillHero()
{
    hero->state = HERO_KILLED;
    hero->work[HERO_DEATH_COUNTDOWN] = 64;
    PlaySfx(SFX_HERO_KILLED);
}

bool HeroDeathTick()
{
    if (--hero->work[HERO_DEATH_COUNTDOWN] >= 0)
        return false;
    hero->state = HERO_ALIVE;
    hero->SetSequence(HERO_SEQ_STANDING);
    hero->work[HERO_DEATH_COUNTDOWN] = 0;
    if (!keepLives)
        lives -= 1;
    hero->work[HERO_LAST_DIRECTION] = HERO_WENT_NOWHERE;
    hero->work[HERO_POTION_TIME] = 1024;
    ResetHero();
    potionActive = 0;
    return true;
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
        potion->state = PICKUP_ABSENT;
        SpawnBurstAtCell(column, row, 0);
        potionActive = 1;
        score += 500;
        PlaySfx(SFX_POTION);
        break;
    case HEART_CODE:
        heart->state = PICKUP_ABSENT;
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

unsigned ProcessZub(int column, int row)
{
    unsigned turn = 0;
    try {
        if (hero->state == HERO_KILLED || hero->state == HERO_DYING) {
            hero->state = HERO_DYING;
            if (hero->sequenceIndex != HERO_SEQ_DYING)
                hero->SetSequence(HERO_SEQ_DYING);
            if (HeroDeathTick())
                turn |= HERO_BACK;
        }
        if (hero->state != HERO_ALIVE)
            return turn;

        int ground = CellCode(0, column, row);
        if (ground == EXIT_CODE) {
            SetCellCode(0, column, row, SHIELD_CODE);
            SpawnBurstAtCell(column, row, 2);
            score += 250;
            PlaySfx(SFX_EXIT);
            return turn | HERO_AT_EXIT;
        }
        if (ground != dugBlockCode)
            DigCell(column, row);

        // One blast kills once, however many bombs overlap the hero.
        for (int i = 0; i < BOMB_COUNT; i++) {
            if (bombs[i]->state == BOMB_EXPLODING && bombs[i]->Collides(hero)) {
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
    return turn;
}

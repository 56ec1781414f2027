// play.cpp: the level start and the logic step of play.
#include "level/play.h"

#include <allegro.h>

#include "base/data.h"
#include "base/frame.h"
#include "base/sound.h"
#include "gameplay/bombs.h"
#include "gameplay/enemies.h"
#include "gameplay/figures.h"
#include "gameplay/hero.h"
#include "gameplay/moneybags.h"
#include "gameplay/particles.h"
#include "level/levelsetup.h"
#include "level/mapfile.h"
#include "map/levelmap.h"

// The play keys act once per press: nothing acts again until every play key
// has been let go. The latch works on the step's input, not on the keyboard,
// so that a demo replays it; a level starts it over from the keys held then,
// and leaving play for a page leaves it set, so a key still held from before
// does not act in play.
static bool playKeysLatched = PlayValues{}.keysLatched;

bool PlayKeysLatched()
{
    return playKeysLatched;
}

void SetPlayKeysLatched(bool latched)
{
    playKeysLatched = latched;
}

PlayValues CurrentPlayValues()
{
    PlayValues values;
    values.score = score;
    values.lives = lives;
    values.bombCapacity = bombCapacity;
    values.bombsOut = bombsOut;
    values.keepLives = keepLives;
    values.keysLatched = playKeysLatched;
    return values;
}

void SetPlayValues(const PlayValues &values)
{
    score = values.score;
    lives = values.lives;
    bombCapacity = values.bombCapacity;
    bombsOut = values.bombsOut;
    keepLives = values.keepLives;
    playKeysLatched = values.keysLatched;
}

void NewGameReset()
{
    PlayValues fresh;
    fresh.bombCapacity = bombCapacity;  // the menu's to set
    SetPlayValues(fresh);
    currentLevel = 0;
    potionActive = 0;
    heroSpeed = 4;
    enemySpeed = 4;
}

bool PlayKeysHeld(const PlayInput &in)
{
    return in.pause || in.editor || in.help || in.screenshot || in.debugSwitch || in.fire;
}

void DebugSwitch()
{
    keepLives = !keepLives;
    // Digging whatever their state, so each digs its own way at its next
    // decision.
    for (GameObject *enemy : enemies)
        if (enemy)
            enemy->work[ENEMY_DIGGING] = 1;
    DumpMap();
}

// Each held key acts, in this order; the keys that lead out of play are
// left to the caller as requests.
static unsigned PlayKeys(const PlayInput &in)
{
    if (!PlayKeysHeld(in)) {
        playKeysLatched = false;
        return 0;
    }
    if (playKeysLatched)
        return 0;

    unsigned requests = 0;
    if (in.editor)
        requests |= PLAY_EDITOR;
    if (in.pause)
        requests |= PLAY_PAUSE;
    if (in.help)
        requests |= PLAY_HELP;
    if (in.screenshot)
        requests |= PLAY_SCREENSHOT;
    if (in.debugSwitch)
        DebugSwitch();
    if (in.fire && bombsOut < bombCapacity && hero->state == HERO_ALIVE) {
        DropBomb();
        bombsOut++;
        PlaySfx(SFX_BOMB_DROPPED);
    }
    playKeysLatched = true;
    return requests;
}

unsigned PlayLogicStep(const PlayInput &in)
{
    // The lead of 31 pixels makes a right or down step test the cell that
    // the hero's far edge has entered.
    int leadX = 0, leadY = 0;
    if (in.right) {
        MoveZubRight();
        leadX = 31;
    } else if (in.left) {
        MoveZubLeft();
    } else if (in.up) {
        MoveZubUp();
    } else if (in.down) {
        MoveZubDown();
        leadY = 31;
    } else {
        HeroIdle();
    }
    int column = (int)(hero->x + leadX) >> 5;
    int row = (int)(hero->y + leadY) >> 5;
    const unsigned turn = ProcessZub(column, row);
    if (turn & HERO_BACK)
        ResetEnemies();
    unsigned requests = (turn & HERO_AT_EXIT) ? (unsigned)PLAY_LEVEL_DONE : 0u;

    particles->Update();
    ProcessNPCS();
    ProcessMoneyBags();
    UpdateBombs();
    requests |= PlayKeys(in);
    logicTicks--;
    if (lives == 0)
        requests |= PLAY_HERO_LOST;
    return requests;
}

// Ten tunes for twenty levels: the first ten each have their own, then
// every two levels share one.
static int LevelMusicEntry(int level)
{
    return level <= 10 ? MUS_LEVEL + level - 1 : MUS_LEVEL + ((level - 1) >> 1);
}

bool StartPlayLevel(int level, const std::string &mapPath, bool keysHeld, bool openingBurst)
{
    currentLevel = level;
    shieldsOpen = false;
    StopMusic();
    ResetLevel(level);
    if (openingBurst)
        SpawnOpeningBurst();
    else
        particles->Restart();
    PlayMusic(LevelMusicEntry(level));
    if (!LoadMapFile(mapPath.c_str()))
        return false;
    CreatePathFinder();
    playKeysLatched = keysHeld;
    gameState = GameState::RUN;
    return true;
}

// play.h: play, one logic step at a time, without a window: the level start
// that the game, the tools and the tests share, and the step with its play
// keys (their latch, the bomb, the debug switch). A step opens no screen: it
// hands back what it asks of whoever runs play.
#ifndef DELVORN_PLAY_H
#define DELVORN_PLAY_H

#include <string>

#include "base/input.h"
#include "gameplay/figures.h"

// What a step asks for, in the order the game acts on them.
enum PlayRequest : unsigned {
    PLAY_LEVEL_DONE = 0x01,  // the hero walked into the open exit
    PLAY_EDITOR = 0x02,      // F2: ask whether to edit the level
    PLAY_PAUSE = 0x04,       // P
    PLAY_HELP = 0x08,        // F1
    PLAY_SCREENSHOT = 0x10,  // S
    PLAY_HERO_LOST = 0x20,   // no lives are left
};

// The values play carries from level to level as they stand, and back.
PlayValues CurrentPlayValues();
void SetPlayValues(const PlayValues &values);

// A new game: the values of PlayValues but the bombs, which the menu sets;
// level 0; both speeds 4.
void NewGameReset();

// The level start: every figure reset, the particle set restarted (with the
// star burst the game opens a level with, unless openingBurst is false), the
// level's tune, the map read from mapPath (a game path, "Maps\Zub3.map"),
// the bag starts taken up, the shields closed, state RUN. The play values
// are left as they stand: the last level's, a new game's or a demo's, which
// the caller sets. The play keys' latch starts set when keysHeld: a key held
// from the page before acts only once pressed again. False when the map
// cannot be read; then nothing plays.
bool StartPlayLevel(int level, const std::string &mapPath, bool keysHeld, bool openingBurst = true);

// One logic step on the input held during it: the hero's move, ProcessZub,
// particles, enemies, bags, bombs, the play keys, logicTicks - 1. Returns
// the PlayRequest bits it raised.
unsigned PlayLogicStep(const PlayInput &input);

// The play keys' latch: set when a play key acts, clear once every play key
// is let go. A demo's replay starts with the latch its recording began with.
bool PlayKeysHeld(const PlayInput &input);
bool PlayKeysLatched();
void SetPlayKeysLatched(bool latched);

// The play half of the debug switch (KEY_X): keepLives flips, every enemy
// digs, the map goes to the log.
void DebugSwitch();

#endif

// e2e_support.h: what the whole-game tests share: telling the game's screens
// apart on a screenshot, and the level and score files they hand the game.
#ifndef DELVORN_TEST_E2E_SUPPORT_H
#define DELVORN_TEST_E2E_SUPPORT_H

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tests/support/game_process.h"

enum class Shown { Other, Menu, Options, HighScores, ProgressMap, Play, Pause, Help, Question, GameOver, Initials, Editor };

const char *ShownName(Shown shown);

// What the last screenshot of the game shows.
Shown Classify(const GameProcess &game);

// Takes screenshots (saved as <name>.png) until the game shows `wanted`,
// at most for `seconds`. False when it never did or the game ended.
bool WaitForShown(GameProcess &game, Shown wanted, int seconds, const std::string &name);

// Presses a key, then looks, until the game shows `wanted` (pages that wait
// for any key drop a press that came too early).
bool PressUntilShown(GameProcess &game, const std::string &keyName, Shown wanted, int seconds,
                     const std::string &name);

// Of the last screenshot of the menu: the item shown as chosen (0 for
// START NEW GAME), -1 when none is.
int MenuChoiceShown(const GameProcess &game);

// Of the last screenshot: the pixels of a rectangle, to tell whether a part
// of the screen has changed.
std::vector<unsigned> PixelsOf(const GameProcess &game, int x1, int y1, int x2, int y2);

// Holds a key down until `acted` is true of a fresh screenshot (saved as
// <name>.png), then lets it go; at most for `seconds`. A busy game can miss
// a short press but not a held key, and its key latches act once however
// long a key is held. A key that has not acted after a few seconds (the game
// may not have seen it let go after an earlier press) is let go and pressed
// again. False when it never acted or the game ended first; `acted` may ask
// for that end (!game.Running()).
bool HoldUntil(GameProcess &game, const std::string &keyName, const std::function<bool()> &acted, int seconds,
               const std::string &name);
bool HoldUntilShown(GameProcess &game, const std::string &keyName, Shown wanted, int seconds,
                    const std::string &name);

// From the menu: a new game, its progress map, and play of level 1 (the
// screenshots of the two screens under the names given).
bool StartNewGame(GameProcess &game, const std::string &mapShot, const std::string &playShot);

// In play: ESC, the question whether to leave (answered Y), the initials
// entry when the score earned a place (ENTER), and the menu.
bool LeaveGame(GameProcess &game, const std::string &name);

// In play on QuickDeathLevel: drops bombs under the standing hero until the
// game over page shows. False when the page did not come or was skipped.
bool LoseToGameOver(GameProcess &game, const std::string &name);

struct ScoreRow {
    std::string initials;
    int32_t score;
};

// The 84 bytes of a score table file: initials in 4 bytes, the score as
// int32 little-endian, ten times, then the wrapping sum of the scores.
std::string ScoreFile(const std::vector<ScoreRow> &rows);
// Ten rows read back from such bytes; empty when the size or the sum is off.
std::vector<ScoreRow> ReadScoreFile(const std::string &bytes);

// A level where the hero cannot survive long: every cell dug so the enemies
// come straight at him, and one item on his start cell (12, 15) so that he
// scores at the first step.
std::string QuickDeathLevel();

#endif

// hero.h: the hero's moves on the grid, his turn on his cell (digging,
// blasts, pickups, the exit), death and restart.
#ifndef DELVORN_HERO_H
#define DELVORN_HERO_H

#include "gameplay/figures.h"

enum { BAG_NONE = -1, BAG_BLOCKED = -2 };

void MoveZubRight();
void MoveZubLeft();
void MoveZubUp();
void MoveZubDown();
// The idle step when no direction is held.
void HeroIdle();
// What ProcessZub tells its caller: the hero has walked into the open exit
// (the level ends), or is back at his start after a death (the enemies go
// home with him).
enum HeroTurn : unsigned { HERO_AT_EXIT = 0x1, HERO_BACK = 0x2 };
// The hero's turn on his cell: death, digging, blasts, pickups; HeroTurn
// bits.
unsigned ProcessZub(int column, int row);
bool HeroCanEnter(int px, int py, bool checkBags);
// Index of the bag a sideways step walks into, BAG_NONE or BAG_BLOCKED.
int FindPushedBag(Direction direction);
bool FindBagUnderHero();
void ResetHero();
// One tick of a death; true when it is over and the hero is back at his
// start, alive, with one life less unless keepLives.
bool HeroDeathTick();
// state 0, deathCountdown 64, sound 294.
void KillHero();

#endif

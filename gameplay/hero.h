// hero.h: the hero's moves on the grid, digging, pickups, the exit, the
// shields, death and restart.
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
// The hero's turn on his cell: death, digging, blasts, pickups. True when
// he has just walked into the open exit; the caller ends the level.
bool ProcessZub(int column, int row);
bool HeroCanEnter(int px, int py, bool checkBags);
// Index of the bag a sideways step walks into, BAG_NONE or BAG_BLOCKED.
int FindPushedBag(Direction direction);
bool FindBagUnderHero();
void OpenShields();
void ResetHero();
void HeroDeathTick();
// state 0, deathCountdown 64, sound 294.
void KillHero();
// Layer-0 cell becomes dug tunnel, its picture the tunnel's (hero and
// digging enemies alike).
void DigCell(int column, int row);

#endif

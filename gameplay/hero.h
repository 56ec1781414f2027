// hero.h: the hero's moves on the grid, digging, pickups, the exit, the
// shields, death and restart.
#ifndef DELVORN_HERO_H
#define DELVORN_HERO_H

enum { BAG_NONE = -1, BAG_BLOCKED = -2 };

void MoveZubRight();
void MoveZubLeft();
void MoveZubUp();
void MoveZubDown();
// The idle step when no direction is held.
void HeroIdle();
void ProcessZub(int column, int row);
bool HeroCanEnter(int px, int py, bool checkBags);
// Index of the pushed bag, BAG_NONE or BAG_BLOCKED; direction 1 right, 2 left.
int FindPushedBag(int direction);
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

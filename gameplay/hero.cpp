// STUB: replaced by the owning subsystem.
#include "gameplay/hero.h"
void MoveZubRight() {}
void MoveZubLeft() {}
void MoveZubUp() {}
void MoveZubDown() {}
void HeroIdle() {}
void ProcessZub(int, int) {}
bool HeroCanEnter(int, int, bool) { return true; }
int FindPushedBag(int) { return BAG_NONE; }
bool FindBagUnderHero() { return false; }
void OpenShields() {}
void ResetHero() {}
void HeroDeathTick() {}
void KillHero() {}

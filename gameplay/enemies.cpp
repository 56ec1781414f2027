// STUB: replaced by the owning subsystem.
#include "gameplay/enemies.h"
#include <cstdlib>
void ProcessNPCS() {}
void NPCAI(int) {}
bool EnemyCanMove(int, int, int) { return false; }
int OppositeDirection(int d) { return d; }
bool EnemyBumpsOther(int) { return false; }
int RandomBelow(int n) { return std::rand() % n; }
void RespawnEnemy(int) {}
void ResetEnemies() {}

// enemies.h: the five enemies: start delays, the chase at grid crossings,
// digging mode, potion flight, deaths and returns.
#ifndef DELVORN_ENEMIES_H
#define DELVORN_ENEMIES_H

void ProcessNPCS();
void NPCAI(int index);
bool EnemyCanMove(int direction, int column, int row);
int OppositeDirection(int direction);
bool EnemyBumpsOther(int index);
int RandomBelow(int n);
void RespawnEnemy(int index);
// Home position and start delay, and every slot as at a (re)start except
// returnsLeft.
void SendEnemyHome(int index);
// Every enemy home, as when the hero is back after a death; an enemy with
// returns left is active again.
void ResetEnemies();

#endif

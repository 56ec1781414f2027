// STUB: replaced by the owning subsystem.
#include "gameplay/figures.h"
#include <cstring>
GameObject *hero = nullptr;
GameObject *enemies[ENEMY_COUNT];
GameObject *moneyBags[MONEYBAG_COUNT];
GameObject *bombs[BOMB_COUNT];
GameObject *heart = nullptr;
GameObject *potion = nullptr;
EnemyHome enemyHomes[ENEMY_COUNT];
int score, lives, currentLevel, heroSpeed = 4, enemySpeed = 4, bombCapacity = 1, bombsOut, potionActive;
bool shieldsOpen, keepLives, bagWobbleSoundOn, heroCaughtSoundOn;
float BagFallSpeed(const GameObject *b) { float f; std::memcpy(&f, &b->work[BAG_FALL_SPEED], 4); return f; }
void SetBagFallSpeed(GameObject *b, float s) { std::memcpy(&b->work[BAG_FALL_SPEED], &s, 4); }

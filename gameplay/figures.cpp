// figures.cpp: the figure pool of play and the gameplay counters. The pool
// is made by InitCharacters and reset per level (level/levelsetup.cpp).
#include "gameplay/figures.h"

#include <cstring>

GameObject *hero = nullptr;
GameObject *enemies[ENEMY_COUNT];
GameObject *moneyBags[MONEYBAG_COUNT];
GameObject *bombs[BOMB_COUNT];
GameObject *heart = nullptr;
GameObject *potion = nullptr;

EnemyHome enemyHomes[ENEMY_COUNT];

int score = PlayValues{}.score;
int lives = PlayValues{}.lives;
int currentLevel = 0;
int heroSpeed = 4;
int enemySpeed = 4;
int bombCapacity = PlayValues{}.bombCapacity;
int bombsOut = PlayValues{}.bombsOut;
int potionActive = 0;
bool shieldsOpen = false;
bool keepLives = PlayValues{}.keepLives;
bool bagWobbleSoundOn = false;
bool heroCaughtSoundOn = false;

// The fall speed shares the integer slots; copy the bits rather than
// reading through a pointer of another type.
float BagFallSpeed(const GameObject *bag)
{
    float speed;
    std::memcpy(&speed, &bag->work[BAG_FALL_SPEED], sizeof speed);
    return speed;
}

void SetBagFallSpeed(GameObject *bag, float speed)
{
    std::memcpy(&bag->work[BAG_FALL_SPEED], &speed, sizeof speed);
}

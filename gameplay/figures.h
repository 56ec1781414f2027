// figures.h: the figure pool of play and the gameplay counters, created once
// by InitCharacters and reset per level; and the meaning of each kind's
// general-purpose work slots.
#ifndef DELVORN_FIGURES_H
#define DELVORN_FIGURES_H

#include "gameplay/gameobject.h"

enum { ENEMY_COUNT = 5, MONEYBAG_COUNT = 50, BOMB_COUNT = 12 };

extern GameObject *hero;
extern GameObject *enemies[ENEMY_COUNT];
extern GameObject *moneyBags[MONEYBAG_COUNT];
extern GameObject *bombs[BOMB_COUNT];
extern GameObject *heart;
extern GameObject *potion;

struct EnemyHome {
    int32_t x, y, startDelay;
};
extern EnemyHome enemyHomes[ENEMY_COUNT];

// Work slots, by kind.
enum {
    HERO_POTION_TIME = 0,
    HERO_DEATH_COUNTDOWN = 1,
    HERO_LAST_DIRECTION = 4,
    HERO_HOLDING_UP = 5,

    ENEMY_START_DELAY = 0,
    ENEMY_BUMP_COOLDOWN = 1,
    ENEMY_DIRECTION = 4,
    ENEMY_OFFSET_X = 5,
    ENEMY_OFFSET_Y = 6,
    ENEMY_PAUSE_TICKS = 8,
    ENEMY_RETURNS_LEFT = 9,
    ENEMY_DIGGING = 10,
    ENEMY_DIGGING_LEFT = 11,
    ENEMY_BUMP_COUNT = 12,

    BAG_WOBBLE_TIME = 0,
    BAG_REST_X = 4,
    BAG_REST_Y = 5,
    BAG_FALL_SPEED = 20,  // a float32 kept in the slot

    BOMB_FUSE = 0,
    BOMB_BLAST_TIME = 1,
};

float BagFallSpeed(const GameObject *bag);
void SetBagFallSpeed(GameObject *bag, float speed);

// Gameplay counters.
extern int score;
extern int lives;
extern int currentLevel;
extern int heroSpeed;
extern int enemySpeed;
extern int bombCapacity;
extern int bombsOut;
extern int potionActive;
extern bool shieldsOpen;
extern bool keepLives;
extern bool bagWobbleSoundOn;
extern bool heroCaughtSoundOn;

#endif

// figures.h: the figure pool of play and the gameplay counters, created once
// by InitCharacters and reset per level; and the meaning of each kind's
// general-purpose work slots.
#ifndef DELVORN_FIGURES_H
#define DELVORN_FIGURES_H

#include "base/gameobject.h"

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

// Figure states (GameObject::state), by kind.
enum HeroState { HERO_KILLED = 0, HERO_ALIVE = 1, HERO_CAUGHT = 2, HERO_DYING = 3 };
enum EnemyState { ENEMY_INACTIVE = 0, ENEMY_ACTIVE = 1, ENEMY_CAUGHT = 2 };
enum BagState { BAG_GONE = 0, BAG_RESTING = 1, BAG_FALLING = 2, BAG_WOBBLING = 3 };
enum BombState { BOMB_BURNING = 0, BOMB_IN_STOCK = 1, BOMB_EXPLODING = 2 };
enum PickupState { PICKUP_ABSENT = 0, PICKUP_LYING = 1 };  // heart and potion

// The one direction type: an enemy's way (its ENEMY_DIRECTION slot, the
// index of its walking sequence) and a hero's step.
enum Direction { DIR_LEFT = 0, DIR_RIGHT = 1, DIR_DOWN = 2, DIR_UP = 3, DIR_NONE = 4 };

// Animation sequences, by kind. An enemy walks with the sequence of its
// direction and shows ENEMY_SEQ_HERO_DOWN while the hero is not alive.
enum HeroSequence {
    HERO_SEQ_STANDING = 0,
    HERO_SEQ_RIGHT = 1,
    HERO_SEQ_LEFT = 2,
    HERO_SEQ_UP = 3,
    HERO_SEQ_DOWN = 4,
    HERO_SEQ_CAUGHT = 5,
    HERO_SEQ_DYING = 6,
};
enum { ENEMY_SEQ_HERO_DOWN = 4 };
enum { BOMB_SEQ_FUSE = 0, BOMB_SEQ_BLAST = 1 };
enum { SEQ_ONLY = 0 };  // heart, potion, menu marker, progress markers

// The hero's HERO_LAST_DIRECTION slot: which way a step off a grid line
// hands over to the other axis.
enum {
    HERO_WENT_NOWHERE = 0,
    HERO_WENT_FORWARD = 1 /* right or up */,
    HERO_WENT_BACK = 2 /* left or down */
};

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

// What play carries from one level into the next beside the figures and
// the map, with the values a new game starts with: the one place they are
// written. The game keeps them in the counters below and in the play keys'
// latch (level/play.h); a demo keeps them in its header.
struct PlayValues {
    int score = 0;
    int lives = 3;
    int bombCapacity = 1;
    int bombsOut = 0;
    bool keepLives = false;    // the debug switch's spared lives
    bool keysLatched = false;  // the play keys' latch
};

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

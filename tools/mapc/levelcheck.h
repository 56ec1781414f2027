// levelcheck.h: the rules every shipped level keeps, so that it can be
// played and finished: a guarded exit, a way out for the enemies, a free
// start, resting bags, items to collect and only codes that have a picture.
#ifndef DELVORN_LEVELCHECK_H
#define DELVORN_LEVELCHECK_H

#include <string>
#include <vector>

#include "map/mapcodes.h"
#include "tools/mapc/levelsource.h"

// Cells and codes the game fixes.
enum {
    HERO_START_COLUMN = 12,
    HERO_START_ROW = 15,
    ENEMY_HOME_COLUMN = 24,
    ENEMY_HOME_ROW = 0,
    MAX_BAGS = 50,
};

// Counts that describe how hard a level is.
struct LevelStats {
    int items = 0;  // collectibles
    int bags = 0;
    int bagsOverTunnel = 0;  // bags with a dug cell two below (they fall soon)
    int dug = 0;             // pre-dug layer-0 cells
    int bombs = 0, potions = 0, hearts = 0;
    int startToDoor = 0;  // steps from the hero's start to the door
    int enemyRoutes = 0;  // dead ends and loops of the tunnel joined to home
};

// Every broken rule, one line each; empty when the level is sound.
std::vector<std::string> CheckLevel(const LevelCodes &level);
LevelStats MeasureLevel(const LevelCodes &level);

// A layer-2 code that counts as an item to collect.
bool IsCollectible(int code);

#endif

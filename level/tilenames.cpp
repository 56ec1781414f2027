// tilenames.cpp: see tilenames.h. The names follow the pictures the art
// generators draw for each code.
#include "level/tilenames.h"

#include <cstdio>

#include "map/mapcodes.h"

namespace {

const char *const earthStyles[8] = {"Brown loam", "Red clay",   "Sand",   "Dark peat",
                                    "Grey shale", "Green moss", "Violet", "Ochre"};

const char *const specialEarth[6] = {"Fossil",         "Crystal vein", "Ore vein",
                                     "Bones in earth", "Lava rock",    "Ice"};

// 40..73: the see-through pictures of layer 1, the home and the tunnel.
const char *const decorations[34] = {
    "Grass edge",      "Flowers",         "Mushrooms",
    "Bones",           "Crystal",         "Torch",
    "Arrow sign",      "Skull",           "Cobweb",
    "Stalactite",      "Hanging roots",   "Worm",
    "Puddle",          "Lantern",         "Chain",
    "Vines",           "Brick top",       "Brick bottom",
    "Brick left",      "Brick right",     "Brick top-left",
    "Brick top-right", "Brick low-left",  "Brick low-right",
    "Timber top",      "Timber bottom",   "Timber left",
    "Timber right",    "Timber top-left", "Timber top-right",
    "Enemies' home",   "Dug tunnel",      "Support beam",
    "Rubble",
};

const char *const objects[MAX_OBJECT_CODE + 1] = {
    "Emerald",     "Ruby",     "Sapphire", "Diamond",    "Amethyst",   "Topaz",     "Gold coin",
    "Silver coin", "Cherries", "Apple",    "Pear",       "Grapes",     "Money bag", "Gold pile",
    "Strawberry",  "Lemon",    "Bomb",     "Fuse spark", "Fuse flame", "Potion",    "Key",
    "Pearl",       "Heart",    "Star",     "Chalice",    "Orange",     "Crown",
};

// The earth variants share their style's name: "Sand, pebbles".
char earthName[40];

}  // namespace

const char *BlockName(int code)
{
    if (code == EXIT_CODE)
        return "Exit door";
    if (code == SHIELD_CODE)
        return "Shield";
    if (code >= 1 && code <= 8)
        return earthStyles[code - 1];
    if (code >= 10 && code <= 33) {
        static const char *const kinds[3] = {"pebbles", "roots", "deep"};
        std::snprintf(earthName, sizeof earthName, "%s, %s", earthStyles[(code - 10) % 8],
                      kinds[(code - 10) / 8]);
        return earthName;
    }
    if (code >= 34 && code <= LAST_EARTH_CODE)
        return specialEarth[code - 34];
    if (code > LAST_EARTH_CODE && code <= MAX_BLOCK_CODE)
        return decorations[code - LAST_EARTH_CODE - 1];
    return "";
}

const char *ObjectName(int code)
{
    if (code >= 0 && code <= MAX_OBJECT_CODE)
        return objects[code];
    return "";
}

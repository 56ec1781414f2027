// mapcodes.h: what the codes of a level map mean, and the rules on them.
// Layers 0 and 1 hold block codes, layer 2 object codes: the layer, not
// the code, decides which kind a number is. The game, the editor and the
// level compiler all read the codes from here.
#ifndef DELVORN_MAPCODES_H
#define DELVORN_MAPCODES_H

enum MapCode : int {
    CELL_EMPTY = 999,  // nothing; -1 in files and in the editor's grid

    // Layer 0, the ground.
    EXIT_CODE = 0,         // the exit door; never dug
    LAST_EARTH_CODE = 39,  // 0..39 are earth pictures, the rest decoration
    HOME_CODE = 70,        // the enemies' home picture, top right
    DUG_CODE = 71,         // dug tunnel; any other ground code is earth
    MAX_BLOCK_CODE = 73,

    // Layer 1, drawn over everything.
    SHIELD_CODE = 9,  // keeps the hero out until the last item is taken

    // Layer 2, the objects.
    BAG_START_CODE = 12,  // a money bag starts here
    BOMB_CODE = 16,       // a bomb pickup
    POTION_CODE = 19,     // where the potion lies
    HEART_CODE = 22,      // where the heart lies; the cell itself is not drawn
    MAX_OBJECT_CODE = 26,
    GOLD_CODE = 91,  // left by a burst bag; never in a file
};

// Whether a layer holds block codes (0 and 1) or object codes (2).
constexpr bool IsBlockLayer(int layer)
{
    return layer != 2;
}

// Open for moving through: a dug tunnel.
constexpr bool IsTunnel(int ground)
{
    return ground == DUG_CODE;
}

// A layer-2 code that counts toward itemsLeft when a map is read: anything
// but the figures' places. (Gold counts too, though no file can hold it.)
constexpr bool IsItem(int object)
{
    return object != CELL_EMPTY && object != BAG_START_CODE && object != BOMB_CODE && object != POTION_CODE &&
           object != HEART_CODE;
}

#endif

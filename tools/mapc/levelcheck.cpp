// levelcheck.cpp: the level rules and the difficulty measures.
#include "tools/mapc/levelcheck.h"

#include <cstdlib>
#include <deque>

namespace {

// Pictures that look like a burst bag's gold or a burning fuse.
// The special earth pictures, from the fossil to the ice (TILES.md).
const int FIRST_FEATURE_EARTH = 34;

bool LooksLikeGameObject(int code)
{
    return code == 13 || code == 17 || code == 18;
}

std::string Cell(int column, int row)
{
    return "(" + std::to_string(column) + "," + std::to_string(row) + ")";
}

bool InMap(int column, int row)
{
    return column >= 0 && column < LEVEL_COLUMNS && row >= 0 && row < LEVEL_ROWS;
}

const int kStepX[4] = {1, -1, 0, 0};
const int kStepY[4] = {0, 0, 1, -1};

// Steps from the start to every cell the hero can walk or dig into; shields
// are walls until the last item is taken, which is what the exit needs.
std::vector<int> Distances(const LevelCodes &level, bool shieldsUp)
{
    std::vector<int> dist(LEVEL_COLUMNS * LEVEL_ROWS, -1);
    std::deque<int> queue;
    dist[HERO_START_ROW * LEVEL_COLUMNS + HERO_START_COLUMN] = 0;
    queue.push_back(HERO_START_ROW * LEVEL_COLUMNS + HERO_START_COLUMN);
    while (!queue.empty()) {
        int at = queue.front();
        queue.pop_front();
        int column = at % LEVEL_COLUMNS, row = at / LEVEL_COLUMNS;
        // The exit ends the level: nothing lies beyond it.
        if (level.At(0, column, row) == EXIT_CODE)
            continue;
        for (int d = 0; d < 4; d++) {
            int c = column + kStepX[d], r = row + kStepY[d];
            if (!InMap(c, r) || dist[r * LEVEL_COLUMNS + c] >= 0)
                continue;
            if (shieldsUp && level.At(1, c, r) == SHIELD_CODE)
                continue;
            dist[r * LEVEL_COLUMNS + c] = dist[at] + 1;
            queue.push_back(r * LEVEL_COLUMNS + c);
        }
    }
    return dist;
}

}  // namespace

bool IsCollectible(int code)
{
    return code >= 0 && IsItem(code);
}

std::vector<std::string> CheckLevel(const LevelCodes &level)
{
    std::vector<std::string> problems;
    auto problem = [&problems](const std::string &p) { problems.push_back(p); };

    int doors = 0, doorColumn = -1, doorRow = -1, items = 0, bags = 0, potions = 0, hearts = 0;
    for (int layer = 0; layer < LEVEL_LAYERS; layer++) {
        int top = layer == 2 ? MAX_OBJECT_CODE : MAX_BLOCK_CODE;
        for (int row = 0; row < LEVEL_ROWS; row++) {
            for (int column = 0; column < LEVEL_COLUMNS; column++) {
                int code = level.At(layer, column, row);
                if (code < -1 || code > top) {
                    problem("layer " + std::to_string(layer) + " " + Cell(column, row) + ": code " +
                            std::to_string(code) + " has no picture");
                    continue;
                }
                // The ground shows earth, tunnel or the door; anything else
                // there (the shield, a see-through decoration) looks broken.
                if (layer == 0 && code != -1 && code != EXIT_CODE && code != DUG_CODE &&
                    (code == SHIELD_CODE || code > LAST_EARTH_CODE))
                    problem("layer 0 " + Cell(column, row) + ": code " + std::to_string(code) +
                            " is not earth");
                if (layer == 0 && code == EXIT_CODE) {
                    doors++;
                    doorColumn = column;
                    doorRow = row;
                }
                if (layer == 1 && code == HOME_CODE && (column != ENEMY_HOME_COLUMN || row != ENEMY_HOME_ROW))
                    problem("the enemies' home picture stands away from home at " + Cell(column, row));
                if (layer != 2)
                    continue;
                // Objects lie on plain earth or tunnel: the feature stones
                // (fossil .. ice) and the see-through decorations are scenery,
                // and an object on them is lost in the picture.
                int ground = level.At(0, column, row), over = level.At(1, column, row);
                if (code != -1 && ground >= FIRST_FEATURE_EARTH && ground <= LAST_EARTH_CODE)
                    problem("object " + std::to_string(code) + " at " + Cell(column, row) +
                            " lies on feature stone " + std::to_string(ground));
                if (code != -1 && over != -1 && over != SHIELD_CODE && over != HOME_CODE)
                    problem("object " + std::to_string(code) + " at " + Cell(column, row) +
                            " lies under decoration " + std::to_string(over));
                if (LooksLikeGameObject(code))
                    problem("object " + std::to_string(code) + " at " + Cell(column, row) +
                            " looks like gold or a fuse");
                if (IsCollectible(code))
                    items++;
                if (code == POTION_CODE)
                    potions++;
                if (code == HEART_CODE)
                    hearts++;
                if (code == BAG_START_CODE) {
                    bags++;
                    if (row + 1 < LEVEL_ROWS && level.At(0, column, row + 1) == DUG_CODE)
                        problem("the bag at " + Cell(column, row) + " does not rest on earth");
                }
            }
        }
    }

    if (doors != 1) {
        problem("a level needs exactly one exit door, this one has " + std::to_string(doors));
    } else if (level.At(1, doorColumn, doorRow) != SHIELD_CODE) {
        problem("the exit door at " + Cell(doorColumn, doorRow) + " is not behind a shield");
    }
    if (items == 0)
        problem("there is nothing to collect, so the shields never open");
    if (bags > MAX_BAGS)
        problem("more than " + std::to_string(int(MAX_BAGS)) + " bags");
    if (potions > 1 || hearts > 1)
        problem("only one potion and one heart can lie on a level");

    // The enemies start at home and can only walk through dug tunnel.
    if (level.At(1, ENEMY_HOME_COLUMN, ENEMY_HOME_ROW) != HOME_CODE)
        problem("the enemies' home picture is missing from the top-right cell");
    if (level.At(0, ENEMY_HOME_COLUMN, ENEMY_HOME_ROW) != DUG_CODE)
        problem("the enemies' home is not dug out");
    if (level.At(0, ENEMY_HOME_COLUMN - 1, ENEMY_HOME_ROW) != DUG_CODE &&
        level.At(0, ENEMY_HOME_COLUMN, ENEMY_HOME_ROW + 1) != DUG_CODE)
        problem("no tunnel leads out of the enemies' home");

    int start0 = level.At(0, HERO_START_COLUMN, HERO_START_ROW);
    if (level.At(1, HERO_START_COLUMN, HERO_START_ROW) == SHIELD_CODE)
        problem("a shield covers the hero's start");
    if (start0 == EXIT_CODE)
        problem("the hero starts in the exit door");
    int above = level.At(2, HERO_START_COLUMN, HERO_START_ROW - 1);
    if (above == BAG_START_CODE && start0 == DUG_CODE)
        problem("a bag hangs over the dug start cell and falls on the hero at once");
    if (level.At(2, HERO_START_COLUMN, HERO_START_ROW) == BAG_START_CODE)
        problem("a bag lies on the hero's start");

    // Every item, and the door once the shields are gone, must be reachable.
    std::vector<int> dist = Distances(level, true);
    for (int row = 0; row < LEVEL_ROWS; row++)
        for (int column = 0; column < LEVEL_COLUMNS; column++)
            if (IsCollectible(level.At(2, column, row)) && dist[row * LEVEL_COLUMNS + column] < 0)
                problem("the item at " + Cell(column, row) + " cannot be reached");
    if (doors == 1 && Distances(level, false)[doorRow * LEVEL_COLUMNS + doorColumn] < 0)
        problem("the exit door cannot be reached");
    return problems;
}

// Ways the enemies can spread out from home before the hero digs new ones:
// the dead ends of the tunnel joined to home plus the loops in it.
int EnemyRoutes(const LevelCodes &level)
{
    auto dug = [&level](int c, int r) { return InMap(c, r) && level.At(0, c, r) == DUG_CODE; };
    std::vector<bool> seen(LEVEL_COLUMNS * LEVEL_ROWS, false);
    const int home = ENEMY_HOME_ROW * LEVEL_COLUMNS + ENEMY_HOME_COLUMN;
    std::vector<int> stack = {home};
    seen[home] = true;
    int ends = 0, cells = 0, links = 0;
    while (!stack.empty()) {
        int at = stack.back();
        stack.pop_back();
        cells++;
        int column = at % LEVEL_COLUMNS, row = at / LEVEL_COLUMNS, neighbours = 0;
        for (int d = 0; d < 4; d++) {
            int c = column + kStepX[d], r = row + kStepY[d];
            if (!dug(c, r))
                continue;
            neighbours++;
            if (!seen[r * LEVEL_COLUMNS + c]) {
                seen[r * LEVEL_COLUMNS + c] = true;
                stack.push_back(r * LEVEL_COLUMNS + c);
            }
        }
        links += neighbours;
        if (neighbours == 1 && at != home)
            ends++;
    }
    int loops = links / 2 - cells + 1;
    return ends + loops;
}

LevelStats MeasureLevel(const LevelCodes &level)
{
    LevelStats s;
    s.enemyRoutes = EnemyRoutes(level);
    for (int row = 0; row < LEVEL_ROWS; row++) {
        for (int column = 0; column < LEVEL_COLUMNS; column++) {
            int code = level.At(2, column, row);
            if (level.At(0, column, row) == DUG_CODE)
                s.dug++;
            if (IsCollectible(code))
                s.items++;
            if (code == BOMB_CODE)
                s.bombs++;
            if (code == POTION_CODE)
                s.potions++;
            if (code == HEART_CODE)
                s.hearts++;
            if (code == BAG_START_CODE) {
                s.bags++;
                if (row + 2 < LEVEL_ROWS && level.At(0, column, row + 2) == DUG_CODE)
                    s.bagsOverTunnel++;
            }
            if (level.At(0, column, row) == EXIT_CODE)
                s.startToDoor = Distances(level, false)[row * LEVEL_COLUMNS + column];
        }
    }
    return s;
}

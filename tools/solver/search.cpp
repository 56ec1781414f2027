// search.cpp: see search.h. The search works on the cell grid. At every
// point where the hero stands on a cell it tries short plans: walk the shortest way to one of the
// nearest things to collect (or to the open door), with or without a bomb
// dropped first, or wait. Each plan is played out on a copy of the game; a
// plan in which the hero dies is refused, and when every plan of a point is
// refused the search goes back to the point before and takes its next plan.
// Only when that fails everywhere does it accept plans that cost a life.

#include "tools/solver/search.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "base/frame.h"
#include "gameplay/figures.h"
#include "gameplay/random.h"
#include "level/demofile.h"
#include "level/demoplay.h"
#include "level/headless.h"
#include "level/play.h"
#include "map/levelmap.h"
#include "map/mapcodes.h"

bool searchVerbose = true;

namespace {

// Everything the logic step reads and writes, copied whole.
struct Snapshot {
    GameObject objects[1 + ENEMY_COUNT + MONEYBAG_COUNT + BOMB_COUNT + 2];
    MapCell cells[MAP_LAYERS][MAP_ROWS][MAP_COLUMNS];
    PlayValues values;
    int itemsLeft, potionActive, gameState;
    bool shieldsOpen, bagWobbleSoundOn, heroCaughtSoundOn;
    long draws;
    size_t tick;  // length of the input so far
};

std::vector<GameObject *> Figures()
{
    std::vector<GameObject *> all{hero};
    for (auto *e : enemies)
        all.push_back(e);
    for (auto *b : moneyBags)
        all.push_back(b);
    for (auto *b : bombs)
        all.push_back(b);
    all.push_back(heart);
    all.push_back(potion);
    return all;
}

std::vector<uint8_t> input;  // the run so far, one record per tick

void Save(Snapshot *s)
{
    auto all = Figures();
    for (size_t i = 0; i < all.size(); i++)
        std::memcpy((void *)&s->objects[i], (const void *)all[i], sizeof(GameObject));
    std::memcpy(s->cells, levelMap->cells, sizeof s->cells);
    s->values = CurrentPlayValues();
    s->itemsLeft = itemsLeft;
    s->potionActive = potionActive;
    s->gameState = gameState;
    s->shieldsOpen = shieldsOpen;
    s->bagWobbleSoundOn = bagWobbleSoundOn;
    s->heroCaughtSoundOn = heroCaughtSoundOn;
    s->draws = RandomDraws();
    s->tick = input.size();
}

void Restore(const Snapshot &s)
{
    auto all = Figures();
    for (size_t i = 0; i < all.size(); i++)
        std::memcpy((void *)all[i], (const void *)&s.objects[i], sizeof(GameObject));
    std::memcpy(levelMap->cells, s.cells, sizeof s.cells);
    SetPlayValues(s.values);
    itemsLeft = s.itemsLeft;
    potionActive = s.potionActive;
    gameState = s.gameState;
    shieldsOpen = s.shieldsOpen;
    bagWobbleSoundOn = s.bagWobbleSoundOn;
    heroCaughtSoundOn = s.heroCaughtSoundOn;
    if (RandomDraws() != s.draws) {
        if (RandomDraws() > s.draws)
            RestartRandom();
        SkipRandom(s.draws - RandomDraws());
    }
    input.resize(s.tick);
}

// Kills and deaths seen while a plan plays.
struct Tally {
    int deaths = 0;
    int bagKills = 0, bombKills = 0, eaten = 0;
    int bagsDropped = 0;
};

// One logic step with the given input; counts what happened.
void Step(uint8_t tick, Tally *tally)
{
    int enemyState[ENEMY_COUNT], enemyReturns[ENEMY_COUNT], bagState[MONEYBAG_COUNT];
    int explodingNear[ENEMY_COUNT];
    for (int i = 0; i < ENEMY_COUNT; i++) {
        enemyState[i] = enemies[i]->state;
        enemyReturns[i] = enemies[i]->work[ENEMY_RETURNS_LEFT];
        explodingNear[i] = 0;
        for (auto *b : bombs)
            if (b->state == 2 || (b->state == 0 && b->work[BOMB_FUSE] == 0))
                explodingNear[i] |= enemies[i]->Collides(b);
    }
    for (int i = 0; i < MONEYBAG_COUNT; i++)
        bagState[i] = moneyBags[i]->state;
    int heroState = hero->state;
    int scoreBefore = score;
    PlayDemoTick(tick);
    input.push_back(tick);
    if (heroState == 1 && hero->state == 0)
        tally->deaths++;
    for (int i = 0; i < MONEYBAG_COUNT; i++)
        if (bagState[i] != 2 && moneyBags[i]->state == 2)
            tally->bagsDropped++;
    for (int i = 0; i < ENEMY_COUNT; i++) {
        bool died = enemies[i]->work[ENEMY_RETURNS_LEFT] != enemyReturns[i] ||
                    (enemyState[i] != 0 && enemies[i]->state == 0);
        if (!died)
            continue;
        if (enemyState[i] == 2)
            tally->bagKills++;
        else if (explodingNear[i])
            tally->bombKills++;
        else if (score - scoreBefore >= 800)
            tally->eaten++;
    }
}

int Column(float x)
{
    return (int)x >> 5;
}

bool Aligned()
{
    return (int)hero->x % 32 == 0 && (int)hero->y % 32 == 0;
}

bool Walkable(int c, int r)
{
    if (!CellInMap(c, r) || CellCode(1, c, r) == SHIELD_CODE)
        return false;
    if (CellCode(0, c, r) == EXIT_CODE && !shieldsOpen)
        return false;
    return true;
}

bool BagAt(int c, int r)
{
    for (auto *b : moneyBags)
        if (b->state != 0 && Column(b->x + 16) == c && Column(b->y + 16) == r)
            return true;
    return false;
}

bool Wanted(int code, bool withExtras)
{
    if (code == GOLD_CODE)
        return false;
    if (code == BOMB_CODE || code == POTION_CODE || code == HEART_CODE)
        return withExtras;
    return IsItem(code);
}

const int dc[4] = {1, -1, 0, 0}, dr[4] = {0, 0, -1, 1};
const uint8_t dirTick[4] = {DEMO_RIGHT, DEMO_LEFT, DEMO_UP, DEMO_DOWN};

struct Target {
    int column, row, distance;
    std::vector<int> path;  // directions 0..3
};

// Shortest ways (in cells, digging costs as much as walking; bags and the
// cells right under them cost more) from the hero to every wanted cell.
std::vector<Target> FindTargets(bool withExtras, int limit)
{
    int hc = Column(hero->x), hr = Column(hero->y);
    const int N = MAP_COLUMNS * MAP_ROWS;
    std::vector<int> cost(N, 1 << 30), from(N, -1);
    std::vector<std::vector<int>> buckets(1);  // a bucket queue: costs are small
    auto index = [](int c, int r) { return r * MAP_COLUMNS + c; };
    cost[index(hc, hr)] = 0;
    buckets[0].push_back(index(hc, hr));
    std::vector<Target> found;
    for (size_t d = 0; d < buckets.size(); d++) {
        for (size_t k = 0; k < buckets[d].size(); k++) {
            int cell = buckets[d][k];
            if ((int)d != cost[cell])
                continue;
            int c = cell % MAP_COLUMNS, r = cell / MAP_COLUMNS;
            bool door = CellCode(0, c, r) == EXIT_CODE;
            bool goal = (door && shieldsOpen && itemsLeft == 0) ||
                        (!(c == hc && r == hr) && Wanted(CellCode(2, c, r), withExtras) &&
                         !(shieldsOpen && itemsLeft == 0));
            if (goal) {
                Target t{c, r, (int)d, {}};
                for (int x = cell; from[x] >= 0; x = from[x] >> 2)
                    t.path.push_back(from[x] & 3);
                std::reverse(t.path.begin(), t.path.end());
                found.push_back(t);
                if ((int)found.size() >= limit)
                    return found;
            }
            if (door && !(c == hc && r == hr))
                continue;  // the door ends the level
            for (int dir = 0; dir < 4; dir++) {
                int nc = c + dc[dir], nr = r + dr[dir];
                if (!Walkable(nc, nr))
                    continue;
                int step = 1;  // digging is as fast as walking
                if (BagAt(nc, nr))
                    step += 3;
                if (BagAt(nc, nr - 1))
                    step += 2;
                int n = index(nc, nr);
                if ((int)d + step < cost[n]) {
                    cost[n] = (int)d + step;
                    from[n] = (cell << 2) | dir;
                    if (buckets.size() <= (size_t)cost[n])
                        buckets.resize(cost[n] + 1);
                    buckets[cost[n]].push_back(n);
                }
            }
        }
    }
    return found;
}

// Walks one cell in a direction; false when the hero died, was caught,
// got stuck, or the level ended otherwise than at the door.
bool WalkCell(int dir, Tally *tally, bool allowDeath)
{
    int tx = (int)hero->x + dc[dir] * 32, ty = (int)hero->y + dr[dir] * 32;
    for (int t = 0; t < 24; t++) {
        float ox = hero->x, oy = hero->y;
        Step(dirTick[dir], tally);
        if (gameState != GameState::RUN)
            return gameState == GameState::MAP;
        if (hero->state != 1) {
            if (!allowDeath || lives <= 1)
                return false;
            // Wait out the death; the hero comes back at its start.
            for (int w = 0; w < 80 && hero->state != 1; w++)
                Step(0, tally);
            return hero->state == 1 && lives > 0;
        }
        if ((int)hero->x == tx && (int)hero->y == ty)
            return true;
        if (hero->x == ox && hero->y == oy)
            return false;  // refused: a bag or a shield
    }
    return false;
}

bool Wait(int ticks, Tally *tally)
{
    for (int t = 0; t < ticks; t++) {
        Step(0, tally);
        if (hero->state != 1)
            return false;
    }
    return true;
}

// How close the nearest moving enemy is, in pixels (Manhattan).
int EnemyDistance()
{
    int best = 1 << 20;
    for (auto *e : enemies)
        if (e->state == 1 && e->work[ENEMY_START_DELAY] <= 0)
            best = std::min(best, (int)(std::fabs(e->x - hero->x) + std::fabs(e->y - hero->y)));
    return best;
}

struct Plan {
    int kind;  // 0 walk to a target, 1 bomb then walk, 2 wait
    Target target;
    int waitTicks = 0;
    int cells = 0;  // how many cells of the path to walk (the rest re-planned)
};

// A plan that played out safely, and how good its end looked. The state
// after it is not kept (it is large); the plan is played again when chosen.
struct Outcome {
    bool ok = false;
    double value = 0;
    Plan plan;
};

// Plans played, and of them the ones in which the hero died or was caught:
// how hard the enemies and bags press on a level.
long plansPlayed = 0, plansFatal = 0;

// Plays a plan from the current state; the game is left after the plan.
Outcome Play(const Plan &p, bool allowDeath)
{
    plansPlayed++;
    Outcome o;
    Tally tally;
    int itemsBefore = itemsLeft, livesBefore = lives;
    size_t tickBefore = input.size();
    bool ok = true;
    if (p.kind == 1) {
        Step(DEMO_FIRE, &tally);
        ok = hero->state == 1;
    }
    if (p.kind == 2)
        ok = Wait(p.waitTicks, &tally);
    for (int i = 0; ok && i < p.cells && gameState == GameState::RUN; i++)
        ok = WalkCell(p.target.path[i], &tally, allowDeath);
    if (ok && gameState == GameState::RUN && !Aligned())
        ok = false;
    // A short look beyond the plan: standing still for a moment must not
    // be fatal, or the next point has no room to choose.
    if (ok && gameState == GameState::RUN) {
        Snapshot probe;
        Save(&probe);
        Tally spare;
        bool standOk = Wait(6, &spare);
        Restore(probe);
        if (!standOk && !allowDeath)
            ok = false;
    }
    if (!ok) {
        if (hero->state != 1 || tally.deaths > 0)
            plansFatal++;
        return o;
    }
    o.ok = true;
    o.plan = p;
    int ticks = (int)(input.size() - tickBefore);
    double progress = (itemsBefore - itemsLeft) * 60.0;
    if (gameState == GameState::MAP)
        progress += 100000;
    int dist = EnemyDistance();
    double danger = dist < 192 ? (192 - dist) * 0.5 : 0;
    o.value = progress - ticks - danger - (livesBefore - lives) * 2000 +
              (tally.bagKills + tally.bombKills + tally.eaten) * 40;
    if (gameState == GameState::RUN && p.kind != 2) {
        // distance left to the target counts against the plan
        o.value -= (p.target.path.size() - p.cells) * 8;
    }
    return o;
}

std::vector<Plan> MakePlans()
{
    std::vector<Plan> plans;
    auto targets = FindTargets(true, 6);
    for (auto &t : targets) {
        if (t.path.empty())
            continue;
        for (int cells : {(int)t.path.size(), std::min<int>(3, t.path.size())}) {
            plans.push_back({0, t, 0, cells});
            if (bombsOut < bombCapacity && hero->state == 1)
                plans.push_back({1, t, 0, cells});
            if ((int)t.path.size() <= 3)
                break;
        }
    }
    // Single steps in every direction, for getting out of the way.
    for (int dir = 0; dir < 4; dir++) {
        int nc = Column(hero->x) + dc[dir], nr = Column(hero->y) + dr[dir];
        if (Walkable(nc, nr)) {
            Target t{nc, nr, 1, {dir}};
            plans.push_back({0, t, 0, 1});
            if (bombsOut < bombCapacity)
                plans.push_back({1, t, 0, 1});
        }
    }
    plans.push_back({2, Target{}, 8, 0});
    plans.push_back({2, Target{}, 24, 0});
    return plans;
}

struct Node {
    Snapshot state;
    std::vector<Outcome> options;  // best first
    size_t next = 0;
};

struct Result {
    bool solved = false;
    Tally tally;
    long nodes = 0;
};

Result Search(double seconds, bool allowDeath, const Snapshot &start)
{
    Result res;
    auto began = std::chrono::steady_clock::now();
    std::vector<Node *> stack;
    auto expand = [&](Node *n) {
        Restore(n->state);
        for (const Plan &p : MakePlans()) {
            Restore(n->state);
            Outcome o = Play(p, allowDeath);
            if (o.ok)
                n->options.push_back(std::move(o));
        }
        std::stable_sort(n->options.begin(), n->options.end(),
                         [](const Outcome &a, const Outcome &b) { return a.value > b.value; });
        if (n->options.size() > 5)
            n->options.resize(5);
        res.nodes++;
    };
    Node *root = new Node;
    root->state = start;
    expand(root);
    stack.push_back(root);
    while (!stack.empty()) {
        double used = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
        if (used > seconds)
            break;
        Node *top = stack.back();
        if (top->next >= top->options.size()) {
            delete top;
            stack.pop_back();
            continue;
        }
        Outcome &o = top->options[top->next++];
        Restore(top->state);
        Play(o.plan, allowDeath);
        if (gameState == GameState::MAP) {
            res.solved = lives > 0;
            break;
        }
        if (gameState != GameState::RUN)
            continue;
        Node *child = new Node;
        Save(&child->state);
        expand(child);
        stack.push_back(child);
        if (searchVerbose && stack.size() % 25 == 0)
            std::fprintf(stderr, "  depth %zu tick %zu items %d lives %d nodes %ld\n", stack.size(),
                         input.size(), itemsLeft, lives, res.nodes);
    }
    for (Node *n : stack)
        delete n;
    return res;
}

}  // namespace

bool SolveLevel(int level, const std::string &mapPath, long draws, double seconds, SearchRun *run,
                std::string *error)
{
    *run = SearchRun();
    Demo &demo = run->demo;
    demo.level = level;
    demo.mapChecksum = MapFileChecksum(mapPath);
    demo.draws = draws;
    demo.generator = GeneratorFingerprint();
    demo.values = PlayValues();  // a new game's
    if (!StartDemo(demo, mapPath, error))
        return false;
    input.clear();
    plansPlayed = plansFatal = 0;
    for (auto *b : moneyBags)
        run->bags += b->state != 0;
    run->items = itemsLeft;
    Snapshot start;
    Save(&start);
    Result r = Search(seconds * 0.6, false, start);
    if (!r.solved) {
        if (searchVerbose)
            std::fprintf(stderr,
                         "delvorn-solve: level %d: no run without a death in %.0f s; "
                         "trying runs that cost lives\n",
                         level, seconds * 0.6);
        Restore(start);
        r = Search(seconds * 0.4, true, start);
    }
    run->points = r.nodes;
    run->plans = plansPlayed;
    run->fatalPlans = plansFatal;
    if (!r.solved)
        return true;

    // Check the run from a fresh start, as a replay will play it.
    std::vector<uint8_t> ticks = input;
    if (!StartDemo(demo, mapPath, error))
        return false;
    Tally tally;
    input.clear();
    for (uint8_t t : ticks) {
        Step(t, &tally);
        if (gameState != GameState::RUN)
            break;
    }
    if (gameState != GameState::MAP || lives <= 0 || input.size() != ticks.size()) {
        *error = "level " + std::to_string(level) + ": the run does not replay to the exit";
        return false;
    }
    run->solved = true;
    demo.ticks = ticks;
    demo.ending = "exit";
    demo.final = PlayStateLine((long)ticks.size());
    run->livesLost = tally.deaths;
    run->score = score;
    run->bagsDropped = tally.bagsDropped;
    run->bagKills = tally.bagKills;
    run->bombKills = tally.bombKills;
    run->eaten = tally.eaten;
    return true;
}

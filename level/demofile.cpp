// demofile.cpp: reading and writing demo files.
#include "level/demofile.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "base/frame.h"
#include "base/input.h"
#include "gameplay/figures.h"
#include "gameplay/random.h"
#include "map/levelmap.h"
#include "map/mapcodes.h"
#include "platform/paths/paths.h"

static const char demoMagic[] = "DELVORN-DEMO 1";
static const char tickLetters[] = "LRUDFXK";

// FNV-1a, 32 bits: small, and the same on every platform.
static uint32_t Fnv1a(uint32_t h, uint32_t value)
{
    for (int i = 0; i < 4; i++) {
        h ^= (value >> (8 * i)) & 0xffu;
        h *= 16777619u;
    }
    return h;
}
static const uint32_t fnvStart = 2166136261u;

std::string DemoTickLetters(uint8_t tick)
{
    std::string s;
    for (int i = 0; tickLetters[i]; i++)
        if (tick & (1 << i))
            s += tickLetters[i];
    return s.empty() ? "-" : s;
}

uint8_t DemoTickFromLetters(const std::string &letters)
{
    uint8_t tick = 0;
    for (char c : letters)
        for (int i = 0; tickLetters[i]; i++)
            if (c == tickLetters[i])
                tick |= 1 << i;
    return tick;
}

bool WriteDemo(const std::string &path, const Demo &demo, std::string *error)
{
    std::string temporary = path + ".tmp";
    FILE *f = std::fopen(temporary.c_str(), "w");
    if (!f) {
        *error = "cannot write " + temporary;
        return false;
    }
    std::fprintf(f, "%s\nlevel %d\nmap %08x\ndraws %ld\ngenerator %08x\n", demoMagic, demo.level,
                 demo.mapChecksum, demo.draws, demo.generator);
    const PlayValues &v = demo.values;
    std::fprintf(f, "score %d\nlives %d\nbombs %d\nbombsout %d\nkeeplives %d\nlatch %d\n", v.score, v.lives,
                 v.bombCapacity, v.bombsOut, v.keepLives ? 1 : 0, v.keysLatched ? 1 : 0);
    std::fprintf(f, "ticks %zu\nend %s\nfinal %s\n", demo.ticks.size(),
                 demo.ending.empty() ? "-" : demo.ending.c_str(),
                 demo.final.empty() ? "-" : demo.final.c_str());
    for (uint8_t t : demo.ticks)
        std::fprintf(f, "%s\n", DemoTickLetters(t).c_str());
    bool written = !std::ferror(f);
    if (std::fclose(f) != 0 || !written) {
        std::remove(temporary.c_str());
        *error = "cannot write " + temporary;
        return false;
    }
    if (!ReplaceFileWith(temporary, path)) {
        std::remove(temporary.c_str());
        *error = "cannot replace " + path;
        return false;
    }
    return true;
}

// "key value" with a number of the given base, or false.
static bool ReadField(std::istream &in, const char *name, int base, unsigned long long *value)
{
    std::string line;
    if (!std::getline(in, line))
        return false;
    std::istringstream words(line);
    std::string key, text;
    if (!(words >> key >> text) || key != name)
        return false;
    char *end = nullptr;
    *value = std::strtoull(text.c_str(), &end, base);
    return end && *end == 0 && text[0] != '-';
}

bool ReadDemo(const std::string &path, Demo *demo, std::string *error)
{
    std::ifstream in(path);
    if (!in) {
        *error = "cannot read " + path;
        return false;
    }
    std::string line;
    if (!std::getline(in, line) || line.compare(0, sizeof demoMagic - 1, demoMagic) != 0) {
        *error = path + " is not a demo file";
        return false;
    }
    unsigned long long level, map, draws, generator, points, lives, capacity, out, keep, latch, count;
    if (!ReadField(in, "level", 10, &level) || level < 1 || level > 99 || !ReadField(in, "map", 16, &map) ||
        map > 0xffffffffull || !ReadField(in, "draws", 10, &draws) || draws > 1000000000ull ||
        !ReadField(in, "generator", 16, &generator) || generator > 0xffffffffull ||
        !ReadField(in, "score", 10, &points) || points > 2000000000ull ||
        !ReadField(in, "lives", 10, &lives) || lives > 1000000ull || !ReadField(in, "bombs", 10, &capacity) ||
        capacity > 12 || !ReadField(in, "bombsout", 10, &out) || out > 12 ||
        !ReadField(in, "keeplives", 10, &keep) || keep > 1 || !ReadField(in, "latch", 10, &latch) ||
        latch > 1 || !ReadField(in, "ticks", 10, &count) || count > 100000000ull) {
        *error = path + ": damaged demo header";
        return false;
    }
    Demo d;
    d.level = (int)level;
    d.mapChecksum = (uint32_t)map;
    d.draws = (long)draws;
    d.generator = (uint32_t)generator;
    d.values.score = (int)points;
    d.values.lives = (int)lives;
    d.values.bombCapacity = (int)capacity;
    d.values.bombsOut = (int)out;
    d.values.keepLives = keep != 0;
    d.values.keysLatched = latch != 0;
    if (!std::getline(in, line) || line.compare(0, 4, "end ") != 0) {
        *error = path + ": damaged demo header";
        return false;
    }
    d.ending = line.substr(4);
    if (!std::getline(in, line) || line.compare(0, 6, "final ") != 0) {
        *error = path + ": damaged demo header";
        return false;
    }
    d.final = line.substr(6) == "-" ? "" : line.substr(6);
    d.ticks.reserve(count);
    while (d.ticks.size() < count && std::getline(in, line))
        d.ticks.push_back(DemoTickFromLetters(line));
    if (d.ticks.size() != count) {
        *error = path + ": the demo ends after " + std::to_string(d.ticks.size()) + " of " +
                 std::to_string(count) + " ticks";
        return false;
    }
    *demo = d;
    return true;
}

uint32_t MapFileChecksum(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return 0;
    uint32_t h = fnvStart;
    char byte;
    while (in.get(byte))
        h = (h ^ (uint8_t)byte) * 16777619u;
    return h;
}

uint8_t DemoTickOf(const PlayInput &input)
{
    return (input.left ? DEMO_LEFT : 0) | (input.right ? DEMO_RIGHT : 0) | (input.up ? DEMO_UP : 0) |
           (input.down ? DEMO_DOWN : 0) | (input.fire ? DEMO_FIRE : 0) |
           (input.debugSwitch ? DEMO_DEBUG_SWITCH : 0) |
           (input.pause || input.help || input.screenshot || input.editor ? DEMO_OTHER_PLAY_KEY : 0);
}

PlayInput DemoTickInput(uint8_t tick)
{
    PlayInput input;
    input.left = tick & DEMO_LEFT;
    input.right = tick & DEMO_RIGHT;
    input.up = tick & DEMO_UP;
    input.down = tick & DEMO_DOWN;
    input.fire = tick & DEMO_FIRE;
    input.debugSwitch = tick & DEMO_DEBUG_SWITCH;
    return input;
}

static int CountCells(int layer, int code)
{
    int n = 0;
    for (int r = 0; r < MAP_ROWS; r++)
        for (int c = 0; c < MAP_COLUMNS; c++)
            if (CellCode(layer, c, r) == code)
                n++;
    return n;
}

std::string PlayStateLine(long tick)
{
    const char *stateName = StateName(gameState);
    if (std::strncmp(stateName, "STATE::", 7) == 0)
        stateName += 7;
    char part[256];
    std::snprintf(part, sizeof part,
                  "tick=%ld hero=%d,%d,%d score=%d lives=%d items=%d bombs=%d,%d potion=%d "
                  "shields=%d dug=%d gold=%d state=%s enemies=",
                  tick, (int)hero->x, (int)hero->y, hero->state, score, lives, itemsLeft, bombCapacity,
                  bombsOut, potionActive, shieldsOpen ? 1 : 0, CountCells(0, dugBlockCode),
                  CountCells(2, GOLD_CODE), stateName);
    std::string line = part;
    for (int i = 0; i < ENEMY_COUNT; i++) {
        const GameObject *e = enemies[i];
        std::snprintf(part, sizeof part, "%s%d,%d,%d,%d", i ? ";" : "", (int)e->x, (int)e->y, e->state,
                      e->work[ENEMY_DIRECTION]);
        line += part;
    }
    line += " bags=";
    bool first = true;
    for (int i = 0; i < MONEYBAG_COUNT; i++) {
        const GameObject *b = moneyBags[i];
        if (b->state == BAG_GONE)
            continue;
        std::snprintf(part, sizeof part, "%s%d:%d,%d,%d", first ? "" : ";", i, (int)b->x, (int)b->y,
                      b->state);
        line += part;
        first = false;
    }
    return line;
}

uint32_t GeneratorFingerprint()
{
    static uint32_t known = 0;
    if (known)
        return known;
    long position = RandomDraws();
    RestartRandom();
    uint32_t h = Fnv1a(fnvStart, (uint32_t)RAND_MAX);
    for (int i = 0; i < 16; i++)
        h = Fnv1a(h, (uint32_t)GameRandom());
    RestartRandom();
    SkipRandom(position);
    known = h;
    return h;
}

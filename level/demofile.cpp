// demofile.cpp: reading and writing demo files.
#include "level/demofile.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

#include "base/frame.h"
#include "base/input.h"
#include "gameplay/figures.h"
#include "gameplay/random.h"
#include "map/levelmap.h"
#include "map/mapcodes.h"
#include "platform/os/savefile.h"
#include "platform/paths/paths.h"

namespace fs = std::filesystem;

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
    // What no reader would take back is not written.
    if (demo.ticks.size() > DEMO_MAX_TICKS || demo.draws < 0 ||
        (unsigned long long)demo.draws > DEMO_MAX_DRAWS) {
        *error = "a level of " + std::to_string(demo.ticks.size()) + " ticks after " +
                 std::to_string(demo.draws) + " random draws is past what a demo holds";
        return false;
    }
    std::string text = std::string(demoMagic) + "\n";
    char line[128];
    std::snprintf(line, sizeof line, "level %d\nmap %08x\ndraws %ld\ngenerator %08x\n", demo.level,
                  demo.mapChecksum, demo.draws, demo.generator);
    text += line;
    const PlayValues &v = demo.values;
    std::snprintf(line, sizeof line, "score %d\nlives %d\nbombs %d\nbombsout %d\nkeeplives %d\nlatch %d\n",
                  v.score, v.lives, v.bombCapacity, v.bombsOut, v.keepLives ? 1 : 0, v.keysLatched ? 1 : 0);
    text += line;
    text += "ticks " + std::to_string(demo.ticks.size()) + "\nend " +
            (demo.ending.empty() ? "-" : demo.ending) + "\nfinal " + (demo.final.empty() ? "-" : demo.final) +
            "\n";
    for (uint8_t t : demo.ticks)
        text += DemoTickLetters(t) + "\n";
    return SaveWholeFile(path, text.data(), text.size(), error);
}

bool ReadDemoLines(const std::string &path, std::vector<std::string> *lines, std::string *error)
{
    if (!IsRegularFile(path)) {
        struct stat st;
        *error = "cannot read " + path +
                 (stat(path.c_str(), &st) == 0 ? ": not a regular file" : ": no such file");
        return false;
    }
    FILE *file = std::fopen(path.c_str(), "rb");
    if (!file) {
        *error = "cannot read " + path;
        return false;
    }
    std::string line;
    size_t total = 0;
    bool ok = true;
    for (int c; ok && (c = std::getc(file)) != EOF;) {
        if (++total > DEMO_MAX_FILE_BYTES) {
            *error = path + " is larger than any demo (" + std::to_string(DEMO_MAX_FILE_BYTES) + " bytes)";
            ok = false;
        } else if (c == '\n') {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            lines->push_back(line);
            line.clear();
        } else if (line.size() >= DEMO_MAX_LINE) {
            *error = path + ": line " + std::to_string(lines->size() + 1) + " is longer than any demo line";
            ok = false;
        } else {
            line += (char)c;
        }
    }
    std::fclose(file);
    if (ok && !line.empty())
        lines->push_back(line);  // the last line without its line end
    return ok;
}

// "key value" with a number of the given base, no larger than `most`.
static bool ReadField(const std::vector<std::string> &lines, size_t *at, const char *name, int base,
                      unsigned long long most, unsigned long long *value)
{
    if (*at >= lines.size())
        return false;
    std::istringstream words(lines[(*at)++]);
    std::string key, text, more;
    if (!(words >> key >> text) || key != name || (words >> more) || text[0] == '-' || text[0] == '+')
        return false;
    char *end = nullptr;
    errno = 0;
    *value = std::strtoull(text.c_str(), &end, base);
    return errno == 0 && end && *end == 0 && *value <= most;
}

// "end exit", "final tick=..." : the text after the key and one space.
static bool ReadText(const std::vector<std::string> &lines, size_t *at, const std::string &key,
                     std::string *text)
{
    if (*at >= lines.size() || lines[*at].compare(0, key.size() + 1, key + " ") != 0)
        return false;
    *text = lines[(*at)++].substr(key.size() + 1);
    return true;
}

bool ReadDemo(const std::string &path, Demo *demo, std::string *error)
{
    std::vector<std::string> lines;
    if (!ReadDemoLines(path, &lines, error))
        return false;
    if (lines.empty() || lines[0] != demoMagic) {
        *error = path + " is not a demo file";
        return false;
    }
    size_t at = 1;
    unsigned long long level, map, draws, generator, points, lives, capacity, out, keep, latch, count;
    std::string ending, final;
    if (!ReadField(lines, &at, "level", 10, 99, &level) || level < 1 ||
        !ReadField(lines, &at, "map", 16, 0xffffffffull, &map) ||
        !ReadField(lines, &at, "draws", 10, DEMO_MAX_DRAWS, &draws) ||
        !ReadField(lines, &at, "generator", 16, 0xffffffffull, &generator) ||
        !ReadField(lines, &at, "score", 10, 2000000000ull, &points) ||
        !ReadField(lines, &at, "lives", 10, 1000000ull, &lives) ||
        !ReadField(lines, &at, "bombs", 10, 12, &capacity) ||
        !ReadField(lines, &at, "bombsout", 10, 12, &out) ||
        !ReadField(lines, &at, "keeplives", 10, 1, &keep) || !ReadField(lines, &at, "latch", 10, 1, &latch) ||
        !ReadField(lines, &at, "ticks", 10, DEMO_MAX_TICKS, &count) ||
        !ReadText(lines, &at, "end", &ending) || !ReadText(lines, &at, "final", &final)) {
        *error = path + ": damaged demo header (line " + std::to_string(at) + ")";
        return false;
    }
    if (lines.size() - at < count) {
        *error = path + ": the demo ends after " + std::to_string(lines.size() - at) + " of " +
                 std::to_string(count) + " ticks";
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
    d.ending = ending;
    d.final = final == "-" ? "" : final;
    // An older recorder stopped at the editor and named the page's state:
    // play was still running under it.
    const std::string editorState = " state=LEVEL EDITOR ";
    const size_t page = d.final.find(editorState);
    if (page != std::string::npos)
        d.final.replace(page, editorState.size(), " state=RUN ");
    d.ticks.reserve(count);
    while (d.ticks.size() < count)
        d.ticks.push_back(DemoTickFromLetters(lines[at++]));
    *demo = d;
    return true;
}

std::vector<std::string> NewGameHeaderProblems(const Demo &demo, int level)
{
    std::vector<std::string> problems;
    if (demo.level != level)
        problems.push_back("it is a demo of level " + std::to_string(demo.level) + ", not of level " +
                           std::to_string(level));
    const PlayValues newGame;
    const PlayValues &v = demo.values;
    const struct {
        const char *name;
        int value, wanted;
    } values[] = {
        {"score", v.score, newGame.score},
        {"lives", v.lives, newGame.lives},
        {"bombs", v.bombCapacity, newGame.bombCapacity},
        {"bombsout", v.bombsOut, newGame.bombsOut},
        {"keeplives", v.keepLives, newGame.keepLives},
        {"latch", v.keysLatched, newGame.keysLatched},
    };
    for (const auto &f : values)
        if (f.value != f.wanted)
            problems.push_back(std::string(f.name) + " " + std::to_string(f.value) + ", where a new game has " +
                               std::to_string(f.wanted));
    const long fewest = NEW_GAME_FIRST_LEVEL_DRAWS + (long)(level - 1) * LEVEL_START_DRAWS;
    if (level == 1 && demo.draws != NEW_GAME_FIRST_LEVEL_DRAWS)
        problems.push_back("draws " + std::to_string(demo.draws) + ", where a new game reaches level 1 at " +
                           std::to_string(NEW_GAME_FIRST_LEVEL_DRAWS));
    else if (level > 1 && demo.draws < fewest)
        problems.push_back("draws " + std::to_string(demo.draws) + ", where a new game reaches level " +
                           std::to_string(level) + " at " + std::to_string(fewest) + " or more");
    return problems;
}

std::string RecordedDemoName(int level, std::time_t when)
{
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", std::localtime(&when));
    return "Zub" + std::to_string(level) + "-" + stamp + ".dem";
}

// "Zub" level(1-99, no leading zero) "-" 8 digits "-" 6 digits ".dem".
bool IsRecordedDemoName(const std::string &name, bool temporary)
{
    const std::string end = temporary ? ".dem.tmp" : ".dem";
    if (name.size() < end.size() || name.compare(name.size() - end.size(), end.size(), end) != 0 ||
        name.compare(0, 3, "Zub") != 0)
        return false;
    const std::string middle = name.substr(3, name.size() - 3 - end.size());
    const size_t dash = middle.find('-');
    if (dash == std::string::npos || dash < 1 || dash > 2 || middle[0] == '0' || middle.size() != dash + 16)
        return false;
    for (size_t i = 0; i < middle.size(); i++) {
        const bool wantDash = i == dash || i == dash + 9;
        const bool isDigit = middle[i] >= '0' && middle[i] <= '9';
        if (wantDash ? middle[i] != '-' : !isDigit)
            return false;
    }
    return true;
}

// The date and time after the level's number, which sort as text.
static std::string DateKey(const std::string &name)
{
    return name.substr(name.find('-') + 1);
}

void KeepRecentDemos(const std::string &folder, size_t keep)
{
    std::vector<std::string> dated;
    std::error_code error;
    for (const auto &entry : fs::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        if (IsRecordedDemoName(name, true))
            fs::remove(entry.path(), error);  // a killed save's: no save runs under the lock
        else if (IsRecordedDemoName(name) && entry.is_regular_file(error))
            dated.push_back(name);
    }
    if (dated.size() <= keep)
        return;
    std::sort(dated.begin(), dated.end(),
              [](const std::string &a, const std::string &b) { return DateKey(a) < DateKey(b); });
    for (size_t i = 0; i + keep < dated.size(); i++)
        fs::remove(fs::path(folder) / dated[i], error);
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

// The state play is in: a page over it leaves it running.
static int PlayState()
{
    switch (gameState) {
    case GameState::PAUSE:
    case GameState::HELP:
    case GameState::LEVEL_EDITOR: return GameState::RUN;
    default: return gameState;
    }
}

std::string PlayStateLine(long tick)
{
    const char *stateName = StateName(PlayState());
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

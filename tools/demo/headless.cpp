// headless.cpp: the tools' play without a window.
#include "tools/demo/headless.h"

#include <allegro.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "gameplay/figures.h"
#include "gameplay/moneybags.h"
#include "gameplay/particles.h"
#include "gameplay/random.h"
#include "level/levelmap.h"
#include "level/levelsetup.h"
#include "level/mapfile.h"
#include "shell/gameloop.h"
#include "shell/input.h"
#include "shell/seam.h"
#include "shell/startup.h"

bool InitHeadlessPlay(const std::string &dataDir, const char *tool)
{
    if (install_allegro(SYSTEM_NONE, &errno, std::atexit) != 0) {
        std::fprintf(stderr, "%s: Allegro did not start\n", tool);
        return false;
    }
    set_color_depth(16);
    skipWaits = true;
    std::string dataPath = dataDir + "/Data.dat";
    if (!LoadGameData(dataPath.c_str()))
        std::fprintf(stderr, "%s: no data file at %s; figures have no pictures\n", tool,
                     dataPath.c_str());
    inputControl = new InputControl();
    NewGameReset();
    bombCapacity = 1;
    if (!InitCharacters()) {
        std::fprintf(stderr, "%s: the figures could not be created\n", tool);
        return false;
    }
    particles = new ParticleSet();
    InitBurstDirections();
    return true;
}

bool SetUpLevel(int level, const std::string &mapPath, uint32_t *checksum)
{
    if (levelMap)
        ReleaseMap();
    currentLevel = level;
    shieldsOpen = false;
    ResetLevel(level);
    particles->Restart();
    particles->Spawn(400, 300, 2, 0, 0, 302);
    if (!LoadMapFile(mapPath.c_str()))
        return false;
    *checksum = MapChecksum();
    CreatePathFinder();
    gameState = GameState::RUN;
    return true;
}

std::string GameMapPath(const std::string &dataDir, int level)
{
    return dataDir + "/Maps/Zub" + std::to_string(level) + ".map";
}

static std::string Hex(uint32_t v)
{
    char text[16];
    std::snprintf(text, sizeof text, "%08x", v);
    return text;
}

bool StartDemo(const Demo &demo, const std::string &mapPath, std::string *error)
{
    uint32_t generator = GeneratorFingerprint();
    if (demo.generator != generator) {
        *error = "the demo was recorded with another random generator (" + Hex(demo.generator) +
                 ", this program's is " + Hex(generator) + "); it cannot be replayed here";
        return false;
    }
    // A first start tells how many draws the level start itself takes.
    RestartRandom();
    uint32_t checksum = 0;
    if (!SetUpLevel(demo.level, mapPath, &checksum)) {
        *error = "cannot read map file " + mapPath;
        return false;
    }
    if (checksum != demo.mapChecksum) {
        *error = "the map " + mapPath + " (checksum " + Hex(checksum) +
                 ") is not the one the demo was recorded on (" + Hex(demo.mapChecksum) + ")";
        return false;
    }
    long startDraws = RandomDraws();
    if (demo.draws < startDraws) {
        *error = "the demo's draw count " + std::to_string(demo.draws) +
                 " is below what the level start takes";
        return false;
    }
    RestartRandom();
    SkipRandom(demo.draws - startDraws);
    SetUpLevel(demo.level, mapPath, &checksum);
    score = demo.score;
    lives = demo.lives;
    bombCapacity = demo.bombCapacity;
    bombsOut = demo.bombsOut;
    keepLives = demo.keepLives;
    return true;
}

void HoldDemoTick(uint8_t tick)
{
    key[KEY_LEFT] = (tick & DEMO_LEFT) ? 1 : 0;
    key[KEY_RIGHT] = (tick & DEMO_RIGHT) ? 1 : 0;
    key[KEY_UP] = (tick & DEMO_UP) ? 1 : 0;
    key[KEY_DOWN] = (tick & DEMO_DOWN) ? 1 : 0;
    key[KEY_SPACE] = (tick & DEMO_FIRE) ? 1 : 0;
    key[KEY_X] = (tick & DEMO_DEBUG_SWITCH) ? 1 : 0;
}

// headless.cpp: the demo tools' level start and replay start.
#include "tools/demo/headless.h"

#include <cstdio>

#include "gameplay/figures.h"
#include "gameplay/particles.h"
#include "gameplay/random.h"
#include "level/headless.h"
#include "map/levelmap.h"
#include "platform/paths/paths.h"
#include "shell/gameloop.h"
#include "shell/startup.h"

bool StartToolPlay(const std::string &dataDir, const char *tool)
{
    std::string dataPath = dataDir + "/Data.dat";
    if (!StartHeadless(dataPath.c_str())) {
        std::fprintf(stderr, "%s: Allegro or the figures did not start\n", tool);
        return false;
    }
    if (!dataFile)
        std::fprintf(stderr, "%s: no data file at %s; figures have no pictures\n", tool, dataPath.c_str());
    return true;
}

bool SetUpLevel(int level, const std::string &mapPath)
{
    if (levelMap)
        ReleaseMap();
    if (!StartHeadlessLevel(level, mapPath.c_str()))
        return false;
    SpawnOpeningBurst();
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
    uint32_t checksum = MapFileChecksum(NativePath(mapPath.c_str()));
    if (checksum != demo.mapChecksum) {
        *error = "the map " + mapPath + " (checksum " + Hex(checksum) +
                 ") is not the one the demo was recorded on (" + Hex(demo.mapChecksum) + ")";
        return false;
    }
    // A first start tells how many draws the level start itself takes.
    RestartRandom();
    if (!SetUpLevel(demo.level, mapPath)) {
        *error = "cannot read map file " + mapPath;
        return false;
    }
    long startDraws = RandomDraws();
    if (demo.draws < startDraws) {
        *error =
            "the demo's draw count " + std::to_string(demo.draws) + " is below what the level start takes";
        return false;
    }
    RestartRandom();
    SkipRandom(demo.draws - startDraws);
    SetUpLevel(demo.level, mapPath);
    score = demo.score;
    lives = demo.lives;
    bombCapacity = demo.bombCapacity;
    bombsOut = demo.bombsOut;
    keepLives = demo.keepLives;
    SetPlayKeysLatched(demo.keysLatched);
    return true;
}

void PlayDemoTick(uint8_t tick)
{
    PlayLogicStep(DemoTickInput(tick));
    // Pause, help and the screenshot act outside play; held, they only keep
    // the latch set, so a bomb pressed meanwhile is not dropped.
    if (tick & DEMO_OTHER_PLAY_KEY)
        SetPlayKeysLatched(true);
}

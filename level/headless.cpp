// headless.cpp: see headless.h.
#include "level/headless.h"

#include <allegro.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "base/frame.h"
#include "base/resources.h"
#include "base/seam.h"
#include "gameplay/figures.h"
#include "gameplay/particles.h"
#include "level/levelsetup.h"
#include "level/play.h"

bool StartHeadless(const char *dataPath)
{
    static int started = -1;
    if (started >= 0)
        return started == 1;
    started = 0;
    if (!system_driver && install_allegro(SYSTEM_NONE, &errno, std::atexit) != 0)
        return false;
    set_color_depth(16);
    skipWaits = true;
    if (dataPath && !dataFile)
        LoadGameData(dataPath);
    if (!particles)
        particles = new ParticleSet();
    InitBurstDirections();
    if (!InitCharacters())
        return false;
    started = 1;
    return true;
}

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

std::string GameMapPath(const std::string &dataDir, int level)
{
    return dataDir + "/Maps/Zub" + std::to_string(level) + ".map";
}

bool StartHeadlessLevel(int level, const std::string &mapPath, bool openingBurst)
{
    NewGameReset();
    bombCapacity = 1;
    bagWobbleSoundOn = heroCaughtSoundOn = false;
    return StartPlayLevel(level, mapPath, false, openingBurst);
}

unsigned HeadlessStep(const PlayInput &input)
{
    unsigned requests = PlayLogicStep(input);
    if (requests & PLAY_LEVEL_DONE)
        gameState = GameState::MAP;
    return requests;
}

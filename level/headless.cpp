// headless.cpp: see headless.h.
#include "level/headless.h"

#include <allegro.h>

#include <cerrno>
#include <cstdlib>

#include "base/frame.h"
#include "base/resources.h"
#include "base/seam.h"
#include "gameplay/figures.h"
#include "gameplay/moneybags.h"
#include "gameplay/particles.h"
#include "level/levelsetup.h"
#include "level/mapfile.h"
#include "map/levelmap.h"

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

bool StartHeadlessLevel(int level, const char *mapPath)
{
    NewGameReset();
    bombCapacity = 1;
    currentLevel = level;
    shieldsOpen = false;
    bagWobbleSoundOn = heroCaughtSoundOn = false;
    ResetLevel(level);
    particles->Restart();
    if (!LoadMapFile(mapPath))
        return false;
    CreatePathFinder();
    gameState = GameState::RUN;
    return true;
}

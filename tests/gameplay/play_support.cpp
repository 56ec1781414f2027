// play_support.cpp: see play_support.h.
#include "play_support.h"

#include <allegro.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

#include "gameplay/figures.h"
#include "gameplay/hero.h"
#include "gameplay/moneybags.h"
#include "gameplay/particles.h"
#include "level/levelmap.h"
#include "level/levelsetup.h"
#include "level/mapfile.h"
#include "shell/gameloop.h"
#include "shell/input.h"
#include "shell/seam.h"

void PlayTest::SetUpTestSuite()
{
    static bool started = false;
    if (started)
        return;
    started = true;
    ASSERT_EQ(install_allegro(SYSTEM_NONE, &errno, std::atexit), 0);
    set_color_depth(16);
    skipWaits = true;
    inputControl = new InputControl();
    particles = new ParticleSet();
    InitBurstDirections();
    ASSERT_EQ(InitCharacters(), 1);
}

void PlayTest::SetUp()
{
    for (auto &layer : cells)
        for (auto &row : layer)
            for (int &code : row)
                code = -1;
    for (auto &row : cells[0])
        for (int &code : row)
            code = 1;
    for (int k = 0; k < KEY_MAX; k++)
        key[k] = 0;
    // Lets go of the play keys' latch a previous test may have left set.
    PlayLogicStep();
}

void PlayTest::DigRow(int row, int from, int to)
{
    for (int c = from; c <= to; c++)
        Dig(c, row);
}

void PlayTest::DigColumn(int column, int from, int to)
{
    for (int r = from; r <= to; r++)
        Dig(column, r);
}

void PlayTest::Load(int level)
{
    char path[64];
    std::snprintf(path, sizeof path, "play_%d.map", (int)getpid());
    FILE *f = std::fopen(path, "wb");
    ASSERT_NE(f, nullptr);
    for (auto &layer : cells)
        for (auto &row : layer)
            for (int code : row) {
                unsigned char b[4] = {(unsigned char)code, (unsigned char)(code >> 8),
                                      (unsigned char)(code >> 16), (unsigned char)(code >> 24)};
                std::fwrite(b, 1, 4, f);
            }
    std::fclose(f);

    NewGameReset();
    bombCapacity = 1;
    currentLevel = level;
    shieldsOpen = false;
    bagWobbleSoundOn = heroCaughtSoundOn = false;
    ResetLevel(level);
    bombsOut = 0;
    particles->Restart();
    ASSERT_EQ(LoadMapFile(path), 1);
    std::remove(path);
    CreatePathFinder();
    gameState = GameState::RUN;
}

void PlayTest::ParkEnemies()
{
    for (int i = 0; i < ENEMY_COUNT; i++)
        enemies[i]->work[ENEMY_START_DELAY] = 1000000;
}

void PlayTest::PlaceHero(int x, int y)
{
    hero->SetPosition(x, y);
    hero->state = 1;
}

void PlayTest::Step(const char *keys)
{
    key[KEY_LEFT] = key[KEY_RIGHT] = key[KEY_UP] = key[KEY_DOWN] = key[KEY_SPACE] = 0;
    for (const char *k = keys; *k; k++) {
        switch (*k) {
        case 'L': key[KEY_LEFT] = 1; break;
        case 'R': key[KEY_RIGHT] = 1; break;
        case 'U': key[KEY_UP] = 1; break;
        case 'D': key[KEY_DOWN] = 1; break;
        case 'F': key[KEY_SPACE] = 1; break;
        }
    }
    PlayLogicStep();
}

void PlayTest::Steps(int n, const char *keys)
{
    for (int i = 0; i < n; i++)
        Step(keys);
}

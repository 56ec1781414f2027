// play_support.cpp: see play_support.h.
#include "play_support.h"

#include <allegro.h>

#include <cstdio>
#include <unistd.h>

#include "base/frame.h"
#include "base/input.h"
#include "gameplay/figures.h"
#include "level/headless.h"
#include "level/play.h"

void PlayTest::SetUpTestSuite()
{
    ASSERT_TRUE(StartHeadless(nullptr));
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
    PlayLogicStep(PlayInput());
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

    bool loaded = StartHeadlessLevel(level, path, false);
    std::remove(path);
    ASSERT_TRUE(loaded);
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
    HeadlessStep(PlayInputFromLetters(keys));
}

void PlayTest::Steps(int n, const char *keys)
{
    for (int i = 0; i < n; i++)
        Step(keys);
}

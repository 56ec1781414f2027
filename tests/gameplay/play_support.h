// play_support.h: a level built from a few cells, written to a map file and
// loaded as the game loads it, and play driven one logic step at a time.
#ifndef DELVORN_TESTS_PLAY_SUPPORT_H
#define DELVORN_TESTS_PLAY_SUPPORT_H

#include <gtest/gtest.h>

#include <string>

// Keys held for a step: any of "LRUDF" (left, right, up, down, space).
class PlayTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    void SetUp() override;

    // Every layer-0 cell is earth and every other cell empty until these
    // are used; Load writes the file and sets the level up for play.
    void Dig(int column, int row) { Set(0, column, row, 71); }
    void DigRow(int row, int from, int to);
    void DigColumn(int column, int from, int to);
    void Set(int layer, int column, int row, int code) { cells[layer][row][column] = code; }
    void Load(int level = 1);

    // Enemies that would only get in the way: parked far off, never moving.
    void ParkEnemies();
    // Puts the hero at a pixel, alive and standing.
    void PlaceHero(int x, int y);

    void Step(const char *keys = "");
    void Steps(int n, const char *keys = "");

    int cells[3][17][25];
};

#endif

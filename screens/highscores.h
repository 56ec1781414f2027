// highscores.h: the ten best scores and their 84-byte file
// "HiScore\HiScore.sco". Their screens are in highscore_screens.h.
#ifndef DELVORN_HIGHSCORES_H
#define DELVORN_HIGHSCORES_H

#include <cstddef>
#include <cstdint>

struct HighScoreEntry {
    char initials[4];
    int32_t score;
};

struct HighScoreTable {
    HighScoreEntry entries[10];
};

extern HighScoreTable highScores;
extern char currentInitials[4];

enum { NO_HIGH_SCORE_SLOT = 99 };

enum { HIGH_SCORE_FILE_SIZE = 84 };

// The file's 84 bytes as a table: false (out untouched) when there are
// fewer than 84 or the trailer is not the wrapping sum of the ten scores.
// Initials keep at most three characters, zero-padded.
bool ParseHighScores(const unsigned char *data, size_t size, HighScoreTable &out);
// The 84 bytes the file holds for a table.
void EncodeHighScores(const HighScoreTable &table, unsigned char out[HIGH_SCORE_FILE_SIZE]);

// Test seam: called before each 8-byte piece (and the trailer, piece 10)
// of a save is written; returning false makes the save fail there. A test
// may also sleep in it to catch a save half-way.
extern bool (*highScoreWriteHook)(int piece);

// A failed load leaves the table as it was. A save goes to a temporary
// file renamed over the old one, so a failed save keeps the old file; it
// is logged and shown on the screen.
bool LoadHighScores();
bool SaveHighScores();
// The current game's score and initials into the table and the file. The
// file is read again first, under a lock that two copies of the game take
// turns at, so an entry another copy saved meanwhile is never lost.
bool RecordHighScore();
void ResetHighScores();
void SortHighScores();
int FindHighScoreSlot();
void InsertHighScore();

#endif

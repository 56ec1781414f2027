// highscores.h: the ten best scores, their 84-byte file
// "HiScore\HiScore.sco", the view screen and the initials entry.
#ifndef DELVORN_HIGHSCORES_H
#define DELVORN_HIGHSCORES_H

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

bool LoadHighScores();
bool SaveHighScores();
void ResetHighScores();
void SortHighScores();
int FindHighScoreSlot();
void InsertHighScore();
void ViewHighScores();
void GetUserInitials();

#endif

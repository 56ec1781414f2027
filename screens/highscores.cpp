// STUB: replaced by the owning subsystem.
#include "screens/highscores.h"
HighScoreTable highScores;
char currentInitials[4];
bool LoadHighScores() { return false; }
bool SaveHighScores() { return false; }
void ResetHighScores() {}
void SortHighScores() {}
int FindHighScoreSlot() { return NO_HIGH_SCORE_SLOT; }
void InsertHighScore() {}
void ViewHighScores() {}
void GetUserInitials() {}

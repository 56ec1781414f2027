// highscore_screens.h: the screens of the high score table (highscores.h):
// the hall of fame and the initials entry.
#ifndef DELVORN_HIGHSCORE_SCREENS_H
#define DELVORN_HIGHSCORE_SCREENS_H

// The table until SPACE or ESC.
void ViewHighScores();
// The player's three initials into currentInitials; ENTER ends the entry.
void GetUserInitials();
// A game's end, however it came (lost, won, left): a score that earns a
// place asks for the initials and goes into the saved table.
void CheckHighScore();

#endif

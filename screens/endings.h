// endings.h: game over, game won and the credits roll.
#ifndef DELVORN_ENDINGS_H
#define DELVORN_ENDINGS_H

void GameOver();
void GameWon();
void ViewCredits();

#endif

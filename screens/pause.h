// pause.h: the pause page, the help pages and the two questions (the
// editor, leaving the game): pages over the darkened game picture that
// wait for one key.
#ifndef DELVORN_PAUSE_H
#define DELVORN_PAUSE_H

#include "screens/text.h"

void PauseGame();
// Play page, or the editor page when returnState is LEVEL_EDITOR; returns
// gameState.
int GameHelp();
// True when the player answered Y.
bool AskEditorMode();
// ESC in play: true when the player answered Y to leaving the game.
bool AskLeaveGame();

// What every waiting page does once composed (game over too): show the
// backdrop bitmap after the retrace, then wait, holding the logic still,
// for the first new press of a key of the latch.
void ShowBackdropPage();
void WaitForPagePress(KeyLatch &latch);

#endif

// pause.h: the pause page, the help pages and the editor question.
#ifndef DELVORN_PAUSE_H
#define DELVORN_PAUSE_H

void PauseGame();
int GameHelp();
bool AskEditorMode();

#endif

// menu.h: the main menu and the start-up step that prepares its objects.
#ifndef DELVORN_MENU_H
#define DELVORN_MENU_H

// 0 new game, 1 options, 2 high scores, 3 credits, 4 exit.
int ProcessMenu();
void UpdateMarker();
bool InitObjects();
// Frees what InitObjects made (DeleteAll's last step).
void DeleteObjects();

#endif

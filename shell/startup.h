// startup.h: Initall and DeleteAll, which make and free the long-lived
// resources of base/resources.h and everything else the game keeps.
#ifndef DELVORN_STARTUP_H
#define DELVORN_STARTUP_H

#include "base/resources.h"

// Says at once, on standard error and in the log, when the player's folder
// takes no files: play goes on, but nothing the game saves can be kept.
void CheckPlayerFolder();

int Initall();
void DeleteAll();

#endif

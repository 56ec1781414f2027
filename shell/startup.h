// startup.h: Initall and DeleteAll, which make and free the long-lived
// resources of shell/base/resources.h and everything else the game keeps.
#ifndef DELVORN_STARTUP_H
#define DELVORN_STARTUP_H

#include "shell/base/resources.h"

int Initall();
void DeleteAll();

#endif

// startup.h: Initall and DeleteAll, which make and free the long-lived
// resources of base/resources.h and everything else the game keeps.
#ifndef DELVORN_STARTUP_H
#define DELVORN_STARTUP_H

#include "base/resources.h"

int Initall();
void DeleteAll();

#endif

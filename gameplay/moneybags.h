// moneybags.h: bags wobble over dug cells, fall, catch, land and burst.
#ifndef DELVORN_MONEYBAGS_H
#define DELVORN_MONEYBAGS_H

void ProcessMoneyBags();
// Level start after LoadMap: bag-start cells (layer 2, code 12) emptied.
int CreatePathFinder();

#endif

// statusbar.h: lives, level, items, bombs and score under the map.
#ifndef DELVORN_STATUSBAR_H
#define DELVORN_STATUSBAR_H

void DrawStatusBar();

#endif

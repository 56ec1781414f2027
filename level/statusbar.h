// statusbar.h: lives, level, items, bombs and score under the map.
#ifndef DELVORN_STATUSBAR_H
#define DELVORN_STATUSBAR_H

#include <allegro.h>

// Top of the texts; they lie on the status panel, below it.
enum { STATUS_BAR_Y = 572 };

// What the texts show: equal values draw the same texts.
struct StatusBarValues {
    int lives, level, items, bombs, score;
    const void *font;
    bool operator==(const StatusBarValues &o) const
    {
        return lives == o.lives && level == o.level && items == o.items && bombs == o.bombs &&
               score == o.score && font == o.font;
    }
};
StatusBarValues CurrentStatusBarValues();

// The texts drawn into backBuffer, or into the target.
void DrawStatusBar();
void DrawStatusBarOn(BITMAP *target);

#endif

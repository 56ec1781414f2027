// display.h: what the game's window needs beyond Allegro 4's own calls: its
// name and icon on X11, and rows written straight into the screen shown
// with one update of the window (Allegro's X11 screen otherwise sends each
// row written on its own).
#ifndef DELVORN_DISPLAY_H
#define DELVORN_DISPLAY_H

#include <allegro.h>

// Before allegro_init: the window's X class and instance name and its icon.
// Does nothing where the window has no such names.
void NameGameWindow(const char *windowClass);

// Around writes into the screen's rows through bmp_write_line: the
// rectangle written is shown once, at the end.
void BeginScreenRows();
void EndScreenRows(int x, int y, int w, int h);

#endif

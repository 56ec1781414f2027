// text.h: what every screen shares: the translucent panel and the darkened
// game backdrop (and, through the base, the key latch and the notice line).
#ifndef DELVORN_TEXT_H
#define DELVORN_TEXT_H

#include <allegro.h>
#include <initializer_list>

#include "base/keylatch.h"
#include "base/message.h"

// Outline one pixel outside (x1, y1)-(x2, y2), fill at 64/255 opacity.
void DrawPanel(BITMAP *target, int x1, int y1, int x2, int y2, int outline, int fill);

// The darkened game frame in backdropBitmap (and on the screen).
void DimBackdrop(bool redraw);

// The game's backdrop picture over the whole of backBuffer: the ground of
// the pages that stand on their own (options, high scores, endings).
void DrawPageBackdrop();
// The top of a title on that picture: clear of its grass line (y 40).
const int PAGE_TITLE_Y = 48;

#endif

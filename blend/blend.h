// blend.h: drawing a picture mixed with a flat colour, and fades built on it,
// for 15-, 16- and 32-bit bitmaps.
#ifndef DELVORN_BLEND_H
#define DELVORN_BLEND_H

#include <allegro.h>

// factor 255 and above: the source; 0 and below: the colour alone.
void BlendToColour(BITMAP *source, BITMAP *destination, int x, int y, int colour, int factor);
// mode 0 fade in, 1 fade out, 2 darken to 96, 3 lighten from the colour to 127.
void Fade(BITMAP *source, BITMAP *destination, int x, int y, int mode, int colour, int delayMs);

#endif

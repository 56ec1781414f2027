// blend.h: drawing a picture mixed with a flat colour, and fades built on it,
// for 15-, 16- and 32-bit bitmaps.
#ifndef DELVORN_BLEND_H
#define DELVORN_BLEND_H

#include <allegro.h>

// factor 255 and above: the source; 0 and below: the colour alone.
void BlendToColour(BITMAP *source, BITMAP *destination, int x, int y, int colour, int factor);
// mode 0 fade in, 1 fade out, 2 darken to 96, 3 lighten from the colour to 127.
// After each step it calls wait(delayMs) when given: the caller decides how
// (and whether) time passes, and may show the step.
void Fade(BITMAP *source, BITMAP *destination, int x, int y, int mode, int colour, int delayMs,
          void (*wait)(int ms) = nullptr);

// The row routines that mix pixels. Every path gives the same pixels; the
// choice exists for tests and benchmarks. AUTO takes the fastest the
// processor offers.
enum BlendPath { BLEND_AUTO, BLEND_SCALAR, BLEND_SSE2, BLEND_AVX2 };
// Returns the path now in effect: a path the processor lacks falls back to
// the best one it has.
BlendPath SetBlendPath(BlendPath path);
BlendPath ActiveBlendPath();

#endif

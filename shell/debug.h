// debug.h: the debug overlay lines. The debug switch of play is in
// level/play.h, the screenshot in base/frame.h.
#ifndef DELVORN_DEBUG_H
#define DELVORN_DEBUG_H

#include <allegro.h>

// The state and frame-rate lines.
void DrawDebugOverlay(BITMAP *target);
// The lines into backBuffer while debugOverlay is set: what start-up hands
// PresentFrame for its debug slot.
void DebugFrameOverlay();

#endif

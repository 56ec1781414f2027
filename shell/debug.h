// debug.h: the debug overlay lines, the debug switch of play and the
// screenshot.
#ifndef DELVORN_DEBUG_H
#define DELVORN_DEBUG_H

#include <allegro.h>

// The state and frame-rate lines, drawn by PresentFrame while debugOverlay.
void DrawDebugOverlay(BITMAP *target);
// KEY_X in play: keepLives flips, every enemy digs, the map goes to the log.
void DebugSwitch();
// The visible screen as "Delvorn.pcx"; 1 when written.
int SaveScreenshot();

#endif

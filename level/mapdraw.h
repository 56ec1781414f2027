// mapdraw.h: painting a level in play into backBuffer.
#ifndef DELVORN_MAPDRAW_H
#define DELVORN_MAPDRAW_H

// Play frame steps 1 to 3: backdrop (entry 292), DrawMap, status panel (298).
void DrawPlayFrame();
// The three layers and every figure in their fixed order.
void DrawMap();
// The whole picture of play: the frame above, the status bar, the particles
// and the potion's sign.
void DrawPlayPicture();

#endif

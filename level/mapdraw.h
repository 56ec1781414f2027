// mapdraw.h: painting a level in play into backBuffer.
//
// The still part of the picture (backdrop, the three layers, the status
// panel and its texts) is kept composed in a bitmap of its own and repainted
// square by square where the map says it changed; a frame copies it once and
// draws what moves over it. Without that bitmap every frame is drawn in
// full; both ways give the same picture.
#ifndef DELVORN_MAPDRAW_H
#define DELVORN_MAPDRAW_H

// Made beside backBuffer at start-up (false when it cannot be: frames are
// then drawn in full), freed at shutdown.
bool CreatePlayStill();
void DestroyPlayStill();

// Play frame steps 1 to 3: backdrop (entry 292), DrawMap, status panel (298).
void DrawPlayFrame();
// The three layers and every figure in their fixed order, over what
// backBuffer holds.
void DrawMap();
// The whole picture of play: the frame above, the status bar, the particles
// and the potion's sign.
void DrawPlayPicture();

// Play frame steps 1 to 3 and the status bar texts as things stand, nothing
// animated: from the still picture when fromStill and there is one, else
// everything drawn afresh.
void ComposePlayPicture(bool fromStill);

#endif

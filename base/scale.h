// scale.h: how large the game's 800x600 picture is shown. A window takes the
// largest whole factor that fits the desktop with room for its frame, or the
// one the settings fix; the full screen keeps the desktop's own size and
// centres the largest factor that fits, black around it. A point of the
// window maps back to a pixel of the picture.
#ifndef DELVORN_SCALE_H
#define DELVORN_SCALE_H

// The picture every screen composes, whatever the window's size.
const int GAME_W = 800;
const int GAME_H = 600;

const int SCALE_MAX = 4;
// Room a window needs around its picture: borders, title bar and the
// desktop's panels.
const int WINDOW_ROOM_W = 32;
const int WINDOW_ROOM_H = 96;

// The display mode (w x h) and where the picture, enlarged `factor` times,
// stands in it.
struct Placement {
    int factor;
    int x, y;
    int w, h;
};

// Scale 1..SCALE_MAX fixes the factor; 0 takes the largest whose window fits
// the desktop with room for its frame, at least 1 (also for an unknown
// desktop, size 0).
int WindowFactor(int scale, int desktopW, int desktopH);
// The window of that factor, exactly the picture's size.
Placement WindowPlacement(int factor);
// The desktop's own size, the largest factor that fits, centred; factor 0
// when the desktop is smaller than the picture.
Placement FullScreenPlacement(int desktopW, int desktopH);

struct GamePoint {
    int x, y;
};
// A window point as a pixel of the picture; outside 0..799, 0..599 on the
// black border around it.
GamePoint WindowToGame(const Placement &at, int windowX, int windowY);

#endif

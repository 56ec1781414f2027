// scale.cpp: see scale.h.
#include "base/scale.h"

int WindowFactor(int scale, int desktopW, int desktopH)
{
    if (scale >= 1 && scale <= SCALE_MAX)
        return scale;
    int factor = 1;
    while (factor < SCALE_MAX && GAME_W * (factor + 1) + WINDOW_ROOM_W <= desktopW &&
           GAME_H * (factor + 1) + WINDOW_ROOM_H <= desktopH)
        factor++;
    return factor;
}

Placement WindowPlacement(int factor)
{
    return {factor, 0, 0, GAME_W * factor, GAME_H * factor};
}

Placement FullScreenPlacement(int desktopW, int desktopH)
{
    // No upper bound: a full screen of any size is filled as far as it goes.
    int factor = 0;
    while (GAME_W * (factor + 1) <= desktopW && GAME_H * (factor + 1) <= desktopH)
        factor++;
    return {factor, (desktopW - GAME_W * factor) / 2, (desktopH - GAME_H * factor) / 2, desktopW, desktopH};
}

// Rounded down, so that the border left of and above the picture gives
// negative pixels, not 0.
static int FloorDiv(int a, int b)
{
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

GamePoint WindowToGame(const Placement &at, int windowX, int windowY)
{
    const int factor = at.factor > 0 ? at.factor : 1;
    return {FloorDiv(windowX - at.x, factor), FloorDiv(windowY - at.y, factor)};
}

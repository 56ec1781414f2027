// text.cpp: the notice line, the translucent panel, the darkened game
// backdrop and the key latch that every screen shares.
#include "screens/text.h"

#include "base/frame.h"
#include "base/resources.h"
#include "base/seam.h"
#include "blend/blend.h"
#include "level/mapdraw.h"
#include "platform/alfont/alfont.h"
#include "platform/paths/paths.h"

void DrawPanel(BITMAP *target, int x1, int y1, int x2, int y2, int outline, int fill)
{
    if (!target)
        return;
    rect(target, x1 - 1, y1 - 1, x2 + 1, y2 + 1, outline);
    set_trans_blender(0, 0, 0, 64);
    drawing_mode(DRAW_MODE_TRANS, nullptr, 0, 0);
    rectfill(target, x1, y1, x2, y2, fill);
    drawing_mode(DRAW_MODE_SOLID, nullptr, 0, 0);
}

void DrawPageBackdrop()
{
    if (!backBuffer)
        return;
    if (BITMAP *picture = DataBitmap(PIC_BACKDROP))
        draw_sprite(backBuffer, picture, 0, 0);
}

void DimBackdrop(bool redraw)
{
    if (!backBuffer || !backdropBitmap)
        return;
    if (redraw)
        DrawPlayFrame();
    if (!screen) {
        // No window (tools, tests): the same final picture, without the steps.
        BlendToColour(backBuffer, backdropBitmap, 0, 0, makecol(0, 0, 0), 96);
        return;
    }
    vsync();
    blit(backBuffer, backdropBitmap, 0, 0, 0, 0, backBuffer->w, backBuffer->h);
    Fade(backdropBitmap, GameScreen(), 0, 0, 2, makecol(0, 0, 0), 0, ShowGameScreenStep);
    ShowGameScreen();
    acquire_screen();
    blit(GameScreen(), backdropBitmap, 0, 0, 0, 0, backdropBitmap->w, backdropBitmap->h);
    release_screen();
}

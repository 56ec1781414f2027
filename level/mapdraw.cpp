// mapdraw.cpp: painting the level in play into backBuffer: the backdrop,
// the three layers and the figures in their fixed order, the status panel.
#include "level/mapdraw.h"

#include <allegro.h>

#include "base/log.h"
#include "base/masked_sprite.h"
#include "base/resources.h"
#include "gameplay/bombs.h"
#include "gameplay/figures.h"
#include "gameplay/particles.h"
#include "level/statusbar.h"
#include "map/levelmap.h"

namespace {

void DrawEntry(int entry, int x, int y)
{
    BITMAP *picture = DataBitmap(entry);
    if (picture)
        DrawMaskedSprite(backBuffer, picture, x, y);
}

// Every cell of the layer whose code passes, each moved onto its square.
template <typename Wanted>
void DrawLayer(int layer, Wanted wanted)
{
    for (int r = 0; r < MAP_ROWS; r++)
        for (int c = 0; c < MAP_COLUMNS; c++) {
            int code = CellCode(layer, c, r);
            GameObject *cell = CellSprite(layer, c, r);
            if (!cell || !wanted(code))
                continue;
            cell->SetPosition(c * 32, r * 32);
            cell->Draw(backBuffer);
        }
}

void AnimateAndDraw(GameObject *figure)
{
    if (!figure)
        return;
    figure->Animate();
    figure->Draw(backBuffer);
}

}  // namespace

void DrawPlayFrame()
{
    if (!backBuffer)
        return;
    DrawEntry(PIC_BACKDROP, 0, 0);
    DrawMap();
    DrawEntry(PIC_STATUS_PANEL, 0, 545);
}

void DrawPlayPicture()
{
    DrawPlayFrame();
    DrawStatusBar();
    if (particles)
        particles->Draw(backBuffer, dataFile);
    DrawPotionEffect();
}

void DrawMap()
{
    try {
        if (!backBuffer || !levelMap)
            return;
        DrawLayer(0, [](int code) { return code != CELL_EMPTY; });
        AnimateAndDraw(hero);
        for (GameObject *enemy : enemies)
            if (enemy && enemy->state != ENEMY_INACTIVE)
                AnimateAndDraw(enemy);
        for (GameObject *bag : moneyBags)
            if (bag && bag->state != BAG_GONE)
                bag->Draw(backBuffer);
        for (GameObject *bomb : bombs)
            if (bomb && bomb->state != BOMB_IN_STOCK)
                AnimateAndDraw(bomb);
        // The heart's cell shows only as the heart figure itself.
        DrawLayer(2, [](int code) { return code != CELL_EMPTY && code != HEART_CODE; });
        DrawLayer(1, [](int code) { return code != CELL_EMPTY; });
        if (heart && heart->state != PICKUP_ABSENT)
            AnimateAndDraw(heart);
        if (potion && potion->state != PICKUP_ABSENT)
            AnimateAndDraw(potion);
    } catch (...) {
        LogExceptReport("DrawMap");
    }
}

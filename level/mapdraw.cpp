// mapdraw.cpp: painting the level in play into backBuffer: the backdrop,
// the three layers and the figures in their fixed order, the status panel.
//
// Drawn in full, a frame paints the backdrop and some five hundred cells
// that did not change. So the still part is kept in playStill: a frame
// copies it, draws the figures that go between layer 0 and layer 2, and then
// paints layers 2 and 1 (and the panel) again only inside each such figure's
// box, where they would have covered it. Painting a cell of layer 2 or 1
// again over the still picture changes nothing where no figure lies, so
// the result is the picture drawn in full, pixel for pixel.
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

const int PANEL_Y = 545;  // one row below the map, which ends at 543
const int MIDDLE_FIGURES = 1 + ENEMY_COUNT + MONEYBAG_COUNT + BOMB_COUNT;

BITMAP *playStill = nullptr;
bool stillComposed = false;           // false: compose it whole at the next frame
const DATAFILE *stillData = nullptr;  // the data file its pictures came from
bool stillShowsStatus = false;        // its panel carries the texts of stillStatus
StatusBarValues stillStatus;
int changedSquares[MAP_SQUARES];

// A figure as a frame draws it.
struct Shown {
    BITMAP *frame;
    int x, y;
};
Shown middle[MIDDLE_FIGURES];

void DrawEntry(BITMAP *target, int entry, int x, int y)
{
    if (BITMAP *picture = DataBitmap(entry))
        DrawMaskedSprite(target, picture, x, y);
}

// Which codes a layer draws: the heart's cell shows only as the heart figure.
bool CellDrawn(int layer, int code)
{
    return code != CELL_EMPTY && !(layer == 2 && code == HEART_CODE);
}

void DrawCell(BITMAP *target, int layer, int column, int row)
{
    if (!CellDrawn(layer, CellCode(layer, column, row)))
        return;
    if (const GameObject *cell = CellSprite(layer, column, row))
        if (BITMAP *frame = cell->ShownFrame())
            DrawMaskedSprite(target, frame, column * 32, row * 32);
}

void DrawLayer(BITMAP *target, int layer)
{
    for (int r = 0; r < MAP_ROWS; r++)
        for (int c = 0; c < MAP_COLUMNS; c++)
            DrawCell(target, layer, c, r);
}

// The cells that lie over the figures between layer 0 and layer 2.
bool CoversFigures(int column, int row)
{
    return CellDrawn(2, CellCode(2, column, row)) || CellDrawn(1, CellCode(1, column, row));
}

void AnimateIf(GameObject *figure, bool shown)
{
    if (figure && shown)
        figure->Animate();
}

// One animation step of every figure the frame draws.
void AnimateFigures()
{
    AnimateIf(hero, true);
    for (GameObject *enemy : enemies)
        AnimateIf(enemy, enemy && enemy->state != ENEMY_INACTIVE);
    for (GameObject *bomb : bombs)
        AnimateIf(bomb, bomb && bomb->state != BOMB_IN_STOCK);
    AnimateIf(heart, heart && heart->state != PICKUP_ABSENT);
    AnimateIf(potion, potion && potion->state != PICKUP_ABSENT);
}

void Add(Shown *list, int &n, const GameObject *figure, bool drawn)
{
    if (!figure || !drawn)
        return;
    if (BITMAP *frame = figure->ShownFrame())
        list[n++] = {frame, (int)figure->x, (int)figure->y};
}

// The figures between layer 0 and layer 2, in their drawing order: the hero
// (in every state), enemies, bags, bombs not in stock.
int MiddleFigures(Shown *list)
{
    int n = 0;
    Add(list, n, hero, true);
    for (GameObject *enemy : enemies)
        Add(list, n, enemy, enemy && enemy->state != ENEMY_INACTIVE);
    for (GameObject *bag : moneyBags)
        Add(list, n, bag, bag && bag->state != BAG_GONE);
    for (GameObject *bomb : bombs)
        Add(list, n, bomb, bomb && bomb->state != BOMB_IN_STOCK);
    return n;
}

// The heart and the potion, over everything of the map.
int TopFigures(Shown *list)
{
    int n = 0;
    Add(list, n, heart, heart && heart->state != PICKUP_ABSENT);
    Add(list, n, potion, potion && potion->state != PICKUP_ABSENT);
    return n;
}

void DrawShown(BITMAP *target, const Shown *list, int n)
{
    for (int i = 0; i < n; i++)
        DrawMaskedSprite(target, list[i].frame, list[i].x, list[i].y);
}

// Layers and figures drawn afresh over what the target holds.
void DrawMapOver(BITMAP *target)
{
    Shown top[2];
    DrawLayer(target, 0);
    DrawShown(target, middle, MiddleFigures(middle));
    DrawLayer(target, 2);
    DrawLayer(target, 1);
    DrawShown(target, top, TopFigures(top));
}

// Drawing limited to a rectangle (inclusive corners); the target's own
// clipping comes back when the object goes.
class ClipTo {
public:
    ClipTo(BITMAP *target) : bitmap(target)
    {
        get_clip_rect(bitmap, &x1, &y1, &x2, &y2);
        clipped = get_clip_state(bitmap);
        set_clip_state(bitmap, TRUE);
    }
    ~ClipTo()
    {
        set_clip_rect(bitmap, x1, y1, x2, y2);
        set_clip_state(bitmap, clipped);
    }
    // False when nothing of the rectangle is inside the target's own clip.
    bool Set(int left, int top, int right, int bottom)
    {
        left = left > x1 ? left : x1;
        top = top > y1 ? top : y1;
        right = right < x2 ? right : x2;
        bottom = bottom < y2 ? bottom : y2;
        if (left > right || top > bottom)
            return false;
        set_clip_rect(bitmap, left, top, right, bottom);
        return true;
    }

private:
    BITMAP *bitmap;
    int x1, y1, x2, y2, clipped;
};

// The still picture inside a rectangle, as a frame drawn in full begins:
// colour 0, the backdrop, the cells, the panel.
void ComposeStill(BITMAP *target, int left, int top, int right, int bottom)
{
    ClipTo clip(target);
    if (!clip.Set(left, top, right, bottom))
        return;
    FillPicture(target, 0);
    DrawEntry(target, PIC_BACKDROP, 0, 0);
    if (levelMap) {
        int c0 = left >> 5, c1 = right >> 5, r0 = top >> 5, r1 = bottom >> 5;
        for (int layer : {0, 2, 1})
            for (int r = r0 < 0 ? 0 : r0; r <= r1 && r < MAP_ROWS; r++)
                for (int c = c0 < 0 ? 0 : c0; c <= c1 && c < MAP_COLUMNS; c++)
                    DrawCell(target, layer, c, r);
    }
    DrawEntry(target, PIC_STATUS_PANEL, 0, PANEL_Y);
}

// The rows of the panel and its texts, without the texts.
void ComposePanelRows(BITMAP *target)
{
    ComposeStill(target, 0, PANEL_Y, target->w - 1, target->h - 1);
}

bool StillUsable()
{
    return playStill && backBuffer && playStill->w == backBuffer->w && playStill->h == backBuffer->h &&
           bitmap_color_depth(playStill) == bitmap_color_depth(backBuffer);
}

// Repaints what the map marked since the last frame (all of it after a new
// map or another data file) and, when asked, the status texts that changed.
void UpdateStill(bool withStatus)
{
    int n = TakeChangedSquares(changedSquares);
    if (!stillComposed || stillData != dataFile || n == ALL_SQUARES_CHANGED) {
        ComposeStill(playStill, 0, 0, playStill->w - 1, playStill->h - 1);
        stillComposed = true;
        stillData = dataFile;
        stillShowsStatus = false;
    } else {
        for (int i = 0; i < n; i++) {
            int x = changedSquares[i] % MAP_COLUMNS * 32, y = changedSquares[i] / MAP_COLUMNS * 32;
            ComposeStill(playStill, x, y, x + 31, y + 31);
        }
    }
    if (withStatus && !(stillShowsStatus && stillStatus == CurrentStatusBarValues())) {
        if (stillShowsStatus)
            ComposePanelRows(playStill);
        DrawStatusBarOn(playStill);
        stillShowsStatus = true;
        stillStatus = CurrentStatusBarValues();
    }
}

// Layers 2 and 1 and the panel again, inside the box of a figure drawn
// between layer 0 and layer 2.
void CoverFigure(const Shown &figure)
{
    int left = figure.x, top = figure.y;
    int right = left + figure.frame->w - 1, bottom = top + figure.frame->h - 1;
    ClipTo clip(backBuffer);
    for (int r = top < 0 ? 0 : top >> 5; r <= bottom >> 5 && r < MAP_ROWS; r++)
        for (int c = left < 0 ? 0 : left >> 5; c <= right >> 5 && c < MAP_COLUMNS; c++) {
            if (!CoversFigures(c, r))
                continue;
            if (!clip.Set(left > c * 32 ? left : c * 32, top > r * 32 ? top : r * 32,
                          right < c * 32 + 31 ? right : c * 32 + 31,
                          bottom < r * 32 + 31 ? bottom : r * 32 + 31))
                continue;
            DrawCell(backBuffer, 2, c, r);
            DrawCell(backBuffer, 1, c, r);
        }
    if (bottom >= PANEL_Y && clip.Set(left, top > PANEL_Y ? top : PANEL_Y, right, bottom))
        DrawEntry(backBuffer, PIC_STATUS_PANEL, 0, PANEL_Y);
}

bool ReachesPanel(const Shown *list, int n)
{
    for (int i = 0; i < n; i++)
        if (list[i].y + list[i].frame->h > PANEL_Y)
            return true;
    return false;
}

void ComposeFromStill(bool withStatus)
{
    Shown top[2];
    int middleCount = levelMap ? MiddleFigures(middle) : 0;
    int topCount = levelMap ? TopFigures(top) : 0;
    // A figure below the map, where the texts are drawn over it: the texts
    // are drawn afresh then, as in a frame drawn in full.
    bool textsOver = withStatus && (ReachesPanel(middle, middleCount) || ReachesPanel(top, topCount));
    UpdateStill(withStatus && !textsOver);
    CopyPicture(playStill, backBuffer, backBuffer->w, backBuffer->h);
    if (stillShowsStatus && (!withStatus || textsOver))
        ComposePanelRows(backBuffer);
    DrawShown(backBuffer, middle, middleCount);
    for (int i = 0; i < middleCount; i++)
        CoverFigure(middle[i]);
    DrawShown(backBuffer, top, topCount);
    if (textsOver)
        DrawStatusBar();
}

void ComposeInFull(bool withStatus)
{
    DrawEntry(backBuffer, PIC_BACKDROP, 0, 0);
    if (levelMap)
        DrawMapOver(backBuffer);
    DrawEntry(backBuffer, PIC_STATUS_PANEL, 0, PANEL_Y);
    if (withStatus)
        DrawStatusBar();
}

void Compose(bool fromStill, bool withStatus)
{
    if (!backBuffer)
        return;
    try {
        if (fromStill && StillUsable())
            ComposeFromStill(withStatus);
        else
            ComposeInFull(withStatus);
    } catch (...) {
        LogExceptReport("DrawMap");
    }
}

void AnimateMap()
{
    if (backBuffer && levelMap)
        AnimateFigures();
}

}  // namespace

bool CreatePlayStill()
{
    DestroyPlayStill();
    if (backBuffer)
        playStill = create_bitmap_ex(bitmap_color_depth(backBuffer), backBuffer->w, backBuffer->h);
    return playStill != nullptr;
}

void DestroyPlayStill()
{
    if (playStill)
        destroy_bitmap(playStill);
    playStill = nullptr;
    stillComposed = false;
    stillShowsStatus = false;
}

void DrawPlayFrame()
{
    AnimateMap();
    Compose(true, false);
}

void DrawPlayPicture()
{
    AnimateMap();
    Compose(true, true);
    if (particles)
        particles->Draw(backBuffer, dataFile);
    DrawPotionEffect();
}

void ComposePlayPicture(bool fromStill)
{
    Compose(fromStill, true);
}

void DrawMap()
{
    try {
        if (!backBuffer || !levelMap)
            return;
        AnimateFigures();
        DrawMapOver(backBuffer);
    } catch (...) {
        LogExceptReport("DrawMap");
    }
}

// editorview.cpp: what the level editor shows: the three layer views,
// the layers beneath the current one dimmed, the pointer's cell, the panel
// under the map and the open question. editor.cpp keeps what they show.
#include "level/editorview.h"

#include <allegro.h>
#include <cstdio>
#include <cstring>

#include "base/frame.h"
#include "base/resources.h"
#include "level/tilenames.h"
#include "map/levelmap.h"

namespace {

// The current layer, kept in range for drawing whatever was set.
int ShownLayer()
{
    return editorLayer < 0 ? 0 : editorLayer > maxLayerIndex ? maxLayerIndex : editorLayer;
}

// A kind's picture: blocks and objects are told apart by kind, not by the
// layer they stand on, so an object placed on layer 0 shows as an object.
BITMAP *KindPicture(int kind, int code)
{
    if (kind == 0)
        return DataBitmap(CellPictureEntry(0, code));
    if (kind == 1)
        return DataBitmap(CellPictureEntry(2, code));
    return nullptr;
}

void ClearLayerView(BITMAP *view)
{
    // Cleared to the mask colour, so the masked copy onto the back buffer
    // lets through whatever was drawn there before (the debug lines).
    if (view)
        clear_to_color(view, bitmap_mask_color(view));
}

void DrawLayerCells(BITMAP *target, int layer)
{
    for (int row = 0; row < MAP_ROWS; row++)
        for (int column = 0; column < MAP_COLUMNS; column++) {
            const EditorCell &cell = editorMap[layer][row][column];
            if (BITMAP *picture = KindPicture(cell.kind, cell.code))
                draw_sprite(target, picture, column * 32, row * 32);
        }
}

// What each layer view shows, so that a frame repaints only the cells whose
// kind or code changed since; unknown after EnterEditor and for another
// data file.
EditorCell shownCells[MAP_LAYERS][MAP_ROWS][MAP_COLUMNS];
bool viewsKnown = false;
const DATAFILE *viewsData = nullptr;

bool SameCell(const EditorCell &a, const EditorCell &b)
{
    return a.kind == b.kind && a.code == b.code;
}

// A picture larger than its cell reaches into the next ones: a layer that
// shows one (or did) is painted whole.
bool LayerSpills(int layer)
{
    for (int row = 0; row < MAP_ROWS; row++)
        for (int column = 0; column < MAP_COLUMNS; column++)
            for (const EditorCell *cell : {&editorMap[layer][row][column], &shownCells[layer][row][column]})
                if (BITMAP *picture = KindPicture(cell->kind, cell->code))
                    if (picture->w > 32 || picture->h > 32)
                        return true;
    return false;
}

void RepaintViewCell(BITMAP *view, int layer, int column, int row)
{
    int x1, y1, x2, y2;
    get_clip_rect(view, &x1, &y1, &x2, &y2);
    set_clip_rect(view, column * 32, row * 32, column * 32 + 31, row * 32 + 31);
    clear_to_color(view, bitmap_mask_color(view));
    const EditorCell &cell = editorMap[layer][row][column];
    if (BITMAP *picture = KindPicture(cell.kind, cell.code))
        draw_sprite(view, picture, column * 32, row * 32);
    set_clip_rect(view, x1, y1, x2, y2);
}

void UpdateLayerView(BITMAP *view, int layer)
{
    bool changed = false;
    for (int row = 0; row < MAP_ROWS && !changed; row++)
        for (int column = 0; column < MAP_COLUMNS && !changed; column++)
            changed = !SameCell(editorMap[layer][row][column], shownCells[layer][row][column]);
    if (viewsKnown && viewsData == dataFile && !changed)
        return;
    if (!viewsKnown || viewsData != dataFile || LayerSpills(layer)) {
        ClearLayerView(view);
        DrawLayerCells(view, layer);
        return;
    }
    for (int row = 0; row < MAP_ROWS; row++)
        for (int column = 0; column < MAP_COLUMNS; column++)
            if (!SameCell(editorMap[layer][row][column], shownCells[layer][row][column]))
                RepaintViewCell(view, layer, column, row);
}

// The layers beneath the current one show at this share of their
// brightness, and the picture a drop would place at this one.
enum { LOWER_LAYER_ALPHA = 110, PREVIEW_ALPHA = 170 };

// The panel under the map, where play shows its status bar.
enum { PANEL_Y = 545, PANEL_TEXT_SIZE = 14 };

int Colour(int r, int g, int b)
{
    return makecol(r, g, b);
}

void DrawLayers()
{
    if (editorViewAll) {
        for (int layer = 0; layer < MAP_LAYERS; layer++)
            DrawLayerCells(backBuffer, layer);
        return;
    }
    const int current = ShownLayer();
    // The layers beneath, dimmed: objects and shields go along the tunnels
    // of the ground, which the player must see to place them.
    set_trans_blender(0, 0, 0, LOWER_LAYER_ALPHA);
    for (int layer = 0; layer < current; layer++)
        if (BITMAP *view = editorLayers[layer])
            draw_trans_sprite(backBuffer, view, 0, 0);
    if (BITMAP *view = editorLayers[current])
        masked_blit(view, backBuffer, 0, 0, 0, 0, view->w, view->h);
}

// The cell under the pointer, framed, with what a drop would place there;
// framed in red when the current layer does not take that kind.
void DrawPointerCell()
{
    int column, row;
    if (EditorAsking() || !EditorPointerCell(column, row))
        return;
    const int x = column * 32, y = row * 32;
    const bool fits = EditorModeFitsLayer();
    if (fits)
        if (BITMAP *picture = KindPicture(editorMode, EditorCurrentCode())) {
            set_trans_blender(0, 0, 0, PREVIEW_ALPHA);
            draw_trans_sprite(backBuffer, picture, x, y);
        }
    const int frame = fits ? Colour(255, 255, 0) : Colour(255, 40, 40);
    rect(backBuffer, x, y, x + 31, y + 31, frame);
    rect(backBuffer, x + 1, y + 1, x + 30, y + 30, frame);
}

void PanelText(const char *text, int x, int y, int colour)
{
    alfont_textout_aa(backBuffer, mainFont, text, x, y, colour);
}

const char *const layerNames[MAP_LAYERS] = {"GROUND", "SHIELDS, DECOR", "OBJECTS"};

// Layer, tile and level under the map, in three framed fields: light
// text on the dark ground of the game's pages.
void DrawInfoPanel()
{
    const int outline = Colour(255, 255, 255), ground = Colour(8, 8, 48);
    rectfill(backBuffer, 0, PANEL_Y, 799, 599, ground);
    rect(backBuffer, 0, PANEL_Y, 799, 599, outline);
    vline(backBuffer, 284, PANEL_Y, 599, outline);
    vline(backBuffer, 584, PANEL_Y, 599, outline);

    const int code = EditorCurrentCode();
    const int tileX = 12, tileY = PANEL_Y + 11;
    rect(backBuffer, tileX - 2, tileY - 2, tileX + 33, tileY + 33, Colour(128, 128, 128));
    if (BITMAP *picture = KindPicture(editorMode, code))
        draw_sprite(backBuffer, picture, tileX, tileY);
    if (!mainFont)
        return;
    alfont_text_mode(-1);
    alfont_set_font_size(mainFont, PANEL_TEXT_SIZE);
    const int label = Colour(0, 255, 255), value = Colour(255, 255, 255);
    const int top = PANEL_Y + 8, bottom = PANEL_Y + 29;
    char text[80];
    std::snprintf(text, sizeof text, "%s %d", editorMode == 0 ? "BLOCK" : "OBJECT", code);
    PanelText(text, 56, top, label);
    PanelText(editorMode == 0 ? BlockName(code) : ObjectName(code), 56, bottom, value);

    const int layer = ShownLayer();
    std::snprintf(text, sizeof text, "LAYER %d: %s", layer, layerNames[layer]);
    PanelText(text, 298, top, label);
    if (EditorModeFitsLayer())
        PanelText(editorViewAll ? "SHOWING ALL LAYERS"
                  : layer > 0   ? "LAYERS BELOW DIMMED"
                                : "SHOWING THIS LAYER",
                  298, bottom, value);
    else
        PanelText(layer == 2 ? "TAKES OBJECTS: PRESS F5" : "TAKES BLOCKS: PRESS F5", 298, bottom,
                  Colour(255, 90, 60));

    std::snprintf(text, sizeof text, "LEVEL %d", editorLevel);
    PanelText(text, 598, top, label);
    const char *notice = EditorNotice();
    PanelText(notice ? notice : "F1 HELP", 598, bottom, notice ? Colour(255, 255, 0) : value);
}

// The open question in a box over the middle of the map.
void DrawQuestion()
{
    char first[80], second[80];
    if (!EditorQuestion(first, second, sizeof first))
        return;
    const int blue = Colour(50, 136, 254);
    rectfill(backBuffer, 100, 220, 700, 320, Colour(0, 0, 0));
    rect(backBuffer, 99, 219, 701, 321, blue);
    rect(backBuffer, 101, 221, 699, 319, blue);
    if (!mainFont)
        return;
    alfont_text_mode(-1);
    alfont_set_font_size(mainFont, 18);
    PanelText(first, 400 - alfont_text_length(mainFont, first) / 2, 240, Colour(255, 255, 255));
    PanelText(second, 400 - alfont_text_length(mainFont, second) / 2, 280, Colour(255, 255, 0));
}

}  // namespace

void ResetEditorViews()
{
    for (BITMAP *view : editorLayers)
        ClearLayerView(view);
    viewsKnown = false;
}

void ClearEditorView(int layer)
{
    if (layer >= 0 && layer < MAP_LAYERS)
        ClearLayerView(editorLayers[layer]);
}

void DrawEditorFrame()
{
    for (int layer = 0; layer < MAP_LAYERS; layer++)
        if (BITMAP *view = editorLayers[layer])
            UpdateLayerView(view, layer);
    std::memcpy(shownCells, editorMap, sizeof shownCells);
    viewsKnown = true;
    viewsData = dataFile;
}

void DrawEditorOverlay()
{
    if (!backBuffer)
        return;
    DrawLayers();
    DrawPointerCell();
    DrawInfoPanel();
    DrawQuestion();
}

// PresentFrame draws the editor's status over every frame while editing.
static void EditorFrameOverlay()
{
    if (returnState == GameState::LEVEL_EDITOR)
        DrawEditorOverlay();
}
[[maybe_unused]] static const bool editorOverlaySet =
    SetFrameOverlay(FRAME_OVERLAY_EDITOR, EditorFrameOverlay);

// editor.cpp: the level editor that runs inside a game in progress. It
// paints editorMap with keys and the mouse and saves it as a level file;
// the level being played is never touched.
#include "level/editor.h"

#include <allegro.h>
#include <cstring>

#include "base/frame.h"
#include "base/input.h"
#include "base/keylatch.h"
#include "base/resources.h"
#include "level/mapfile.h"
#include "map/levelmap.h"

namespace {

// Every key and button of the editor under one latch, so a press acts once
// and dragging with a button held paints only the first cell.
KeyLatch editorLatch{KEY_1,  KEY_2,     KEY_F1,    KEY_F3, KEY_F4,     KEY_F2,    KEY_F7,   KEY_F6,
                     KEY_F8, KEY_ENTER, KEY_SPACE, KEY_F5, KEY_EQUALS, KEY_MINUS, KEY_PGUP, KEY_PGDN};

int Wrap(int value, int low, int high)
{
    if (value > high)
        return low;
    if (value < low)
        return high;
    return value;
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

// A level file keeps codes, not kinds: layers 0 and 1 hold blocks, layer 2
// objects. The editor refuses the other kind, so what it shows is what the
// file gives back.
bool ModeFitsLayer()
{
    return editorMode == (editorLayer == 2 ? 1 : 0);
}

int CurrentCode()
{
    return editorMode == 0 ? editorBlock : editorObject;
}

void ShowPlacingPicture()
{
    if (BITMAP *picture = KindPicture(editorMode, CurrentCode()))
        set_mouse_sprite(picture);
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

// The cell under the pointer; false when the pointer is below the map or
// outside the window, where a press must not reach the grid.
bool PointerCell(int &column, int &row)
{
    const GamePoint pointer = WindowToGame(mouse_x, mouse_y);
    column = pointer.x >> 5;
    row = pointer.y >> 5;
    return CellInMap(column, row);
}

void SetCell(int layer, int column, int row, int kind, int code)
{
    editorMap[layer][row][column].kind = kind;
    editorMap[layer][row][column].code = code;
}

void FillLayer(int layer, int kind, int code)
{
    for (int row = 0; row < MAP_ROWS; row++)
        for (int column = 0; column < MAP_COLUMNS; column++)
            SetCell(layer, column, row, kind, code);
}

// Every held key acts, in this order, so keys pressed together combine
// predictably (KEY_1 with KEY_F6 saves under the raised number).
void ActOnHeldKeys(bool mouseLeft, bool mouseRight)
{
    if (key[KEY_F1]) {
        gameState = GameState::HELP;
        returnState = GameState::LEVEL_EDITOR;
    }
    if (key[KEY_1])
        editorLevel = Wrap(editorLevel + 1, 1, 99);
    if (key[KEY_2])
        editorLevel = Wrap(editorLevel - 1, 1, 99);
    if (key[KEY_F8])
        editorViewAll = !editorViewAll;
    if (key[KEY_F6] && !SaveEditorMap())
        allegro_message("ERROR SAVING MAP!");
    if (key[KEY_F7] && !LoadEditorMap())
        allegro_message("ERROR RETRIEVING MAP!");
    if (key[KEY_F3]) {
        FillLayer(editorLayer, CELL_EMPTY, -1);
        ClearLayerView(editorLayers[editorLayer]);
    }
    if (key[KEY_F4] && ModeFitsLayer())
        FillLayer(editorLayer, editorMode, CurrentCode());
    if (key[KEY_F5]) {
        editorMode = editorMode == 0 ? 1 : 0;
        ShowPlacingPicture();
    }
    int column, row;
    if ((key[KEY_ENTER] || key[KEY_SPACE] || mouseLeft) && ModeFitsLayer() && PointerCell(column, row)) {
        editorViewAll = false;
        SetCell(editorLayer, column, row, editorMode, CurrentCode());
    }
    if (mouseRight && PointerCell(column, row)) {
        editorViewAll = false;
        SetCell(editorLayer, column, row, CELL_EMPTY, -1);
    }
    if (key[KEY_PGUP]) {
        if (editorMode == 0)
            editorBlock = Wrap(editorBlock + 1, 0, maxBlockCode);
        else
            editorObject = Wrap(editorObject + 1, 0, maxObjectCode);
        ShowPlacingPicture();
    }
    if (key[KEY_PGDN]) {
        if (editorMode == 0)
            editorBlock = Wrap(editorBlock - 1, 0, maxBlockCode);
        else
            editorObject = Wrap(editorObject - 1, 0, maxObjectCode);
        ShowPlacingPicture();
    }
    if (key[KEY_EQUALS])
        editorLayer = Wrap(editorLayer + 1, 0, maxLayerIndex);
    if (key[KEY_MINUS])
        editorLayer = Wrap(editorLayer - 1, 0, maxLayerIndex);
    if (key[KEY_F2]) {
        gameState = GameState::RUN;
        returnState = GameState::RUN;
        show_mouse(nullptr);
    }
}

}  // namespace

void EnterEditor()
{
    if (backBuffer)
        clear_bitmap(backBuffer);
    for (BITMAP *view : editorLayers)
        ClearLayerView(view);
    viewsKnown = false;
    returnState = gameState = GameState::LEVEL_EDITOR;
    // Every frame is copied over the whole screen, which would wipe a
    // pointer the library draws itself: the system draws it instead.
    enable_hardware_cursor();
    if (BITMAP *pointer = DataBitmap(PIC_BLOCK))
        set_mouse_sprite(pointer);
    if (screen)
        show_mouse(screen);
    editorLayer = 0;
    // The F2 and Y that brought us here may still be down: they must not
    // act in the editor before they are released.
    editorLatch.latched = true;
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

void EditorInputStep()
{
    if (inputControl)
        inputControl->Poll();
    const bool mouseLeft = inputControl && inputControl->IsMouseLeft();
    const bool mouseRight = inputControl && inputControl->IsMouseRight();

    if (editorLatch.Pressed(mouseLeft || mouseRight)) {
        ActOnHeldKeys(mouseLeft, mouseRight);
        clear_keybuf();  // what the keys above did may have filled it
    }
    logicTicks -= 1;
}

void DrawEditorOverlay()
{
    if (!backBuffer)
        return;
    if (!editorViewAll) {
        if (BITMAP *view = editorLayers[Wrap(editorLayer, 0, maxLayerIndex)])
            masked_blit(view, backBuffer, 0, 0, 0, 0, view->w, view->h);
    } else {
        for (int layer = 0; layer < MAP_LAYERS; layer++)
            DrawLayerCells(backBuffer, layer);
    }
    // Raw pixel value 255, in the library's default text mode like the
    // debug lines above them.
    textprintf_ex(backBuffer, font, 0, 24, 255, _textmode,
                  "Current Layer: %d, Current Tile: %d, Current Block: %d", editorLayer, editorObject,
                  editorBlock);
    textprintf_ex(backBuffer, font, 0, 32, 255, _textmode, "Editing Level %d, View Mode: %d", editorLevel,
                  editorViewAll ? 1 : 0);
}

// PresentFrame draws the editor's status over every frame while editing.
static void EditorFrameOverlay()
{
    if (returnState == GameState::LEVEL_EDITOR)
        DrawEditorOverlay();
}
[[maybe_unused]] static const bool editorOverlaySet =
    SetFrameOverlay(FRAME_OVERLAY_EDITOR, EditorFrameOverlay);

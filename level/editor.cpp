// editor.cpp: the level editor that runs inside a game in progress. It
// paints editorMap with keys and the mouse and saves it as a level file;
// the level being played is never touched.
#include "level/editor.h"

#include <allegro.h>
#include <atomic>
#include <cstdio>
#include <cstring>

#include "base/frame.h"
#include "base/input.h"
#include "base/config.h"
#include "base/keylatch.h"
#include "base/resources.h"
#include "level/mapfile.h"
#include "level/tilenames.h"
#include "map/levelmap.h"

namespace {

// Every key and button of the editor under one latch, so a press acts once
// and dragging with a button held paints only the first cell.
KeyLatch editorLatch{KEY_1,     KEY_2,     KEY_F1,     KEY_F3,    KEY_F4,       KEY_F2,
                     KEY_F7,    KEY_F6,    KEY_F8,     KEY_ENTER, KEY_SPACE,    KEY_F5,
                     KEY_EQUALS, KEY_MINUS, KEY_PLUS_PAD, KEY_MINUS_PAD, KEY_PGUP, KEY_PGDN};

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
    column = mouse_x >> 5;
    row = mouse_y >> 5;
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

// Whether filling the layer with (kind, code) would lose a cell painted
// before: clearing is a fill with the empty cell.
bool FillLoses(int layer, int kind, int code)
{
    for (int row = 0; row < MAP_ROWS; row++)
        for (int column = 0; column < MAP_COLUMNS; column++) {
            const EditorCell &cell = editorMap[layer][row][column];
            if (cell.kind != CELL_EMPTY && (cell.kind != kind || cell.code != code))
                return true;
        }
    return false;
}

// The levels a game plays ship with it: saving over one replaces it for
// every later game (installed, the player's copy is played instead).
bool IsShippedLevel(int level)
{
    return level >= 1 && level <= 20;
}

// What one press does, step by step, in this order: keys pressed together
// combine predictably (KEY_1 with KEY_F6 saves under the raised number).
enum Step {
    STEP_HELP,
    STEP_LEVEL_UP,
    STEP_LEVEL_DOWN,
    STEP_VIEW,
    STEP_SAVE,
    STEP_LOAD,
    STEP_CLEAR,
    STEP_FILL,
    STEP_MODE,
    STEP_DROP,
    STEP_ERASE,
    STEP_NEXT_CODE,
    STEP_PREVIOUS_CODE,
    STEP_LAYER_UP,
    STEP_LAYER_DOWN,
    STEP_LEAVE,
    STEPS
};

// A press as it was made: what was held and the cell under the pointer.
// A step that needs the player's yes keeps it until the answer.
struct EditorPress {
    bool held[STEPS];
    bool onMap;
    int column, row;
};

EditorPress TakePress(bool mouseLeft, bool mouseRight)
{
    EditorPress press{};
    press.held[STEP_HELP] = key[KEY_F1];
    press.held[STEP_LEVEL_UP] = key[KEY_1];
    press.held[STEP_LEVEL_DOWN] = key[KEY_2];
    press.held[STEP_VIEW] = key[KEY_F8];
    press.held[STEP_SAVE] = key[KEY_F6];
    press.held[STEP_LOAD] = key[KEY_F7];
    press.held[STEP_CLEAR] = key[KEY_F3];
    press.held[STEP_FILL] = key[KEY_F4];
    press.held[STEP_MODE] = key[KEY_F5];
    press.held[STEP_DROP] = key[KEY_ENTER] || key[KEY_SPACE] || mouseLeft;
    press.held[STEP_ERASE] = mouseRight;
    press.held[STEP_NEXT_CODE] = key[KEY_PGUP];
    press.held[STEP_PREVIOUS_CODE] = key[KEY_PGDN];
    press.held[STEP_LAYER_UP] = key[KEY_EQUALS] || key[KEY_PLUS_PAD];
    press.held[STEP_LAYER_DOWN] = key[KEY_MINUS] || key[KEY_MINUS_PAD];
    press.held[STEP_LEAVE] = key[KEY_F2];
    press.onMap = PointerCell(press.column, press.row);
    return press;
}

// A tap shorter than a logic step (a touchpad's) would fall between two
// reads of the buttons: the mouse driver's callback keeps the presses (bit
// 1 left, 2 right) until the next step takes them. Presses made while help
// was open are not the editor's.
std::atomic<int> buttonsPressed{0};
bool backFromHelp = false;

void NoteMouseButtons(int flags)
{
    if (flags & MOUSE_FLAG_LEFT_DOWN)
        buttonsPressed |= 1;
    if (flags & MOUSE_FLAG_RIGHT_DOWN)
        buttonsPressed |= 2;
}

// The question open, if any: the step waits for Y (or N, Esc) with the
// rest of its press behind it.
int askingStep = -1;
EditorPress waitingPress;
KeyLatch answerLatch{KEY_Y, KEY_N, KEY_ESC};

// A line under the map after a save or a load, for a few seconds.
char notice[64];
int noticeSteps = 0;

void Notice(const char *text)
{
    std::snprintf(notice, sizeof notice, "%s", text);
    noticeSteps = 3 * (logicRate > 0 ? logicRate : 20);
}

bool StepNeedsYes(int step)
{
    switch (step) {
    case STEP_SAVE: return IsShippedLevel(editorLevel);
    case STEP_CLEAR: return FillLoses(editorLayer, CELL_EMPTY, -1);
    case STEP_FILL: return ModeFitsLayer() && FillLoses(editorLayer, editorMode, CurrentCode());
    default: return false;
    }
}

void DoStep(int step, const EditorPress &press)
{
    char text[64];
    switch (step) {
    case STEP_HELP:
        backFromHelp = true;
        gameState = GameState::HELP;
        returnState = GameState::LEVEL_EDITOR;
        break;
    case STEP_LEVEL_UP: editorLevel = Wrap(editorLevel + 1, 1, 99); break;
    case STEP_LEVEL_DOWN: editorLevel = Wrap(editorLevel - 1, 1, 99); break;
    case STEP_VIEW: editorViewAll = !editorViewAll; break;
    case STEP_SAVE:
        if (!SaveEditorMap()) {
            allegro_message("ERROR SAVING MAP!");
        } else {
            std::snprintf(text, sizeof text, "LEVEL %d SAVED", editorLevel);
            Notice(text);
        }
        break;
    case STEP_LOAD:
        if (!LoadEditorMap()) {
            allegro_message("ERROR RETRIEVING MAP!");
        } else {
            std::snprintf(text, sizeof text, "LEVEL %d LOADED", editorLevel);
            Notice(text);
        }
        break;
    case STEP_CLEAR:
        FillLayer(editorLayer, CELL_EMPTY, -1);
        ClearLayerView(editorLayers[editorLayer]);
        break;
    case STEP_FILL:
        if (ModeFitsLayer())
            FillLayer(editorLayer, editorMode, CurrentCode());
        break;
    case STEP_MODE: editorMode = editorMode == 0 ? 1 : 0; break;
    case STEP_DROP:
        if (ModeFitsLayer() && press.onMap) {
            editorViewAll = false;
            SetCell(editorLayer, press.column, press.row, editorMode, CurrentCode());
        }
        break;
    case STEP_ERASE:
        if (press.onMap) {
            editorViewAll = false;
            SetCell(editorLayer, press.column, press.row, CELL_EMPTY, -1);
        }
        break;
    case STEP_NEXT_CODE:
        if (editorMode == 0)
            editorBlock = Wrap(editorBlock + 1, 0, maxBlockCode);
        else
            editorObject = Wrap(editorObject + 1, 0, maxObjectCode);
        break;
    case STEP_PREVIOUS_CODE:
        if (editorMode == 0)
            editorBlock = Wrap(editorBlock - 1, 0, maxBlockCode);
        else
            editorObject = Wrap(editorObject - 1, 0, maxObjectCode);
        break;
    case STEP_LAYER_UP: editorLayer = Wrap(editorLayer + 1, 0, maxLayerIndex); break;
    case STEP_LAYER_DOWN: editorLayer = Wrap(editorLayer - 1, 0, maxLayerIndex); break;
    case STEP_LEAVE:
        gameState = GameState::RUN;
        returnState = GameState::RUN;
        show_mouse(nullptr);
        mouse_callback = nullptr;
        break;
    }
}

// Runs the held steps of a press from `from` on; a step that would lose
// work opens its question and waits there.
void RunPress(const EditorPress &press, int from)
{
    for (int step = from; step < STEPS; step++) {
        if (!press.held[step])
            continue;
        if (StepNeedsYes(step)) {
            waitingPress = press;
            askingStep = step;
            answerLatch.Arm();  // the Y of an earlier answer must be pressed anew
            return;
        }
        DoStep(step, press);
    }
}

void Answer(bool yes)
{
    const int step = askingStep;
    askingStep = -1;
    if (yes)
        DoStep(step, waitingPress);
    RunPress(waitingPress, step + 1);
}

// The question's two lines, for the overlay.
void QuestionLines(char *first, char *second, int size)
{
    switch (askingStep) {
    case STEP_SAVE:
        std::snprintf(first, size, "LEVEL %d IS ONE OF THE GAME'S LEVELS", editorLevel);
        std::snprintf(second, size, "SAVE OVER IT? (Y/N)");
        break;
    case STEP_CLEAR:
        std::snprintf(first, size, "EVERY TILE OF LAYER %d GOES", editorLayer);
        std::snprintf(second, size, "CLEAR THE LAYER? (Y/N)");
        break;
    default:
        std::snprintf(first, size, "EVERY TILE OF LAYER %d IS REPLACED", editorLayer);
        std::snprintf(second, size, "FILL THE LAYER? (Y/N)");
        break;
    }
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
    const int current = Wrap(editorLayer, 0, maxLayerIndex);
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
    if (askingStep >= 0 || !PointerCell(column, row))
        return;
    const int x = column * 32, y = row * 32;
    const bool fits = ModeFitsLayer();
    if (fits)
        if (BITMAP *picture = KindPicture(editorMode, CurrentCode())) {
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

    const int code = CurrentCode();
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

    const int layer = Wrap(editorLayer, 0, maxLayerIndex);
    std::snprintf(text, sizeof text, "LAYER %d: %s", layer, layerNames[layer]);
    PanelText(text, 298, top, label);
    if (ModeFitsLayer())
        PanelText(editorViewAll ? "SHOWING ALL LAYERS" : layer > 0 ? "LAYERS BELOW DIMMED" : "SHOWING THIS LAYER",
                  298, bottom, value);
    else
        PanelText(layer == 2 ? "TAKES OBJECTS: PRESS F5" : "TAKES BLOCKS: PRESS F5", 298, bottom,
                  Colour(255, 90, 60));

    std::snprintf(text, sizeof text, "LEVEL %d", editorLevel);
    PanelText(text, 598, top, label);
    PanelText(noticeSteps > 0 ? notice : "F1 HELP", 598, bottom, noticeSteps > 0 ? Colour(255, 255, 0) : value);
}

// The open question in a box over the middle of the map.
void DrawQuestion()
{
    if (askingStep < 0)
        return;
    const int blue = Colour(50, 136, 254);
    rectfill(backBuffer, 100, 220, 700, 320, Colour(0, 0, 0));
    rect(backBuffer, 99, 219, 701, 321, blue);
    rect(backBuffer, 101, 221, 699, 319, blue);
    if (!mainFont)
        return;
    char first[80], second[80];
    QuestionLines(first, second, sizeof first);
    alfont_text_mode(-1);
    alfont_set_font_size(mainFont, 18);
    PanelText(first, 400 - alfont_text_length(mainFont, first) / 2, 240, Colour(255, 255, 255));
    PanelText(second, 400 - alfont_text_length(mainFont, second) / 2, 280, Colour(255, 255, 0));
}

}  // namespace

void EnterEditor()
{
    if (backBuffer)
        clear_bitmap(backBuffer);
    for (BITMAP *view : editorLayers)
        ClearLayerView(view);
    viewsKnown = false;
    askingStep = -1;
    noticeSteps = 0;
    returnState = gameState = GameState::LEVEL_EDITOR;
    // Every frame is copied over the whole screen, which would wipe a
    // pointer the library draws itself: the system draws it instead. It
    // stays the plain arrow: the cell it points at is marked on the map.
    enable_hardware_cursor();
    set_mouse_sprite(nullptr);
    if (screen)
        show_mouse(screen);
    buttonsPressed = 0;
    backFromHelp = false;
    mouse_callback = NoteMouseButtons;
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
    int tapped = buttonsPressed.exchange(0);
    if (backFromHelp)
        tapped = 0;
    backFromHelp = false;
    const bool mouseLeft = (inputControl && inputControl->IsMouseLeft()) || (tapped & 1);
    const bool mouseRight = (inputControl && inputControl->IsMouseRight()) || (tapped & 2);

    if (noticeSteps > 0)
        noticeSteps--;
    if (askingStep >= 0) {
        // Only the answer counts while a question is open; Y with N is yes.
        if (answerLatch.Pressed())
            Answer(key[KEY_Y] != 0);
        clear_keybuf();
    } else if (editorLatch.Pressed(mouseLeft || mouseRight)) {
        RunPress(TakePress(mouseLeft, mouseRight), 0);
        clear_keybuf();  // what the keys above did may have filled it
    }
    logicTicks -= 1;
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

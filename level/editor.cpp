// editor.cpp: the level editor that runs inside a game in progress. It
// paints editorMap with keys and the mouse and saves it as a level file;
// the level being played is never touched.
#include "level/editor.h"
#include "level/editorview.h"

#include <allegro.h>
#include <atomic>
#include <cstdio>

#include "base/frame.h"
#include "base/input.h"
#include "base/config.h"
#include "base/keylatch.h"
#include "base/resources.h"
#include "level/mapfile.h"
#include "map/levelmap.h"

namespace {

// Every key and button of the editor under one latch, so a press acts once
// and dragging with a button held paints only the first cell.
KeyLatch editorLatch{KEY_1,      KEY_2,     KEY_F1,       KEY_F3,        KEY_F4,    KEY_F2,
                     KEY_F7,     KEY_F6,    KEY_F8,       KEY_ENTER,     KEY_SPACE, KEY_F5,
                     KEY_EQUALS, KEY_MINUS, KEY_PLUS_PAD, KEY_MINUS_PAD, KEY_PGUP,  KEY_PGDN};

int Wrap(int value, int low, int high)
{
    if (value > high)
        return low;
    if (value < low)
        return high;
    return value;
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

// The game's level the player has said yes to saving over: further saves
// of it go ahead until the level number changes or the editor is left.
int confirmedLevel = 0;

bool StepNeedsYes(int step)
{
    switch (step) {
    case STEP_SAVE: return IsShippedLevel(editorLevel) && editorLevel != confirmedLevel;
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
    case STEP_LEVEL_UP:
        editorLevel = Wrap(editorLevel + 1, 1, 99);
        confirmedLevel = 0;
        break;
    case STEP_LEVEL_DOWN:
        editorLevel = Wrap(editorLevel - 1, 1, 99);
        confirmedLevel = 0;
        break;
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
        ClearEditorView(editorLayer);
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
    if (yes && step == STEP_SAVE)
        confirmedLevel = editorLevel;
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
        std::snprintf(first, size, "LAYER %d HAS TILES ON IT", editorLayer);
        std::snprintf(second, size, "CLEAR THE WHOLE LAYER? (Y/N)");
        break;
    default:
        std::snprintf(first, size, "LAYER %d HAS TILES ON IT", editorLayer);
        std::snprintf(second, size, "FILL THE WHOLE LAYER? (Y/N)");
        break;
    }
}

}  // namespace

void EnterEditor()
{
    if (backBuffer)
        clear_bitmap(backBuffer);
    ResetEditorViews();
    askingStep = -1;
    confirmedLevel = 0;
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

bool EditorPointerCell(int &column, int &row)
{
    return PointerCell(column, row);
}

bool EditorModeFitsLayer()
{
    return ModeFitsLayer();
}

int EditorCurrentCode()
{
    return CurrentCode();
}

bool EditorAsking()
{
    return askingStep >= 0;
}

bool EditorQuestion(char *first, char *second, int size)
{
    if (askingStep < 0)
        return false;
    QuestionLines(first, second, size);
    return true;
}

const char *EditorNotice()
{
    return noticeSteps > 0 ? notice : nullptr;
}

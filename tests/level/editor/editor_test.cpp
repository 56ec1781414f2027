// The level editor driven key by key without a window: wraps, the latch,
// keys pressed together, drops and erases, save and load through the map
// files, the layer views and overlay; and the debug switch of play and the
// screenshot's failure without a screen.
#include <gtest/gtest.h>

#include <initializer_list>
#include <sys/stat.h>
#include <vector>

#include "base/frame.h"
#include "base/input.h"
#include "base/resources.h"
#include "gameplay/figures.h"
#include "level/editor.h"
#include "level/play.h"
#include "map/levelmap.h"
#include "tests/support/level_support.h"

namespace {

bool FileExists(const std::string &path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

void ReleaseEverything()
{
    for (int k = 0; k < KEY_MAX; k++)
        key[k] = 0;
    mouse_b = 0;
}

// One input step with these keys held, then one with everything released
// so that the next press acts again.
void Press(std::initializer_list<int> keys)
{
    for (int k : keys)
        key[k] = 1;
    EditorInputStep();
    ReleaseEverything();
    EditorInputStep();
}

void Click(int button, int x, int y)
{
    mouse_x = x;
    mouse_y = y;
    mouse_b = button;
    EditorInputStep();
    ReleaseEverything();
    EditorInputStep();
}

std::vector<EditorCell> Grid()
{
    const EditorCell *first = &editorMap[0][0][0];
    return std::vector<EditorCell>(first, first + MAP_CELLS);
}

bool SameGrid(const std::vector<EditorCell> &a, const std::vector<EditorCell> &b)
{
    for (int i = 0; i < MAP_CELLS; i++)
        if (a[i].kind != b[i].kind || a[i].code != b[i].code)
            return false;
    return true;
}

class Editor : public testing::Test {
protected:
    void SetUp() override
    {
        InstallFakeData();
        folder = EnterScratchFolder();
        if (!inputControl)
            inputControl = new InputControl();
        for (BITMAP *&view : editorLayers)
            if (!view)
                view = create_bitmap(800, 600);
        if (!backBuffer)
            backBuffer = create_bitmap(800, 600);
        ClearEditorMap();
        editorBlock = editorObject = editorMode = 0;
        editorViewAll = false;
        gameState = GameState::RUN;
        returnState = GameState::RUN;
        EnterEditor();
        ReleaseEverything();
        EditorInputStep();  // lets go of the latch EnterEditor sets
        mouse_x = mouse_y = 0;
    }
    void TearDown() override { ReleaseEverything(); }

    std::string folder;
};

}  // namespace

TEST_F(Editor, EnteringSwitchesStateAndStartsOnLayerZero)
{
    editorLayer = 2;
    editorLevel = 17;
    editorMode = 1;
    EnterEditor();
    EXPECT_EQ(GameState::LEVEL_EDITOR, gameState);
    EXPECT_EQ(GameState::LEVEL_EDITOR, returnState);
    EXPECT_EQ(0, editorLayer);
    // A second visit carries on with what the first left.
    EXPECT_EQ(17, editorLevel);
    EXPECT_EQ(1, editorMode);
}

TEST_F(Editor, KeyStillHeldFromEnteringDoesNotActUntilReleased)
{
    key[KEY_F2] = 1;
    EnterEditor();
    EditorInputStep();
    EXPECT_EQ(GameState::LEVEL_EDITOR, gameState);
    ReleaseEverything();
    EditorInputStep();
    Press({KEY_F2});
    EXPECT_EQ(GameState::RUN, gameState);
    EXPECT_EQ(GameState::RUN, returnState);
}

TEST_F(Editor, LevelNumberWrapsBetween1And99)
{
    editorLevel = 99;
    Press({KEY_1});
    EXPECT_EQ(1, editorLevel);
    Press({KEY_2});
    EXPECT_EQ(99, editorLevel);
    Press({KEY_2});
    EXPECT_EQ(98, editorLevel);
}

TEST_F(Editor, CodesAndLayersWrapAtTheirEnds)
{
    Press({KEY_PGDN});
    EXPECT_EQ(73, editorBlock);
    Press({KEY_PGUP});
    EXPECT_EQ(0, editorBlock);

    Press({KEY_F5});
    ASSERT_EQ(1, editorMode);
    Press({KEY_PGDN});
    EXPECT_EQ(26, editorObject);
    EXPECT_EQ(0, editorBlock);  // the other mode's code stays
    Press({KEY_PGUP});
    EXPECT_EQ(0, editorObject);

    // The layer keys, beside the backspace and on the keypad.
    const struct {
        int key, layer;
    } layerKeys[] = {{KEY_MINUS, 2},     {KEY_EQUALS, 0},   {KEY_MINUS_PAD, 2},
                     {KEY_MINUS_PAD, 1}, {KEY_PLUS_PAD, 2}, {KEY_PLUS_PAD, 0}};
    for (const auto &k : layerKeys) {
        Press({k.key});
        EXPECT_EQ(k.layer, editorLayer) << "key " << k.key;
    }
}

TEST_F(Editor, HeldKeyOrButtonActsOncePerPress)
{
    key[KEY_PGUP] = 1;
    for (int i = 0; i < 5; i++)
        EditorInputStep();
    EXPECT_EQ(1, editorBlock);
    // Another key pressed while the first is still down waits too.
    key[KEY_1] = 1;
    EditorInputStep();
    EXPECT_EQ(1, editorLevel);
    ReleaseEverything();
    EditorInputStep();
    Press({KEY_PGUP});
    EXPECT_EQ(2, editorBlock);

    // Dragging with the button held paints only the first cell.
    mouse_b = 1;
    mouse_x = 40, mouse_y = 40;
    EditorInputStep();
    mouse_x = 200, mouse_y = 200;
    EditorInputStep();
    EXPECT_EQ(2, editorMap[0][1][1].code);
    EXPECT_EQ(CELL_EMPTY, editorMap[0][6][6].kind);
}

TEST_F(Editor, EachInputStepUsesUpOneTick)
{
    logicTicks = 3;
    EditorInputStep();
    EXPECT_EQ(2, logicTicks.load());
    logicTicks = 0;
}

TEST_F(Editor, KeysPressedTogetherActInTableOrder)
{
    // The level is raised before the save, so the file has the new number.
    editorLevel = 41;
    editorMap[0][0][0] = {0, 7};
    Press({KEY_F6, KEY_1});
    EXPECT_EQ(42, editorLevel);
    EXPECT_TRUE(FileExists("Maps/Zub42.map"));
    EXPECT_FALSE(FileExists("Maps/Zub41.map"));

    // Clear comes before fill: the layer ends up filled. The clear asks
    // first, and the fill follows the answer.
    Press({KEY_F4, KEY_F3});
    EXPECT_EQ(7, editorMap[0][0][0].code);
    Press({KEY_Y});
    EXPECT_EQ(0, editorMap[0][16][24].kind);
    EXPECT_EQ(0, editorMap[0][16][24].code);

    // The mode switches before the code moves, so the new mode's code moves.
    Press({KEY_PGUP, KEY_F5});
    EXPECT_EQ(1, editorMode);
    EXPECT_EQ(1, editorObject);
    EXPECT_EQ(0, editorBlock);

    // A drop lands on the layer it was pressed on, then the layer changes.
    editorLayer = 2;
    mouse_x = 70, mouse_y = 70;
    Press({KEY_ENTER, KEY_EQUALS});
    EXPECT_EQ(0, editorLayer);
    EXPECT_EQ(1, editorMap[2][2][2].kind);
    EXPECT_EQ(0, editorMap[0][2][2].kind);
}

TEST_F(Editor, DropAndEraseTakeTheCellUnderThePointer)
{
    editorBlock = 33;
    editorLayer = 1;
    mouse_x = 5 * 32 + 31, mouse_y = 16 * 32;  // last row of the map
    Press({KEY_SPACE});
    EXPECT_EQ(0, editorMap[1][16][5].kind);
    EXPECT_EQ(33, editorMap[1][16][5].code);

    editorMode = 1;
    editorObject = 19;
    editorLayer = 2;
    Click(1, 24 * 32, 0);
    EXPECT_EQ(1, editorMap[2][0][24].kind);
    EXPECT_EQ(19, editorMap[2][0][24].code);
    editorLayer = 1;

    Click(2, 5 * 32, 16 * 32 + 10);
    EXPECT_EQ(CELL_EMPTY, editorMap[1][16][5].kind);
    EXPECT_EQ(-1, editorMap[1][16][5].code);

    // A tap let go before the step reads the buttons still drops or erases.
    ASSERT_NE(nullptr, mouse_callback);
    editorLayer = 2;
    mouse_x = 40, mouse_y = 40;
    mouse_callback(MOUSE_FLAG_LEFT_DOWN);
    mouse_callback(MOUSE_FLAG_LEFT_UP);
    EditorInputStep();
    EditorInputStep();
    EXPECT_EQ(19, editorMap[2][1][1].code);
    mouse_callback(MOUSE_FLAG_RIGHT_DOWN | MOUSE_FLAG_RIGHT_UP);
    EditorInputStep();
    EXPECT_EQ(CELL_EMPTY, editorMap[2][1][1].kind);
    EditorInputStep();
    // Not one made while help was open (the editor takes no steps then).
    key[KEY_F1] = 1;
    EditorInputStep();
    ASSERT_EQ(GameState::HELP, gameState);
    ReleaseEverything();
    mouse_callback(MOUSE_FLAG_LEFT_DOWN | MOUSE_FLAG_LEFT_UP);
    gameState = GameState::LEVEL_EDITOR;
    EditorInputStep();
    EXPECT_EQ(CELL_EMPTY, editorMap[2][1][1].kind);
}

// The window shows the picture enlarged, in a full screen also moved: the
// pointer's window position is mapped back to the picture's pixels, and the
// black border around it reaches no cell.
TEST_F(Editor, ThePointerTakesTheCellOfThePictureAtAnyScale)
{
    const struct {
        Placement at;
        int wx, wy;       // the window point clicked
        int column, row;  // -1: no cell
    } cases[] = {
        {{1, 0, 0, 800, 600}, 5 * 32 + 31, 3 * 32, 5, 3},
        {{2, 0, 0, 1600, 1200}, 2 * (5 * 32 + 31) + 1, 2 * 3 * 32, 5, 3},
        {{2, 0, 0, 1600, 1200}, 2 * 24 * 32, 2 * 16 * 32 + 1, 24, 16},
        {{3, 720, 180, 3840, 2160}, 720 + 3 * 5 * 32, 180 + 3 * 3 * 32 + 2, 5, 3},
        {{3, 720, 180, 3840, 2160}, 719, 180 + 3 * 3 * 32, -1, -1},  // the border left of the picture
        {{1, 112, 84, 1024, 768}, 112 + 5 * 32, 84 + 3 * 32, 5, 3},
        {{1, 112, 84, 1024, 768}, 112 + 5 * 32, 83, -1, -1},  // above it
    };
    editorBlock = 9;
    for (const auto &c : cases) {
        ClearEditorMap();
        ASSERT_TRUE(StartPresenting(c.at));
        Click(1, c.wx, c.wy);
        int painted = 0;
        for (int row = 0; row < MAP_ROWS; row++)
            for (int column = 0; column < MAP_COLUMNS; column++)
                if (editorMap[0][row][column].kind != CELL_EMPTY) {
                    painted++;
                    EXPECT_EQ(column, c.column) << "x" << c.at.factor << " at " << c.wx << "," << c.wy;
                    EXPECT_EQ(row, c.row) << "x" << c.at.factor << " at " << c.wx << "," << c.wy;
                }
        EXPECT_EQ(painted, c.column < 0 ? 0 : 1) << "x" << c.at.factor << " at " << c.wx << "," << c.wy;
    }
    StopPresenting();
}

TEST_F(Editor, DropWhileAllLayersShownSwitchesBackToCurrentLayer)
{
    editorViewAll = true;
    editorBlock = 4;
    mouse_x = 100, mouse_y = 100;
    Press({KEY_ENTER});
    EXPECT_FALSE(editorViewAll);
    EXPECT_EQ(4, editorMap[0][3][3].code);

    editorViewAll = true;
    Click(2, 100, 100);
    EXPECT_FALSE(editorViewAll);
    EXPECT_EQ(CELL_EMPTY, editorMap[0][3][3].kind);
}

TEST_F(Editor, DropOrEraseOffTheMapDoesNothing)
{
    editorMap[2][16][0] = {1, 3};
    editorViewAll = true;
    const std::vector<EditorCell> before = Grid();
    const int places[][2] = {{10, 544}, {10, 599}, {799, 580}, {-1, 10}, {800, 10}, {10, -40}};
    for (const auto &p : places) {
        mouse_x = p[0], mouse_y = p[1];
        Press({KEY_ENTER});
        Click(1, p[0], p[1]);
        Click(2, p[0], p[1]);
    }
    EXPECT_TRUE(SameGrid(before, Grid()));
    EXPECT_TRUE(editorViewAll);
}

TEST_F(Editor, ClearAndFillActOnTheCurrentLayerOnly)
{
    editorMap[0][4][4] = {0, 12};
    editorLayer = 2;
    editorMode = 1;
    editorObject = 8;
    Press({KEY_F4});
    for (int r = 0; r < MAP_ROWS; r++)
        for (int c = 0; c < MAP_COLUMNS; c++)
            ASSERT_EQ(8, editorMap[2][r][c].code);
    EXPECT_EQ(12, editorMap[0][4][4].code);
    Press({KEY_F3});
    Press({KEY_Y});
    EXPECT_EQ(CELL_EMPTY, editorMap[2][9][9].kind);
    EXPECT_EQ(-1, editorMap[2][9][9].code);
    EXPECT_EQ(12, editorMap[0][4][4].code);
}

// A level file keeps codes, not kinds: an object placed on a block layer
// would come back as the block of that number (an emerald as an open exit
// door). Each layer takes only its own kind, by drop or by fill, so what
// the editor shows is what a save and a load give back.
TEST_F(Editor, EachLayerTakesOnlyItsKindSoTheSavedLevelIsWhatWasShown)
{
    editorLevel = 7;
    editorBlock = 40;
    editorObject = 5;
    const struct {
        int layer, mode, key;
        bool placed;
    } rows[] = {
        {0, 1, KEY_ENTER, false}, {0, 1, KEY_F4, false},    {1, 1, KEY_ENTER, false},
        {1, 1, KEY_F4, false},    {2, 0, KEY_ENTER, false}, {2, 0, KEY_F4, false},
        {0, 0, KEY_ENTER, true},  {1, 0, KEY_F4, true},     {2, 1, KEY_ENTER, true},
    };
    mouse_x = 100, mouse_y = 100;
    for (const auto &row : rows) {
        editorLayer = row.layer;
        editorMode = row.mode;
        Press({row.key});
        EXPECT_EQ(row.placed, editorMap[row.layer][3][3].kind == row.mode)
            << "layer " << row.layer << " mode " << row.mode << " key " << row.key;
    }
    EXPECT_EQ(CELL_EMPTY, editorMap[0][0][0].kind);
    EXPECT_EQ(0, editorMap[1][0][0].kind);

    const std::vector<EditorCell> shown = Grid();
    Press({KEY_F6});
    Press({KEY_Y});  // level 7 is one of the game's
    EXPECT_EQ(5100u, ReadBytes("Maps/Zub7.map").size());
    ClearEditorMap();
    editorLevel = 7;
    Press({KEY_F7});
    EXPECT_TRUE(SameGrid(shown, Grid()));
}

TEST_F(Editor, FailedLoadKeepsTheMapAndTheEditorRunning)
{
    editorLevel = 88;
    editorMap[1][1][1] = {0, 9};
    const std::vector<EditorCell> before = Grid();
    Press({KEY_F7});
    EXPECT_TRUE(SameGrid(before, Grid()));
    EXPECT_EQ(GameState::LEVEL_EDITOR, gameState);
}

TEST_F(Editor, HelpAndLeavingSetTheStates)
{
    Press({KEY_F1});
    EXPECT_EQ(GameState::HELP, gameState);
    EXPECT_EQ(GameState::LEVEL_EDITOR, returnState);
    gameState = GameState::LEVEL_EDITOR;
    Press({KEY_F2});
    EXPECT_EQ(GameState::RUN, gameState);
    EXPECT_EQ(GameState::RUN, returnState);
}

TEST_F(Editor, LayerViewsShowEachCellsPictureByKind)
{
    editorMap[0][0][0] = {0, 3};     // block: entry 5
    editorMap[0][0][1] = {1, 3};     // object on layer 0: entry 81
    editorMap[2][1][0] = {1, 22};    // heart: entry 100
    editorMap[1][1][1] = {0, 5000};  // no picture: nothing drawn
    editorMap[1][1][2] = {0, -7};
    DrawEditorFrame();
    EXPECT_EQ(EntryColour(5), getpixel(editorLayers[0], 10, 10));
    EXPECT_EQ(EntryColour(81), getpixel(editorLayers[0], 40, 10));
    EXPECT_EQ(EntryColour(100), getpixel(editorLayers[2], 10, 40));
    const int mask = bitmap_mask_color(editorLayers[1]);
    EXPECT_EQ(mask, getpixel(editorLayers[1], 40, 40));
    EXPECT_EQ(mask, getpixel(editorLayers[1], 70, 40));
    EXPECT_EQ(mask, getpixel(editorLayers[0], 400, 300));
}

TEST_F(Editor, OverlayShowsTheLayersThePanelsTileAndThePointersCell)
{
    editorMap[0][5][5] = {0, 1};
    editorMap[2][5][5] = {1, 2};
    editorMap[0][6][6] = {0, 3};
    DrawEditorFrame();

    editorLayer = 2;
    editorMode = 1;
    editorObject = 4;
    mouse_x = 799, mouse_y = 599;  // under the map: no cell marked
    clear_to_color(backBuffer, 0);
    DrawEditorOverlay();
    EXPECT_EQ(EntryColour(80), getpixel(backBuffer, 170, 170));
    // Layer 0 shows beneath, dimmed: neither missing nor at full strength.
    const int dimmed = getpixel(backBuffer, 200, 200);
    EXPECT_NE(0, dimmed);
    EXPECT_LT(getr(dimmed) + getg(dimmed) + getb(dimmed),
              getr(EntryColour(5)) + getg(EntryColour(5)) + getb(EntryColour(5)));
    // The panel under the map shows the tile a drop would place.
    EXPECT_EQ(EntryColour(82), getpixel(backBuffer, 28, 572));
    editorMode = 0;
    editorBlock = 9;
    DrawEditorOverlay();
    EXPECT_EQ(EntryColour(11), getpixel(backBuffer, 28, 572));

    editorViewAll = true;
    clear_to_color(backBuffer, 0);
    DrawEditorOverlay();
    EXPECT_EQ(EntryColour(80), getpixel(backBuffer, 170, 170));  // layer 2 over layer 0
    EXPECT_EQ(EntryColour(5), getpixel(backBuffer, 200, 200));
}

// The pointer's cell is framed and shows what a drop would place, within
// the cell and nowhere else; a layer that does not take the kind frames it
// in red without a picture, and off the map nothing is marked.
TEST_F(Editor, PointerCellIsFramedWithThePictureADropWouldPlace)
{
    const int yellow = makecol(255, 255, 0), red = makecol(255, 40, 40);
    const struct {
        int x, y, layer, mode;
        int column, row;  // -1: none marked
    } rows[] = {
        {0, 0, 0, 0, 0, 0},       {31, 31, 0, 0, 0, 0},   {32, 32, 2, 1, 1, 1},     {100, 70, 1, 0, 3, 2},
        {799, 543, 2, 1, 24, 16}, {400, 40, 0, 1, 12, 1}, {400, 544, 0, 0, -1, -1}, {-5, 10, 0, 0, -1, -1},
    };
    editorBlock = 6;
    editorObject = 2;
    for (const auto &row : rows) {
        editorLayer = row.layer;
        editorMode = row.mode;
        mouse_x = row.x, mouse_y = row.y;
        clear_to_color(backBuffer, 0);
        DrawEditorOverlay();
        int framed = 0;
        for (int y = 0; y < 544; y++)
            for (int x = 0; x < 800; x++) {
                const int c = getpixel(backBuffer, x, y);
                framed += c == yellow || c == red;
            }
        const char *where = row.column < 0 ? "off the map" : "on the map";
        if (row.column < 0) {
            EXPECT_EQ(0, framed) << row.x << "," << row.y << " " << where;
            continue;
        }
        const bool fits = (row.layer == 2) == (row.mode == 1);
        const int x0 = row.column * 32, y0 = row.row * 32;
        EXPECT_EQ(2 * 4 * 31 - 8, framed) << row.x << "," << row.y;  // two rings, 124 + 116 pixels
        EXPECT_EQ(fits ? yellow : red, getpixel(backBuffer, x0, y0)) << row.x << "," << row.y;
        EXPECT_EQ(fits ? yellow : red, getpixel(backBuffer, x0 + 31, y0 + 31)) << row.x << "," << row.y;
        // The picture fills the cell inside the frame and stops at its edge.
        EXPECT_EQ(fits, getpixel(backBuffer, x0 + 2, y0 + 2) != 0) << row.x << "," << row.y;
        EXPECT_EQ(fits, getpixel(backBuffer, x0 + 29, y0 + 29) != 0) << row.x << "," << row.y;
        if (x0 + 32 < 800) {
            EXPECT_EQ(0, getpixel(backBuffer, x0 + 32, y0 + 16)) << row.x << "," << row.y;
        }
        if (y0 > 0) {
            EXPECT_EQ(0, getpixel(backBuffer, x0 + 16, y0 - 1)) << row.x << "," << row.y;
        }
    }
}

// Work that would be lost waits for a yes: a save over a level the game
// ships, and a clear or fill of a layer with tiles on it. Only Y, N or Esc
// act while the question is open; the rest of the press follows the answer.
TEST_F(Editor, LosingWorkAsksFirst)
{
    WriteCodes("Maps/Zub3.map", MapCodes({{0, 0, 0, 5}}));
    const std::vector<unsigned char> shipped = ReadBytes("Maps/Zub3.map");
    editorLevel = 3;
    editorMap[0][2][2] = {0, 40};
    mouse_x = 100, mouse_y = 100;

    // No, and Esc: the level stays; keys meanwhile do nothing.
    for (int answer : {KEY_N, KEY_ESC}) {
        Press({KEY_F6});
        Press({KEY_PGUP});
        Click(2, 70, 70);
        Press({answer});
        EXPECT_EQ(shipped, ReadBytes("Maps/Zub3.map"));
        EXPECT_EQ(0, editorBlock);
        EXPECT_EQ(40, editorMap[0][2][2].code);
    }
    // A Y already held when the question opens is not the answer.
    key[KEY_Y] = key[KEY_F6] = 1;
    EditorInputStep();
    key[KEY_F6] = 0;
    EditorInputStep();
    EXPECT_EQ(shipped, ReadBytes("Maps/Zub3.map"));
    ReleaseEverything();
    EditorInputStep();
    Press({KEY_Y});
    EXPECT_EQ(40, ReadBytes("Maps/Zub3.map")[4 * (2 * 25 + 2)]);
    // Once said yes to, the level saves again at once, until its number changes.
    editorMap[0][2][2] = {0, 41};
    Press({KEY_F6});
    EXPECT_EQ(41, ReadBytes("Maps/Zub3.map")[4 * (2 * 25 + 2)]);
    editorMap[0][2][2] = {0, 40};

    // The level changed first, then the save asks; the press goes on after.
    Press({KEY_2});
    Press({KEY_1, KEY_F6, KEY_PGUP});
    EXPECT_EQ(3, editorLevel);
    EXPECT_EQ(0, editorBlock);
    Press({KEY_Y});
    EXPECT_EQ(1, editorBlock);
    // A level of the player's own is saved at once.
    editorLevel = 60;
    Press({KEY_F6});
    EXPECT_TRUE(FileExists("Maps/Zub60.map"));

    // Clear and fill of a layer with tiles on it.
    Press({KEY_F3});
    EXPECT_EQ(40, editorMap[0][2][2].code);
    Press({KEY_N});
    EXPECT_EQ(40, editorMap[0][2][2].code);
    Press({KEY_F4});
    Press({KEY_Y});
    EXPECT_EQ(1, editorMap[0][2][2].code);
    EXPECT_EQ(1, editorMap[0][16][24].code);
    // Nothing to lose: the same fill again, then a clear of an empty layer.
    Press({KEY_F4});
    Press({KEY_PGUP});
    EXPECT_EQ(2, editorBlock);
    editorLayer = 1;
    Press({KEY_F3});
    Press({KEY_PGUP});
    EXPECT_EQ(3, editorBlock);
}

// The debug switch of play.
TEST(DebugSwitch, FlipsKeepLivesSetsEveryEnemyDiggingAndDumpsTheMap)
{
    InstallFakeData();
    EnterScratchFolder();
    OpenTestLog();
    GameObject figures[ENEMY_COUNT];
    GameObject *saved[ENEMY_COUNT];
    for (int i = 0; i < ENEMY_COUNT; i++) {
        saved[i] = enemies[i];
        enemies[i] = &figures[i];
        figures[i].state = i;  // whatever the state
    }
    LevelMap *savedMap = levelMap;
    levelMap = new LevelMap();
    levelMap->cells[2][16][24].code = 999;

    keepLives = false;
    DebugSwitch();
    EXPECT_TRUE(keepLives);
    for (GameObject &enemy : figures)
        EXPECT_EQ(1, enemy.work[ENEMY_DIGGING]);
    std::string dump = LogText();
    EXPECT_NE(std::string::npos, dump.find(" 999\n"));

    for (GameObject &enemy : figures)
        enemy.work[ENEMY_DIGGING] = 0;
    DebugSwitch();
    EXPECT_FALSE(keepLives);
    for (GameObject &enemy : figures)
        EXPECT_EQ(1, enemy.work[ENEMY_DIGGING]);
    // One dump per press: 2 x 3 layers x 17 rows.
    std::string log = LogText();
    int rows = 0;
    for (size_t at = log.find(" 999\n"); at != std::string::npos; at = log.find(" 999\n", at + 1))
        rows++;
    EXPECT_EQ(2, rows);

    delete levelMap;
    levelMap = savedMap;
    for (int i = 0; i < ENEMY_COUNT; i++)
        enemies[i] = saved[i];
    CloseTestLog();
}

TEST(Screenshot, FailsQuietlyWithoutAScreen)
{
    StartHeadlessAllegro();
    EXPECT_EQ(0, SaveScreenshot());
}

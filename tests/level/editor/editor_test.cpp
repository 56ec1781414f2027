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

    Press({KEY_MINUS});
    EXPECT_EQ(2, editorLayer);
    Press({KEY_EQUALS});
    EXPECT_EQ(0, editorLayer);
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

    // Clear comes before fill: the layer ends up filled.
    Press({KEY_F4, KEY_F3});
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

TEST_F(Editor, OverlayShowsCurrentLayerOrAllLayersAndItsLines)
{
    editorMap[0][5][5] = {0, 1};
    editorMap[2][5][5] = {1, 2};
    editorMap[0][6][6] = {0, 3};
    DrawEditorFrame();

    editorLayer = 2;
    clear_to_color(backBuffer, 0);
    DrawEditorOverlay();
    EXPECT_EQ(EntryColour(80), getpixel(backBuffer, 170, 170));
    EXPECT_EQ(0, getpixel(backBuffer, 200, 200));  // layer 0 is not shown
    // The two lines in the built-in font, pixel value 255.
    int lit = 0;
    for (int y = 24; y < 40; y++)
        for (int x = 0; x < 400; x++)
            lit += getpixel(backBuffer, x, y) == 255;
    EXPECT_GT(lit, 100);

    editorViewAll = true;
    clear_to_color(backBuffer, 0);
    DrawEditorOverlay();
    EXPECT_EQ(EntryColour(80), getpixel(backBuffer, 170, 170));  // layer 2 over layer 0
    EXPECT_EQ(EntryColour(5), getpixel(backBuffer, 200, 200));
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

// The pages as they appear in a real window: frames and text where the
// player sees them, the editor's two views with its lines, and the
// screenshot file. With DELVORN_SHOTS set every page is also saved there.
#include <gtest/gtest.h>

#include <allegro.h>
#include <cstdio>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "base/frame.h"
#include "base/resources.h"
#include "gameplay/figures.h"
#include "level/editor.h"
#include "level/levelsetup.h"
#include "level/mapfile.h"
#include "level/play.h"
#include "map/levelmap.h"
#include "screens/endings.h"
#include "screens/highscores.h"
#include "screens/pause.h"
#include "tests/support/screen_driver.h"

namespace {

int Colour(int r, int g, int b)
{
    return makecol(r, g, b);
}

// Pixels of exactly this colour on the screen within the rectangle.
int CountOnScreen(int colour, int x1, int y1, int x2, int y2)
{
    int n = 0;
    acquire_screen();
    for (int y = y1; y <= y2; y++)
        for (int x = x1; x <= x2; x++)
            n += getpixel(screen, x, y) == colour;
    release_screen();
    return n;
}

int OnScreen(int x, int y)
{
    acquire_screen();
    int c = getpixel(screen, x, y);
    release_screen();
    return c;
}

// A level behind the pages when the game's data and maps have been built.
void LoadBackdropLevel()
{
    static bool tried = false;
    if (tried)
        return;
    tried = true;
    if (!dataFile || access("Maps/Zub1.map", R_OK) != 0)
        return;
    InitCharacters();
    NewGameReset();
    currentLevel = 1;
    ResetLevel(1);
    LoadMap(1);
}

class Pages : public testing::Test {
protected:
    void SetUp() override
    {
        if (!OpenTestWindow())
            GTEST_SKIP() << "no display (DISPLAY unset or no window)";
        LoadBackdropLevel();
        gameState = GameState::RUN;
        returnState = GameState::RUN;
        lives = 2;
        bombCapacity = 3;
        score = 1234;
    }
};

// Runs a page that waits for SPACE, looking at the screen while it waits.
template <typename Look>
void RunSpacePage(void (*page)(), Look look)
{
    KeyScript script;
    script.onPass = [&](int pass) {
        if (pass == 0)
            look();
    };
    AddPass(script, {});
    AddPass(script, {KEY_SPACE});
    RunScreen(script, page);
}

}  // namespace

TEST_F(Pages, PausePageFramesTheStatusOnTheDarkenedGame)
{
    const int white = Colour(255, 255, 255);
    RunSpacePage(PauseGame, [&] {
        SaveShot("pause");
        EXPECT_EQ(white, OnScreen(99, 99));
        EXPECT_EQ(white, OnScreen(701, 132));
        EXPECT_EQ(white, OnScreen(400, 451));
        EXPECT_GT(CountOnScreen(white, 250, 102, 550, 128), 50);                // title
        EXPECT_GT(CountOnScreen(Colour(255, 255, 0), 150, 410, 650, 432), 50);  // closing
        EXPECT_GT(CountOnScreen(white, 560, 190, 640, 350), 10);                // values
    });
}

TEST_F(Pages, HelpShowsThePlayPageOverTheGame)
{
    returnState = GameState::RUN;
    RunSpacePage([] { GameHelp(); },
                 [&] {
                     SaveShot("help_play");
                     EXPECT_EQ(Colour(255, 255, 255), OnScreen(99, 59));
                     EXPECT_EQ(Colour(255, 255, 255), OnScreen(701, 501));
                     EXPECT_GT(CountOnScreen(Colour(0, 255, 255), 142, 320, 690, 395), 100);  // tips
                     EXPECT_GT(CountOnScreen(Colour(255, 255, 100), 142, 420, 690, 455), 50);
                 });
}

TEST_F(Pages, HelpFromTheEditorShowsTheEditorPageOnBlack)
{
    returnState = GameState::LEVEL_EDITOR;
    clear_bitmap(backBuffer);  // as the editor's last present left it
    RunSpacePage([] { GameHelp(); },
                 [&] {
                     SaveShot("help_editor");
                     EXPECT_EQ(Colour(0, 0, 0), OnScreen(50, 300));
                     EXPECT_EQ(Colour(0, 0, 0), OnScreen(750, 550));
                     EXPECT_GT(CountOnScreen(Colour(0, 255, 255), 142, 320, 690, 395), 100);
                 });
}

TEST_F(Pages, EditorQuestionInBlueFrames)
{
    KeyScript script;
    script.onPass = [](int pass) {
        if (pass == 0) {
            SaveShot("editor_question");
            EXPECT_EQ(Colour(50, 136, 254), OnScreen(99, 199));
            EXPECT_EQ(Colour(50, 136, 254), OnScreen(701, 231));
            EXPECT_GT(CountOnScreen(Colour(255, 50, 0), 250, 236, 550, 262), 30);
            EXPECT_GT(CountOnScreen(Colour(255, 255, 0), 200, 320, 600, 342), 30);
        }
        key[KEY_Y] = pass == 1;
    };
    AddPass(script, {});
    AddPass(script, {});
    bool yes = false;
    RunScreen(script, [&] { yes = AskEditorMode(); });
    key[KEY_Y] = 0;
    EXPECT_TRUE(yes);
}

TEST_F(Pages, GameOverPanel)
{
    ResetHighScores();
    score = 0;
    RunSpacePage(GameOver, [&] {
        SaveShot("game_over");
        EXPECT_EQ(Colour(255, 255, 255), OnScreen(199, 249));
        EXPECT_EQ(Colour(255, 255, 255), OnScreen(601, 351));
        EXPECT_GT(CountOnScreen(Colour(255, 255, 255), 250, 284, 550, 310), 50);
    });
    EXPECT_EQ(3, lives);
}

TEST_F(Pages, GameWonThenTheCreditsRollAndClose)
{
    // Pass 0 is GameWon's own wait, passes 1.. the roll; ESC cuts the roll
    // after 300 passes and the closing lines then play in full.
    const int escPass = 300;
    const int lastClosingPass = escPass + 151;
    KeyScript script;
    script.onPass = [&](int pass) {
        if (pass == 0) {
            SaveShot("game_won");
            EXPECT_EQ(Colour(255, 255, 255), OnScreen(199, 249));
            int inside = OnScreen(400, 262);
            EXPECT_GT(getb(inside), getr(inside));  // tinted blue
            simulate_keypress(KEY_SPACE << 8 | ' ');
        }
        if (pass == escPass) {
            SaveShot("credits_roll");
            simulate_keypress(KEY_ESC << 8 | 27);
        }
        if (pass == lastClosingPass) {
            // The closing lines at their final place.
            SaveShot("credits_closing");
            EXPECT_GT(CountOnScreen(Colour(200, 200, 200), 150, 300, 650, 326), 30);
            EXPECT_GT(CountOnScreen(Colour(120, 220, 200), 150, 332, 650, 358), 30);
        }
    };
    for (int i = 0; i < escPass; i++)
        AddPass(script, {});
    AddPass(script, {KEY_ESC});
    score = 0;  // no place in the table: the credits follow the page at once
    gameState = GameState::QUIT;
    // The ESC still buffered ends the credits without another pass.
    EXPECT_EQ(lastClosingPass + 1, RunScreen(script, GameWon));
    EXPECT_EQ(GameState::MENU, gameState);
}

TEST_F(Pages, EditorViewsAndOverlayLines)
{
    ClearEditorMap();
    for (int c = 0; c < MAP_COLUMNS; c++) {
        editorMap[0][16][c] = {0, 1 + c % 8};
        editorMap[0][15][c] = {0, 71};
    }
    editorMap[1][0][24] = {0, 70};
    editorMap[2][15][3] = {1, 12};
    editorMap[2][15][8] = {1, 3};
    editorMap[2][15][12] = {1, 22};
    editorLevel = 5;
    editorBlock = 4;
    editorObject = 6;

    for (BITMAP *&view : editorLayers)
        if (!view)
            view = create_bitmap(800, 600);
    EnterEditor();
    editorLayer = 2;
    editorViewAll = false;
    DrawEditorFrame();
    PresentFrame();
    SaveShot("editor_layer");
    EXPECT_GT(CountOnScreen(255, 0, 24, 450, 39), 100);
    // Layer 0 is not shown while layer 2 is the current one.
    EXPECT_EQ(Colour(0, 0, 0), OnScreen(5, 16 * 32 + 5));
    if (dataFile) {
        EXPECT_NE(Colour(0, 0, 0), OnScreen(8 * 32 + 16, 15 * 32 + 16));
    }

    editorViewAll = true;
    DrawEditorFrame();
    PresentFrame();
    SaveShot("editor_all");
    EXPECT_GT(CountOnScreen(255, 0, 24, 450, 39), 100);
    if (dataFile) {
        EXPECT_NE(Colour(0, 0, 0), OnScreen(16, 16 * 32 + 16));
    }

    show_mouse(nullptr);
    returnState = gameState = GameState::RUN;
}

TEST_F(Pages, ScreenshotSavesTheWholeScreen)
{
    char here[512];
    ASSERT_NE(nullptr, getcwd(here, sizeof here));
    std::string dir = testing::TempDir() + "delvorn-shot";
    mkdir(dir.c_str(), 0755);
    ASSERT_EQ(0, chdir(dir.c_str()));
    std::remove("Delvorn.pcx");
    acquire_screen();
    clear_to_color(screen, Colour(10, 200, 30));
    release_screen();
    EXPECT_EQ(1, SaveScreenshot());
    EXPECT_EQ(1, SaveScreenshot());  // replaces the file
    BITMAP *shot = load_bitmap("Delvorn.pcx", nullptr);
    ASSERT_NE(nullptr, shot);
    EXPECT_EQ(800, shot->w);
    EXPECT_EQ(600, shot->h);
    destroy_bitmap(shot);
    ASSERT_EQ(0, chdir(here));
}

// The menu, options and high score screens driven key by key in a real
// window (the progress map's own tests are filed under tests/level).
#include <gtest/gtest.h>

#include <allegro.h>
#include <cstring>
#include <functional>
#include <string>
#include <unistd.h>
#include <vector>

#include "base/config.h"
#include "base/frame.h"
#include "base/resources.h"
#include "gameplay/figures.h"
#include "level/progressmap.h"
#include "screens/highscore_screens.h"
#include "screens/highscores.h"
#include "screens/menu.h"
#include "screens/options.h"
#include "screens/text.h"
#include "tests/support/screen_driver.h"

namespace {

// ---- main menu ----------------------------------------------------------------

int MenuChoice(const KeyScript &script, int *passes = nullptr)
{
    int choice = -1;
    int n = RunScreen(script, [&] { choice = ProcessMenu(); });
    if (passes)
        *passes = n;
    return choice;
}

TEST_F(ScreenLoops, MenuWrapsAtBothEnds)
{
    KeyScript up;
    AddPresses(up, KEY_UP, 1);
    AddPass(up, {KEY_ENTER});
    EXPECT_EQ(MenuChoice(up), 4);

    KeyScript down;
    AddPresses(down, KEY_DOWN, 4);
    AddPresses(down, KEY_DOWN, 1);
    AddPass(down, {KEY_ENTER});
    EXPECT_EQ(MenuChoice(down), 0);

    KeyScript round;
    AddPresses(round, KEY_UP, 2);
    AddPresses(round, KEY_DOWN, 1);
    AddPass(round, {KEY_ENTER});
    EXPECT_EQ(MenuChoice(round), 4);
}

TEST_F(ScreenLoops, MenuKeysActInTheirOrderOncePerPress)
{
    KeyScript esc;
    AddPresses(esc, KEY_DOWN, 2);
    AddPass(esc, {KEY_ESC});
    EXPECT_EQ(MenuChoice(esc), 4);

    KeyScript enterWithDown;
    AddPass(enterWithDown, {KEY_ENTER, KEY_DOWN});
    EXPECT_EQ(MenuChoice(enterWithDown), 1);

    KeyScript both;
    AddPass(both, {});
    AddPass(both, {KEY_DOWN, KEY_UP});
    AddPass(both, {});
    AddPass(both, {KEY_ENTER});
    EXPECT_EQ(MenuChoice(both), 0);

    KeyScript held;
    for (int i = 0; i < 6; i++)
        AddPass(held, {KEY_DOWN});
    AddPass(held, {});
    AddPass(held, {KEY_ENTER});
    EXPECT_EQ(MenuChoice(held), 1);

    // Enter held on from the previous key: the latch waits for its release.
    KeyScript heldThenEnter;
    AddPass(heldThenEnter, {KEY_DOWN});
    AddPass(heldThenEnter, {KEY_DOWN, KEY_ENTER});
    AddPass(heldThenEnter, {});
    AddPass(heldThenEnter, {KEY_ENTER});
    int passes = 0;
    EXPECT_EQ(MenuChoice(heldThenEnter, &passes), 1);
    EXPECT_EQ(passes, 4);
}

TEST_F(ScreenLoops, EscapeHeldAsTheMenuOpensLeavesAtOnce)
{
    KeyScript script;
    AddPass(script, {KEY_ESC});
    int passes = 0;
    EXPECT_EQ(MenuChoice(script, &passes), 4);
    EXPECT_EQ(passes, 1);
    EXPECT_EQ(bombCapacity, 1);
    EXPECT_EQ(logicTicks, 0);
}

TEST_F(ScreenLoops, MenuShotAndCloseButtonExits)
{
    KeyScript script;
    AddPresses(script, KEY_DOWN, 2);
    script.onPass = [](int pass) {
        if (pass == 8)
            SaveShot("menu");
        if (pass == 10)
            closeRequested = true;  // the window's close button
    };
    EXPECT_EQ(MenuChoice(script), 4);
    closeRequested = false;
}

// ---- options ------------------------------------------------------------------

struct OptionsRun {
    std::vector<int> soundVolumes;  // after each pass
    std::vector<int> musicVolumes;
};

OptionsRun RunOptions(KeyScript script)
{
    OptionsRun run;
    script.onPass = [&run](int) {
        run.soundVolumes.push_back(soundVolume);
        run.musicVolumes.push_back(midiVolume);
    };
    RunScreen(script, [] { MessageBox(); });
    return run;
}

// Values seen after each press of a press-release script.
std::vector<int> AfterPresses(const std::vector<int> &perPass, int first, int presses)
{
    std::vector<int> out;
    for (int i = 0; i < presses; i++)
        out.push_back(perPass.at(first + 2 * i + 1));
    return out;
}

TEST_F(ScreenLoops, VolumeStepsClampAtBothEnds)
{
    soundVolume = 55;
    KeyScript script;
    AddPresses(script, KEY_RIGHT, 12);
    AddPresses(script, KEY_LEFT, 12);
    AddPass(script, {KEY_SPACE});
    OptionsRun run = RunOptions(script);

    std::vector<int> up = {75, 95, 115, 135, 155, 175, 195, 215, 235, 245, 245, 245};
    EXPECT_EQ(AfterPresses(run.soundVolumes, 0, 12), up);
    std::vector<int> down = {225, 205, 185, 165, 145, 125, 105, 85, 65, 55, 55, 55};
    EXPECT_EQ(AfterPresses(run.soundVolumes, 24, 12), down);
    EXPECT_EQ(gameState, GameState::MENU);

    // The bar starts where the volume is: Right turns a loud sound louder.
    const struct {
        int volume, after;
    } fromSettings[] = {{10, 75}, {200, 225}, {255, 245}};
    for (const auto &c : fromSettings) {
        midiVolume = c.volume;
        KeyScript music;
        AddPresses(music, KEY_DOWN, 1);
        AddPresses(music, KEY_RIGHT, 1);
        AddPass(music, {KEY_ESC});
        int before = soundVolume;
        RunOptions(music);
        EXPECT_EQ(midiVolume, c.after) << "from " << c.volume;
        EXPECT_EQ(soundVolume, before);
    }
}

TEST_F(ScreenLoops, SoundStateCyclesAndApplies)
{
    // Looking at the screen keeps the switches as they are.
    for (int state = 0; state < 4; state++) {
        soundOn = state < 2;
        musicOn = state % 2 == 0;
        KeyScript leave;
        AddPass(leave, {KEY_SPACE});
        RunOptions(leave);
        EXPECT_EQ(!!soundOn, state < 2) << state;
        EXPECT_EQ(!!musicOn, state % 2 == 0) << state;
    }

    soundOn = 1;
    musicOn = 1;
    KeyScript left;
    AddPresses(left, KEY_DOWN, 2);
    AddPresses(left, KEY_LEFT, 1);
    AddPass(left, {KEY_SPACE});
    int sound = soundVolume, music = midiVolume, joystick = useJoystick;
    RunOptions(left);
    EXPECT_FALSE(soundOn);
    EXPECT_FALSE(musicOn);
    EXPECT_EQ(soundVolume, sound);
    EXPECT_EQ(midiVolume, music);
    EXPECT_EQ(useJoystick, joystick);

    // Right from 0: on/off, off/on, off/off, then back to on/on.
    const int expectSound[5] = {1, 1, 0, 0, 1};
    const int expectMusic[5] = {1, 0, 1, 0, 1};
    for (int presses = 0; presses < 5; presses++) {
        soundOn = musicOn = 1;
        KeyScript right;
        AddPresses(right, KEY_DOWN, 2);
        AddPresses(right, KEY_RIGHT, presses);
        AddPass(right, {KEY_SPACE});
        RunOptions(right);
        EXPECT_EQ(!!soundOn, !!expectSound[presses]) << presses << " presses";
        EXPECT_EQ(!!musicOn, !!expectMusic[presses]) << presses << " presses";
    }
}

TEST_F(ScreenLoops, ScreenModeChangesNothingAndJoystickToggles)
{
    int sound = soundVolume, music = midiVolume;
    useJoystick = 0;
    KeyScript mode;
    AddPresses(mode, KEY_DOWN, 3);
    AddPresses(mode, KEY_RIGHT, 1);
    AddPresses(mode, KEY_LEFT, 1);
    AddPass(mode, {KEY_SPACE});
    RunOptions(mode);
    EXPECT_EQ(soundVolume, sound);
    EXPECT_EQ(midiVolume, music);
    EXPECT_EQ(useJoystick, 0);

    KeyScript joystick;
    AddPresses(joystick, KEY_UP, 1);  // row 0 wraps to the joystick row
    AddPresses(joystick, KEY_RIGHT, 1);
    joystick.onPass = [](int pass) {
        if (pass == 4)
            SaveShot("options");
    };
    AddPresses(joystick, KEY_DOWN, 1);
    AddPass(joystick, {KEY_SPACE});
    RunScreen(joystick, [] { MessageBox(); });
    EXPECT_NE(useJoystick, 0);
    useJoystick = 0;
}

// ---- high score screens -----------------------------------------------------

std::string EnterInitials(const KeyScript &script)
{
    RunScreen(script, [] { GetUserInitials(); });
    return std::string(currentInitials, strnlen(currentInitials, 4));
}

TEST_F(ScreenLoops, InitialsSymbolCycleHasThirtyNinePositions)
{
    KeyScript nine;
    AddPresses(nine, KEY_DOWN, 35);
    AddPass(nine, {KEY_ENTER});
    EXPECT_EQ(EnterInitials(nine), "9AA");

    KeyScript blank;
    AddPresses(blank, KEY_DOWN, 36);
    AddPass(blank, {KEY_ENTER});
    EXPECT_EQ(EnterInitials(blank), "");  // a blank first field stores nothing

    KeyScript round;
    AddPresses(round, KEY_DOWN, 39);
    AddPass(round, {KEY_ENTER});
    EXPECT_EQ(EnterInitials(round), "AAA");

    KeyScript back;
    AddPresses(back, KEY_UP, 4);  // three blanks, then 9
    AddPass(back, {KEY_ENTER});
    EXPECT_EQ(EnterInitials(back), "9AA");

    KeyScript threeBlanks;
    AddPresses(threeBlanks, KEY_UP, 3);
    AddPresses(threeBlanks, KEY_RIGHT, 2);
    AddPresses(threeBlanks, KEY_DOWN, 3);  // 38 -> 0 -> 1 -> 2
    AddPass(threeBlanks, {KEY_ENTER});
    EXPECT_EQ(EnterInitials(threeBlanks), "");
}

TEST_F(ScreenLoops, InitialsIndexIsSharedByTheFields)
{
    KeyScript carry;
    AddPresses(carry, KEY_DOWN, 2);   // C
    AddPresses(carry, KEY_RIGHT, 1);  // field 1 takes C at once
    AddPresses(carry, KEY_DOWN, 1);   // D
    AddPass(carry, {KEY_ENTER});
    EXPECT_EQ(EnterInitials(carry), "CDA");

    KeyScript wrapLeft;
    AddPresses(wrapLeft, KEY_DOWN, 1);
    AddPresses(wrapLeft, KEY_LEFT, 1);  // field 0 wraps to field 2
    AddPass(wrapLeft, {KEY_ENTER});
    EXPECT_EQ(EnterInitials(wrapLeft), "BAB");

    KeyScript middleBlank;
    AddPresses(middleBlank, KEY_RIGHT, 1);
    AddPresses(middleBlank, KEY_UP, 1);
    AddPresses(middleBlank, KEY_RIGHT, 1);  // field 2 takes the blank too
    AddPresses(middleBlank, KEY_DOWN, 3);   // ... and then C
    middleBlank.onPass = [](int pass) {
        if (pass == 12)
            SaveShot("initials");
    };
    AddPass(middleBlank, {KEY_ENTER});
    EXPECT_EQ(EnterInitials(middleBlank), "A");
    EXPECT_EQ(gameState, GameState::MENU);
}

TEST_F(ScreenLoops, EnterHeldAsTheEntryOpensKeepsTheLetters)
{
    KeyScript script;
    AddPass(script, {KEY_ENTER});
    int passes = RunScreen(script, [] { GetUserInitials(); });
    EXPECT_EQ(std::string(currentInitials), "AAA");
    EXPECT_EQ(passes, 1);
}

// A key still held from the screen before acts only once it has been let go
// and pressed again: ESC held on leaving play does not quit from the menu,
// ENTER held from the game over page neither saves the letters before they
// are typed nor starts a game. Held keys repeat into the keyboard buffer.
TEST_F(ScreenLoops, KeyHeldIntoAScreenActsOnlyWhenPressedAgain)
{
    int choice = -1;
    struct Row {
        const char *screen;
        int key;
        std::function<void()> run;
    } rows[] = {
        {"menu", KEY_ESC, [&] { choice = ProcessMenu(); }},
        {"menu", KEY_ENTER, [&] { choice = ProcessMenu(); }},
        {"initials", KEY_ENTER, [] { GetUserInitials(); }},
        {"high scores", KEY_ESC, [] { ViewHighScores(); }},
        {"progress map", KEY_ENTER, [] { ProcessMap(); }},
    };
    currentLevel = 3;
    for (const Row &row : rows) {
        KeyScript script;
        for (int i = 0; i < 3; i++)
            AddPass(script, {row.key});
        AddPass(script, {});
        AddPass(script, {row.key});
        const int code = row.key << 8 | 13;
        script.onPass = [code](int pass) {
            if (pass != 3)
                simulate_keypress(code);
        };
        key[row.key] = 1;  // down before the screen starts
        choice = -1;
        EXPECT_EQ(RunScreen(script, row.run), 5) << row.screen << " " << row.key;
        if (std::string(row.screen) == "menu") {
            EXPECT_EQ(choice, row.key == KEY_ESC ? 4 : 0);
        }
    }
    EXPECT_STREQ(currentInitials, "AAA");
    currentLevel = 0;
}

TEST_F(ScreenLoops, HighScoreViewEndsOnSpaceOrEscapeAndSorts)
{
    ResetHighScores();
    highScores.entries[9].score = 99999;
    std::memcpy(highScores.entries[9].initials, "TOP", 4);
    gameState = GameState::HIGH;
    KeyScript script;
    for (int i = 0; i < 4; i++)
        AddPass(script, {});
    AddPass(script, {KEY_SPACE});
    script.onPass = [](int pass) {
        if (pass == 3)
            SaveShot("highscores");
    };
    EXPECT_EQ(RunScreen(script, [] { ViewHighScores(); }), 5);
    EXPECT_EQ(gameState, GameState::MENU);
    EXPECT_STREQ(highScores.entries[0].initials, "TOP");

    KeyScript esc;
    AddPass(esc, {KEY_ESC});
    EXPECT_EQ(RunScreen(esc, [] { ViewHighScores(); }), 1);
    ResetHighScores();
}

}  // namespace

namespace {

// ---- darkened backdrop ------------------------------------------------------------

TEST_F(ScreenLoops, DarkenedBackdropReachesScreenAndBackdropAlike)
{
    clear_to_color(backBuffer, makecol(255, 255, 255));
    clear_bitmap(backdropBitmap);
    DimBackdrop(false);
    int onScreen = getpixel(screen, 400, 300);
    int kept = getpixel(backdropBitmap, 400, 300);
    EXPECT_EQ(onScreen, kept);
    EXPECT_NEAR(getr(kept), 96, 10);
    EXPECT_NEAR(getg(kept), 96, 10);
    clear_bitmap(backBuffer);
}

}  // namespace

// gameloop.cpp: the state machine in main's loop, the timer-paced play
// pass and the present step every screen ends its passes with.
#include "shell/gameloop.h"

#include <allegro.h>
#include <string>

#include "base/config.h"
#include "base/input.h"
#include "base/seam.h"
#include "base/sound.h"
#include "gameplay/bombs.h"
#include "gameplay/enemies.h"
#include "gameplay/figures.h"
#include "gameplay/hero.h"
#include "gameplay/moneybags.h"
#include "gameplay/particles.h"
#include "level/demofile.h"
#include "level/editor.h"
#include "level/levelsetup.h"
#include "level/mapdraw.h"
#include "level/mapfile.h"
#include "level/progressmap.h"
#include "level/statusbar.h"
#include "map/levelmap.h"
#include "platform/paths/paths.h"
#include "screens/endings.h"
#include "screens/highscores.h"
#include "screens/menu.h"
#include "screens/options.h"
#include "screens/pause.h"
#include "screens/text.h"
#include "shell/debug.h"
#include "shell/demorecord.h"
#include "shell/startup.h"

// The play keys act once per press: nothing acts again until every play key
// has been let go. The latch works on the step's input, not on the keyboard,
// so that a demo replays it; a level starts it over from the keys held then,
// and leaving play for a page leaves it set, so a key still held from before
// does not act in play.
static bool playKeysLatched = false;

// ESC held into play from the page before does not leave play at once.
static KeyLatch leavePlay{KEY_ESC};

bool PlayKeysLatched()
{
    return playKeysLatched;
}

void SetPlayKeysLatched(bool latched)
{
    playKeysLatched = latched;
}

static bool PlayKeysHeld(const PlayInput &in)
{
    return in.pause || in.editor || in.help || in.screenshot || in.debugSwitch || in.fire;
}

static void PlayKeys(const PlayInput &in)
{
    if (!PlayKeysHeld(in)) {
        playKeysLatched = false;
        return;
    }
    if (playKeysLatched)
        return;

    if (in.editor) {
        clear_keybuf();
        returnState = GameState::RUN;
        if (AskEditorMode())
            EnterEditor();
    }
    if (in.pause) {
        clear_keybuf();
        gameState = GameState::PAUSE;
    }
    if (in.help) {
        clear_keybuf();
        gameState = GameState::HELP;
    }
    if (in.screenshot) {
        clear_keybuf();
        SaveScreenshot();
    }
    if (in.debugSwitch)
        DebugSwitch();
    if (in.fire) {
        if (bombsOut < bombCapacity && hero->state == HERO_ALIVE) {
            DropBomb();
            bombsOut++;
            PlaySfx(SFX_BOMB_DROPPED);
        }
    }
    playKeysLatched = true;
    clear_keybuf();  // what the keys above did may have filled it
}

void PlayLogicStep(const PlayInput &in)
{
    // The lead of 31 pixels makes a right or down step test the cell that
    // the hero's far edge has entered.
    int leadX = 0, leadY = 0;
    if (in.right) {
        MoveZubRight();
        leadX = 31;
    } else if (in.left) {
        MoveZubLeft();
    } else if (in.up) {
        MoveZubUp();
    } else if (in.down) {
        MoveZubDown();
        leadY = 31;
    } else {
        HeroIdle();
    }
    int column = (int)(hero->x + leadX) >> 5;
    int row = (int)(hero->y + leadY) >> 5;
    if (ProcessZub(column, row)) {
        LevelDone(currentLevel);
        gameState = GameState::MAP;
    }

    particles->Update();
    ProcessNPCS();
    ProcessMoneyBags();
    UpdateBombs();
    PlayKeys(in);
    logicTicks--;
}

static void DrawPlayPicture()
{
    DrawPlayFrame();
    DrawStatusBar();
    particles->Draw(backBuffer, dataFile);
    DrawPotionEffect();
}

static void PlayPass()
{
    static bool playing = false;
    if (!playing) {
        leavePlay.Arm();
        playing = true;
    }
    do {
        framesDrawn++;
        DrawPlayPicture();
        PresentFrame();
    } while (logicTicks < 0);

    // A step that leaves play (exit, pause, help, editor) ends the catch-up:
    // the new state acts in the next pass, not after more steps of play.
    do {
        PlayInput input = ReadPlayInput();
        PlayLogicStep(input);
        RecordDemoTick(DemoTickOf(input));
    } while (logicTicks > 0 && gameState == GameState::RUN);

    const bool leaving = leavePlay.Down();
    if (gameState == GameState::MAP)
        EndLevelDemo("exit");
    else if (gameState == GameState::LEVEL_EDITOR)
        EndLevelDemo("editor");
    else if (lives == 0)
        EndLevelDemo("lost");
    else if (leaving)
        EndLevelDemo("left");

    if (lives == 0) {
        GameOver();
        DeleteMap();
        gameState = GameState::MENU;
    } else if (leaving) {
        DeleteMap();
        gameState = GameState::MENU;
    }
    playing = gameState == GameState::RUN;
}

static void EditorPass()
{
    do {
        framesDrawn++;
        DrawEditorFrame();
        PresentFrame();
    } while (logicTicks < 0);
    do {
        EditorInputStep();
    } while (logicTicks > 0 && gameState == GameState::LEVEL_EDITOR);
}

static int LevelMusicEntry(int level)
{
    // Ten tunes for twenty levels: the first ten each have their own, then
    // every two levels share one.
    return level <= 10 ? MUS_LEVEL + level - 1 : MUS_LEVEL + ((level - 1) >> 1);
}

static void EndGameWon()
{
    gameState = GameState::QUIT;
    GameWon();
    gameState = GameState::MENU;
}

static void NextLevel()
{
    logicTicks = 0;
    StopMusic();
    if (currentLevel != 0)
        DeleteMap();
    currentLevel++;
    if (currentLevel > 20) {
        EndGameWon();
        return;
    }
    PlaySfx(SFX_BAG_BURSTS);
    std::string text = "LOADING LEVEL " + std::to_string(currentLevel);
    ClearScreen();
    ShowMessage(text.c_str(), 1000, 32, makecol(84, 85, 146), screen);
    ProcessMap();
    shieldsOpen = false;
    gameState = GameState::NEW_LEVEL;
}

static void StartLevel()
{
    StopMusic();
    ResetLevel(currentLevel);
    SpawnOpeningBurst();
    PlayMusic(LevelMusicEntry(currentLevel));
    if (LoadMap(currentLevel)) {
        CreatePathFinder();
        // A key still held from the page before acts only when pressed again.
        playKeysLatched = PlayKeysHeld(ReadPlayInput());
        BeginLevelDemo(MapFileChecksum(NativePath(MapFileName(currentLevel).c_str())));
        gameState = GameState::RUN;
        return;
    }
    ClearScreen();
    ShowMessage("MAP LOAD ERROR - Check Log File Please", 2000, 14, makecol(84, 85, 146), screen);
    EndGameWon();
}

static void MenuChoice()
{
    logicTicks = 0;
    switch (ProcessMenu()) {
    case 0:
        gameState = GameState::MAP;
        StopMusic();
        break;
    case 1:
        gameState = GameState::CONFIG;
        StopMusic();
        MessageBox();
        break;
    case 2:
        StopMusic();
        gameState = GameState::HIGH;
        break;
    case 3:
        gameState = GameState::CREDITS;
        StopMusic();
        ViewCredits();
        break;
    case 4: gameState = GameState::END; break;
    default: break;
    }
}

// One pass: the handlers in their fixed order, each acting on the state the
// ones before it may have just set.
static void LoopPass()
{
    if (gameState == GameState::MENU)
        MenuChoice();
    if (gameState == GameState::PAUSE) {
        logicTicks = 0;
        PauseMusic();
        clear_keybuf();
        PauseGame();
        clear_keybuf();
        ResumeMusic();
        gameState = GameState::RUN;
    }
    if (gameState == GameState::HELP) {
        logicTicks = 0;
        PauseMusic();
        clear_keybuf();
        GameHelp();
        clear_keybuf();
        ResumeMusic();
        gameState = returnState;
    }
    if (gameState == GameState::HIGH) {
        logicTicks = 0;
        ViewHighScores();
        gameState = GameState::MENU;
        return;
    }
    if (gameState == GameState::MAP)
        NextLevel();
    if (gameState == GameState::NEW_LEVEL)
        StartLevel();
    if (gameState == GameState::QUIT) {
        GameWon();
        gameState = GameState::MENU;
        return;
    }
    if (gameState == GameState::LEVEL_EDITOR)
        EditorPass();
    if (gameState == GameState::RUN)
        PlayPass();
}

void RunMainLoop()
{
    do {
        LoopPass();
        rest(0);  // give up the rest of the time slice
    } while (gameState != GameState::END && !closeRequested);
    EndLevelDemo("closed");
}

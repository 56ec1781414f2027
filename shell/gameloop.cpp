// gameloop.cpp: the state machine in main's loop, the timer-paced play
// pass and the pages play asks for.
#include "shell/gameloop.h"

#include <allegro.h>
#include <string>

#include "base/config.h"
#include "base/input.h"
#include "base/resources.h"
#include "base/seam.h"
#include "base/sound.h"
#include "gameplay/figures.h"
#include "level/demofile.h"
#include "level/editor.h"
#include "level/levelsetup.h"
#include "level/mapdraw.h"
#include "level/mapfile.h"
#include "level/play.h"
#include "level/progressmap.h"
#include "map/levelmap.h"
#include "platform/paths/paths.h"
#include "screens/endings.h"
#include "screens/highscore_screens.h"
#include "screens/menu.h"
#include "screens/options.h"
#include "screens/pause.h"
#include "screens/text.h"
#include "shell/demorecord.h"

// ESC held into play from the page before does not leave play at once.
static KeyLatch leavePlay{KEY_ESC};

// What a step asked for, in the order the keys acted in before play
// handed them out: the level's end, then the pages.
static void ActOnPlayRequests(unsigned requests)
{
    if (requests & PLAY_LEVEL_DONE) {
        LevelDone(currentLevel);
        gameState = GameState::MAP;
    }
    if (requests & PLAY_EDITOR) {
        clear_keybuf();
        returnState = GameState::RUN;
        if (AskEditorMode())
            EnterEditor();
    }
    if (requests & PLAY_PAUSE) {
        clear_keybuf();
        gameState = GameState::PAUSE;
    }
    if (requests & PLAY_HELP) {
        clear_keybuf();
        gameState = GameState::HELP;
    }
    if (requests & PLAY_SCREENSHOT) {
        clear_keybuf();
        SaveScreenshot();
    }
    if (requests & (PLAY_EDITOR | PLAY_PAUSE | PLAY_HELP | PLAY_SCREENSHOT))
        clear_keybuf();  // what the pages above did may have filled it
}

static void PlayPass()
{
    // Back in play after a page, the level's start or the editor: play
    // goes on from the next tick, not from the time spent elsewhere.
    static bool playing = false;
    if (!playing) {
        leavePlay.Arm();
        DropWaitedTicks();
        playing = true;
    }
    do {
        framesDrawn++;
        DrawPlayPicture();
        PresentFrame();
    } while (logicTicks < 0);

    // A step that leaves play (exit, pause, help, editor) ends the catch-up:
    // the new state acts in the next pass, not after more steps of play.
    unsigned requests = 0;
    do {
        PlayInput input = ReadPlayInput();
        requests = PlayLogicStep(input);
        RecordDemoTick(DemoTickOf(input));
        ActOnPlayRequests(requests);
    } while (logicTicks > 0 && gameState == GameState::RUN);

    const bool lost = requests & PLAY_HERO_LOST;
    // The editor, like the pages, only halts play: the level's demo goes on.
    // ESC asks first, as F2 does; a game left keeps its score's chance at
    // the hall of fame.
    const bool leaving = !lost && gameState == GameState::RUN && leavePlay.Pressed() && AskLeaveGame();
    if (gameState == GameState::MAP)
        EndLevelDemo("exit");
    else if (lost)
        EndLevelDemo("lost");
    else if (leaving)
        EndLevelDemo("left");

    if (lost) {
        GameOver();
        DeleteMap();
        gameState = GameState::MENU;
    } else if (leaving) {
        CheckHighScore();
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

static void EndGameWon()
{
    gameState = GameState::QUIT;
    GameWon();
    gameState = GameState::MENU;
}

static void NextLevel()
{
    DropWaitedTicks();
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
    gameState = GameState::NEW_LEVEL;
}

static void StartLevel()
{
    const std::string map = MapFileName(currentLevel);
    // A key still held from the page before acts only when pressed again.
    if (StartPlayLevel(currentLevel, map, PlayKeysHeld(ReadPlayInput()))) {
        BeginLevelDemo(MapFileChecksum(NativePath(map.c_str())));
        return;
    }
    // A level that cannot be read ends the game, not as a win: the log
    // names the file, the score is offered to the table, then the menu.
    StopMusic();
    ClearScreen();
    ShowMessage("MAP LOAD ERROR - Check Log File Please", 2000, 14, makecol(84, 85, 146), screen);
    CheckHighScore();
    gameState = GameState::MENU;
}

static void MenuChoice()
{
    DropWaitedTicks();
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
        DropWaitedTicks();
        PauseMusic();
        clear_keybuf();
        PauseGame();
        clear_keybuf();
        ResumeMusic();
        gameState = GameState::RUN;
    }
    if (gameState == GameState::HELP) {
        DropWaitedTicks();
        PauseMusic();
        clear_keybuf();
        GameHelp();
        clear_keybuf();
        ResumeMusic();
        gameState = returnState;
    }
    if (gameState == GameState::HIGH) {
        DropWaitedTicks();
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

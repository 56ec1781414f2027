// main.cpp: the program's entry: log, start-up, title, main loop, shutdown.
#include <allegro.h>

#include "base/config.h"
#include "base/log.h"
#include "base/seam.h"
#include "base/sound.h"
#include "blend/blend.h"
#include "level/play.h"
#include "platform/alfont/alfont.h"
#include "platform/paths/paths.h"
#include "screens/text.h"
#include "shell/gameloop.h"
#include "shell/startup.h"

int main()
{
    gameState = GameState::INIT;
    UseOwnGamePlaces();
    gameLog = new LogFile(WritablePath("Logs\\LogFile.log").c_str());
    gameLog->Open();  // without a Logs folder the game runs on unlogged
    gameLog->Printf("Thread DELVORN entered Quarnel normally!\n");
    gameLog->Printf("Initializing Objects\n");
    for (const std::string &place : DescribeGamePlaces())
        gameLog->Printf("%s\n", place.c_str());
    CheckPlayerFolder();

    if (!Initall())
        return -1;

    set_close_button_callback(OnCloseButton);
    set_window_title("Delvorn");

    gameLog->Printf("Launching Game\n");
    PlaySfx(SFX_LAUNCH);
    clear_bitmap(backBuffer);
    ClearScreen();
    ShowMessage("LOADING DELVORN", 2000, 32, makecol(84, 85, 146), screen);
    show_mouse(nullptr);

    PlaySfx(SFX_TITLE);
    if (BITMAP *title = DataBitmap(PIC_TITLE)) {
        Fade(title, GameScreen(), 0, 0, 0, makecol(0, 0, 0), 0, ShowGameScreenStep);
        ShowGameScreen();
        WaitMs(2000);
        Fade(title, GameScreen(), 0, 0, 1, makecol(0, 0, 0), 0, ShowGameScreenStep);
        ShowGameScreen();
    }
    gameState = GameState::MENU;
    StopSfx(215);

    gameLog->Printf("Entering Game Loop\n");
    NewGameReset();
    RunMainLoop();

    gameLog->Printf("Exiting Game Loop\n");
    StopMusic();
    PlayMusic(MUS_CLOSING);
    DeleteAll();

    gameLog->Printf("Program Terminated Flawlessly!\n");
    gameLog->Close();
    show_mouse(nullptr);
    alfont_exit();
    allegro_exit();
    delete gameLog;
    gameLog = nullptr;
    return 0;
}
END_OF_MAIN()

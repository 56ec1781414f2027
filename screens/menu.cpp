// menu.cpp: the main menu with its animated marker, and the start-up step
// that fills the tables the menu's game relies on.
#include "screens/menu.h"

#include <allegro.h>

#include "base/frame.h"
#include "base/gameobject.h"
#include "base/log.h"
#include "base/resources.h"
#include "base/screenfont.h"
#include "base/sound.h"
#include "gameplay/figures.h"
#include "gameplay/particles.h"
#include "level/play.h"
#include "map/levelmap.h"
#include "platform/alfont/alfont.h"
#include "platform/paths/paths.h"
#include "screens/text.h"

static const char *const menuItems[5] = {
    "START NEW GAME", "SET GAME OPTIONS", "VIEW HIGH SCORES", "VIEW CREDITS", "EXIT GAME",
};
static const int menuItemY[5] = {179, 234, 297, 350, 406};

// The animated marker beside the chosen item; exists while the menu runs.
static GameObject *menuMarker = nullptr;

static void CreateMarker()
{
    DeleteGameObject(menuMarker);
    menuMarker = new GameObject();
    menuMarker->Init(128, menuItemY[0], 32, 32, 3, GO_LOOP | GO_VISIBLE, 0, 16);
    for (int i = 0; i < 3; i++)
        if (BITMAP *picture = DataBitmap(PIC_MARKER + i))
            menuMarker->SetFrame(i, picture);
    static const int frames[3] = {0, 1, 2};
    menuMarker->AddSequence(0, 3, frames);
    menuMarker->SetSequence(SEQ_ONLY);
    menuMarker->SetFrameDelay(8);
}

void UpdateMarker()
{
    try {
        if (!menuMarker)
            return;
        menuMarker->Animate();
        if (backBuffer)
            menuMarker->Draw(backBuffer);
    } catch (...) {
        LogExceptReport("UpdateMarker");
    }
}

static void DrawMenu(ALFONT_FONT *font, int choice)
{
    if (BITMAP *picture = DataBitmap(PIC_MENU))
        draw_sprite(backBuffer, picture, 0, 0);
    DrawPanel(backBuffer, 120, 151, 680, 470, makecol(255, 255, 255), makecol(128, 128, 128));
    int grey = makecol(200, 200, 200);
    for (int i = 0; i < 5; i++)
        alfont_textout_centre(backBuffer, font, menuItems[i], GAME_W / 2, menuItemY[i], grey);
    alfont_textout_centre(backBuffer, font, menuItems[choice], GAME_W / 2, menuItemY[choice],
                          makecol(231, 39, 39));
}

int ProcessMenu()
{
    ScreenFont holder;
    try {
        bombCapacity = 1;
        clear_keybuf();
        ClearScreen();
        ShowMessage("L O A D I N G", 500, 32, makecol(231, 39, 39), screen);
        PlayMusic(MUS_MENU);
        NewGameReset();
        CreateMarker();

        if (!holder.Load("Fonts\\DigitalDreamFat.ttf")) {
            DeleteGameObject(menuMarker);
            return 0;
        }
        ALFONT_FONT *font = holder.font;

        int choice = 0;
        bool done = false;
        KeyLatch latch{KEY_DOWN, KEY_UP, KEY_ESC, KEY_ENTER};
        while (!done) {
            alfont_set_font_size(font, 36);
            DropWaitedTicks();
            if (backBuffer)
                DrawMenu(font, choice);
            UpdateMarker();
            PresentFrame();
            if (latch.Pressed()) {
                if (key[KEY_DOWN]) {
                    clear_keybuf();
                    PlaySfx(SFX_CLICK_DOWN);
                    choice = (choice + 1) % 5;
                }
                if (key[KEY_UP]) {
                    clear_keybuf();
                    PlaySfx(SFX_CLICK_UP);
                    choice = (choice + 4) % 5;
                }
                menuMarker->SetPosition(128, menuItemY[choice]);
                if (key[KEY_ENTER]) {
                    clear_keybuf();
                    done = true;
                }
                if (key[KEY_ESC]) {
                    clear_keybuf();
                    choice = 4;
                    done = true;
                }
            }
            // The window's close button leaves the game as EXIT GAME would.
            if (closeRequested) {
                choice = 4;
                done = true;
            }
            rest(0);  // gives up the rest of the time slice
        }

        holder.Free();
        DeleteGameObject(menuMarker);
        shownFps = 0;
        framesDrawn = 0;
        DropWaitedTicks();
        return choice;
    } catch (...) {
        holder.Free();
        DeleteGameObject(menuMarker);
        LogExceptReport("ProcessMenu");
        return 0;
    }
}

bool InitObjects()
{
    try {
        if (gameLog)
            gameLog->Printf("Creating Menu\n");
        InitBurstDirections();
        ClearEditorMap();
        return true;
    } catch (...) {
        LogExceptReport("InitObjects");
        return false;
    }
}

void DeleteObjects()
{
    DeleteGameObject(menuMarker);
}

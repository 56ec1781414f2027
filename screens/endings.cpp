// endings.cpp: the three screens that close a game: game over (and the way
// into the high score table), game won, and the scrolling credits roll.
#include "screens/endings.h"

#include <allegro.h>
#include <string>

#include "base/frame.h"
#include "base/log.h"
#include "base/resources.h"
#include "base/screenfont.h"
#include "base/seam.h"
#include "base/sound.h"
#include "gameplay/figures.h"
#include "platform/alfont/alfont.h"
#include "platform/paths/paths.h"
#include "screens/highscore_screens.h"
#include "screens/highscores.h"
#include "screens/pause.h"
#include "screens/text.h"

namespace {

struct CreditLine {
    int offset;  // from the y of the first heading
    bool heading;
    const char *text;
};

const CreditLine credits[] = {
    {0, true, "GAME DESIGN"},
    {32, false, "THE DELVORN TEAM"},
    {64, false, "LEVELS BUILT IN THE DELVORN EDITOR"},
    {160, true, "GAME PROGRAMMING"},
    {192, false, "THE DELVORN TEAM"},
    {256, true, "ARTIFICIAL INTELLIGENCE"},
    {288, false, "THE DELVORN TEAM"},
    {352, true, "SOUND AND MUSIC"},
    {384, false, "THE DELVORN TEAM"},
    {416, false, "EVERY TUNE MADE IN HOUSE"},
    {480, true, "GAME ART"},
    {512, false, "THE DELVORN TEAM"},
    {544, false, "EVERY TILE DRAWN IN HOUSE"},
    {608, true, "SPECIAL THANKS"},
    {640, false, "THE ALLEGRO LIBRARY COMMUNITY"},
    {706, false, "FREETYPE AND THE PLAY FONT"},
    {770, true, "PUBLISHED BY"},
    {802, false, "THE DELVORN TEAM"},
};

const char *const closingAddress = "DELVORN IS FREE SOFTWARE UNDER THE MIT LICENCE";
const char *const closingMotto = "DIG DEEP. DIG FAST. NEVER LOOK UP.";

// The roll's first heading starts just below the screen and moves up two
// pixels a pass until the last line has left the top.
const int rollStartY = 698;
const int rollEndY = -832;
const int closingStartY = 600;
const int closingEndY = 300;

void DrawRoll(ALFONT_FONT *font, int y)
{
    if (!backBuffer || !font)
        return;
    alfont_set_font_size(font, 24);
    const int white = makecol(255, 255, 255);
    const int line = makecol(200, 128, 100);
    for (const CreditLine &c : credits)
        alfont_textout_centre(backBuffer, font, c.text, GAME_W / 2, y + c.offset, c.heading ? white : line);
}

// The closing pair; once it stands still, the key it waits for is named.
void DrawClosing(ALFONT_FONT *font, int y)
{
    if (!backBuffer || !font)
        return;
    alfont_set_font_size(font, 24);
    alfont_textout_centre(backBuffer, font, closingAddress, GAME_W / 2, y, makecol(200, 200, 200));
    // A dark teal would sink into the cave picture: the motto is lit.
    alfont_textout_centre(backBuffer, font, closingMotto, GAME_W / 2, y + 32, makecol(120, 220, 200));
    if (y <= closingEndY) {
        alfont_set_font_size(font, 16);
        alfont_textout_centre(backBuffer, font, "PRESS A KEY", GAME_W / 2, GAME_H - 32,
                              makecol(200, 107, 38));
    }
}

void WaitForAnyKey(KeyLatch &anyKey)
{
    while (!anyKey.KeyWaiting() && !closeRequested) {
        DropWaitedTicks();
        WaitPass();
    }
}

}  // namespace

void GameOver()
{
    try {
        ScreenFont page("Fonts\\DigitalDream.ttf");
        PlayMusic(MUS_GAME_OVER);
        PlaySfx(SFX_GAME_OVER);
        lives = 3;
        clear_keybuf();

        DimBackdrop(true);
        if (backdropBitmap) {
            const int white = makecol(255, 255, 255);
            DrawPanel(backdropBitmap, 200, 250, 600, 350, white, makecol(0, 0, 0));
            if (page.font) {
                alfont_set_font_size(page.font, 24);
                alfont_textout_centre(backdropBitmap, page.font, "G A M E  O V E R", GAME_W / 2, 284, white);
            }
        }
        ShowBackdropPage();
        KeyLatch latch{KEY_SPACE, KEY_ENTER, KEY_ESC};
        WaitForPagePress(latch);
        clear_keybuf();
        page.Free();

        CheckHighScore();
        clear_keybuf();
        gameState = GameState::MENU;
    } catch (...) {
        LogExceptReport("GameOver");
    }
}

void GameWon()
{
    try {
        PlayMusic(MUS_GAME_WON);
        ScreenFont page("Fonts\\DigitalDreamFat.ttf");
        if (backBuffer)
            clear_bitmap(backBuffer);
        ClearScreen();
        clear_keybuf();
        KeyLatch anyKey = KeyLatch::AnyKey();

        if (BITMAP *shown = GameScreen()) {
            const int white = makecol(255, 255, 255);
            acquire_screen();
            DrawPanel(shown, 200, 250, 600, 350, white, makecol(8, 0, 128));
            if (page.font) {
                alfont_set_font_size(page.font, 26);
                alfont_textout_centre(shown, page.font, "!! GREAT JOB !!", GAME_W / 2, 270, white);
                const std::string final = "SCORE " + std::to_string(score);
                alfont_set_font_size(page.font, 20);
                alfont_textout_centre(shown, page.font, final.c_str(), GAME_W / 2, 312, makecol(255, 255, 0));
            }
            release_screen();
            ShowGameScreen();
        }
        page.Free();

        WaitForAnyKey(anyKey);
        clear_keybuf();
        // A winner's score goes into the hall of fame as a loser's does.
        CheckHighScore();
        clear_keybuf();
        ViewCredits();
        clear_keybuf();
    } catch (...) {
        LogExceptReport("GameWon");
    }
}

void ViewCredits()
{
    try {
        clear_keybuf();
        KeyLatch anyKey = KeyLatch::AnyKey();
        KeyLatch escape{KEY_ESC};
        ScreenFont page("Fonts\\DigitalDream.ttf");
        PlayMusic(MUS_CREDITS);

        for (int y = rollStartY;; y -= 2) {
            DrawPageBackdrop();
            DrawRoll(page.font, y);
            DropWaitedTicks();
            PresentFrame();
            anyKey.KeyWaiting();  // drops the repeats of a key held since the start
            if (y <= rollEndY || escape.Down() || closeRequested)
                break;
        }

        // The closing lines always play out: no key skips them (only the
        // window's close button).
        for (int y = closingStartY; y >= closingEndY && !closeRequested; y -= 2) {
            DrawPageBackdrop();
            DrawClosing(page.font, y);
            DropWaitedTicks();
            PresentFrame();
            anyKey.KeyWaiting();
        }

        PlaySfxAlways(SFX_BAG_BURSTS);
        // A KEY_ESC that cut the roll short is still buffered and ends this
        // wait at once.
        WaitForAnyKey(anyKey);

        page.Free();
        StopMusic();
        drawing_mode(DRAW_MODE_SOLID, nullptr, 0, 0);
        gameState = GameState::MENU;
    } catch (...) {
        LogExceptReport("ViewCredits");
    }
}

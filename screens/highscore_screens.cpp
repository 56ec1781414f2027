// highscore_screens.cpp: the hall of fame view and the initials entry.
#include "screens/highscore_screens.h"

#include <allegro.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/frame.h"
#include "base/gameobject.h"
#include "base/log.h"
#include "base/resources.h"
#include "base/screenfont.h"
#include "base/sound.h"
#include "gameplay/random.h"
#include "platform/alfont/alfont.h"
#include "platform/paths/paths.h"
#include "screens/highscores.h"
#include "screens/text.h"

// Row colours stay readable on the dark blue panel.
static int RowColour()
{
    int r = 96 + GameRandom() % 160;
    int g = 96 + GameRandom() % 160;
    int b = 96 + GameRandom() % 160;
    return makecol(r, g, b);
}

static void DrawHighScoreView(ALFONT_FONT *font, const int *rowColours, GameObject *emblem)
{
    DrawPageBackdrop();
    DrawPanel(backBuffer, 120, 151, 680, 470, makecol(255, 255, 255), makecol(8, 0, 128));
    int white = makecol(255, 255, 255);
    if (font) {
        alfont_set_font_size(font, 36);
        alfont_textout_centre(backBuffer, font, "DELVORN HALL OF FAME", GAME_W / 2, PAGE_TITLE_Y,
                              makecol(200, 200, 200));
        alfont_set_font_size(font, 16);
        alfont_textout_centre(backBuffer, font, "Press <SPACE> to EXIT.", GAME_W / 2, GAME_H - 32,
                              makecol(200, 107, 38));
        alfont_set_font_size(font, 24);
    }
    for (int i = 0; i < 10; i++) {
        const HighScoreEntry &e = highScores.entries[i];
        if (font) {
            char initials[4];
            std::memcpy(initials, e.initials, 3);
            initials[3] = '\0';
            char number[16];
            std::snprintf(number, sizeof number, "%d", (int)e.score);
            alfont_textout_centre(backBuffer, font, initials, 250, 155 + 32 * i, rowColours[i]);
            alfont_textout_centre(backBuffer, font, number, 530, 155 + 32 * i, rowColours[i]);
        }
        line(backBuffer, 119, 182 + 32 * i, 681, 182 + 32 * i, white);
    }
    vline(backBuffer, GAME_W / 2, 150, 470, white);
    emblem->Draw(backBuffer);
}

void ViewHighScores()
{
    GameObject *emblem = nullptr;
    ScreenFont holder;
    try {
        PlayMusic(MUS_HIGH_SCORES);
        SortHighScores();
        int rowColours[10];
        for (int &c : rowColours)
            c = RowColour();

        emblem = new GameObject();
        if (emblem->Init(180, 150, 32, 32, 1, GO_STATIC | GO_VISIBLE, 0, 16)) {
            if (BITMAP *picture = DataBitmap(PIC_TROPHY))
                emblem->SetFrame(0, picture);

            holder.Load("Fonts\\DigitalDream.ttf");
            ALFONT_FONT *font = holder.font;
            if (backBuffer)
                clear_bitmap(backBuffer);
            clear_keybuf();
            KeyLatch leave{KEY_SPACE, KEY_ESC};
            for (;;) {
                if (backBuffer)
                    DrawHighScoreView(font, rowColours, emblem);
                DropWaitedTicks();
                PresentFrame();
                if (leave.Down() || closeRequested)
                    break;
            }
            holder.Free();
        }
        DeleteGameObject(emblem);
        clear_keybuf();
        gameState = GameState::MENU;
    } catch (...) {
        holder.Free();
        DeleteGameObject(emblem);
        LogExceptReport("ViewHighScores");
    }
}

// 36 symbols, then three blanks that end the initials where they stand.
static const char initialSymbols[39] = {
    'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J', 'K', 'L', 'M', 'N', 'O', 'P', 'Q', 'R', 'S', 'T',
    'U', 'V', 'W', 'X', 'Y', 'Z', '0', '1', '2', '3', '4', '5', '6', '7', '8', '9', 0,   0,   0,
};

static void DrawInitialsEntry(ALFONT_FONT *font)
{
    DrawPageBackdrop();
    DrawPanel(backBuffer, 200, 250, 600, 350, makecol(255, 255, 255), makecol(128, 128, 128));
    if (!font)
        return;
    int grey = makecol(200, 200, 200);
    alfont_set_font_size(font, 32);
    alfont_textout_centre(backBuffer, font, "CONGRATULATIONS", GAME_W / 2, PAGE_TITLE_Y, grey);
    alfont_set_font_size(font, 18);
    alfont_textout_centre(backBuffer, font, "You made it into the hall of fame", GAME_W / 2,
                          PAGE_TITLE_Y + 48, makecol(199, 109, 37));
    alfont_set_font_size(font, 14);
    alfont_textout_centre(backBuffer, font, "Press <ENTER> to SAVE.", GAME_W / 2, GAME_H - 96, grey);
    alfont_textout_centre(backBuffer, font, "Press <up> for letter up, <down> for letter down.", GAME_W / 2,
                          GAME_H - 64, grey);
    alfont_textout_centre(backBuffer, font, "Press <Left> for previous field, <right> for next.", GAME_W / 2,
                          GAME_H - 32, grey);
}

static void DrawInitialsFields(ALFONT_FONT *font, const char *fields, int field)
{
    rect(backBuffer, 246 + 128 * field, 264, 310 + 128 * field, 328, makecol(255, 255, 255));
    if (!font)
        return;
    alfont_set_font_size(font, 36);
    for (int i = 0; i < 3; i++) {
        if (fields[i] == '\0')
            continue;
        char text[2] = {fields[i], '\0'};
        alfont_textout_centre(backBuffer, font, text, 278 + 128 * i, 286, makecol(192, 0, 0));
    }
}

void GetUserInitials()
{
    ScreenFont holder;
    try {
        holder.Load("Fonts\\DigitalDream.ttf");
        ALFONT_FONT *font = holder.font;
        char fields[3] = {'A', 'A', 'A'};
        int symbol = 0;
        int field = 0;
        std::memset(currentInitials, 0, sizeof currentInitials);

        ClearScreen();
        ShowMessage("L O A D I N G", 500, 32, makecol(192, 192, 192), screen);
        if (backBuffer)
            clear_bitmap(backBuffer);
        clear_keybuf();

        KeyLatch latch{KEY_UP, KEY_DOWN, KEY_LEFT, KEY_RIGHT, KEY_ENTER};
        // The ENTER that closed the page before may still be down: it must
        // not save the letters before the player has typed them.
        KeyLatch save{KEY_ENTER};
        for (;;) {
            if (backBuffer)
                DrawInitialsEntry(font);
            if (latch.Pressed()) {
                if (key[KEY_RIGHT]) {
                    PlaySfxAlways(SFX_INITIALS);
                    field = (field + 1) % 3;
                }
                if (key[KEY_LEFT]) {
                    PlaySfxAlways(SFX_INITIALS);
                    field = (field + 2) % 3;
                }
                if (key[KEY_UP])
                    symbol = (symbol + 38) % 39;
                if (key[KEY_DOWN])
                    symbol = (symbol + 1) % 39;
            }
            // One index for all three fields: moving on carries the symbol.
            fields[field] = initialSymbols[symbol];
            if (backBuffer)
                DrawInitialsFields(font, fields, field);
            PresentFrame();
            DropWaitedTicks();
            if (save.Down() || closeRequested)
                break;
        }

        // A blank field ends the initials there.
        char entered[4] = {fields[0], fields[1], fields[2], '\0'};
        bool ended = false;
        for (int i = 0; i < 4; i++) {
            if (entered[i] == '\0')
                ended = true;
            currentInitials[i] = ended ? '\0' : entered[i];
        }
        holder.Free();
        clear_keybuf();
        gameState = GameState::MENU;
    } catch (...) {
        holder.Free();
        LogExceptReport("GetUserInitials");
    }
}

void CheckHighScore()
{
    if (FindHighScoreSlot() == NO_HIGH_SCORE_SLOT)
        return;
    GetUserInitials();
    RecordHighScore();
}

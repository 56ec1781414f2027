// pause.cpp: the pause page, the help pages (play and editor) and the
// questions before the level editor and before leaving a game. Each composes once on the darkened game
// picture and then only waits for its key.
#include "screens/pause.h"

#include <allegro.h>
#include <cstdio>
#include <string>

#include "base/frame.h"
#include "base/log.h"
#include "base/resources.h"
#include "base/screenfont.h"
#include "base/seam.h"
#include "base/sound.h"
#include "gameplay/figures.h"
#include "map/levelmap.h"
#include "platform/alfont/alfont.h"
#include "platform/paths/paths.h"

namespace {

struct PageLine {
    int y;
    int r, g, b;
    const char *text;
};

const PageLine playHelp[] = {
    {140, 255, 255, 255, "Collect all items then head for the exit."},
    {160, 255, 255, 255, "The exit door won't open until all items are collected."},
    {200, 255, 255, 255, "Use Keys: Left, Right, Up, Down to move."},
    {220, 255, 255, 255, "Use: Space to drop bombs if you have any."},
    {240, 255, 255, 255, "Dig under $$ bags to drop them."},
    {260, 255, 255, 255, "Eat potions so you can eat the enemies."},
    {280, 255, 255, 255, "Use: F1/Help, P/Pause, S/SaveScreen ESC/Exit."},
    {320, 0, 255, 255, "TIP: Press UP under a $$ bag to hold it in place."},
    {340, 0, 255, 255, "TIP: Push $$ bags left and right when clear on both sides."},
    {360, 0, 255, 255, "TIP: Drop $$ bags on enemies to squash them."},
    {380, 0, 255, 255, "TIP: If an enemy dies 5 times, it won't come back."},
    {420, 255, 255, 100, "Hearts give you an extra life."},
    {440, 255, 255, 100, "Bomb items give you an extra bomb."},
};

const PageLine editorHelp[] = {
    {140, 255, 255, 255, "+ / - Change Layers, 1 / 2 Change Level Number"},
    {160, 255, 255, 255, "PgUP/PgDn - Change Tiles/Objects"},
    {180, 255, 255, 255, "Left Mouse Button, ENTER/SPACE - Drop Tile"},
    {200, 255, 255, 255, "Right Mouse Button - Erase Tile"},
    {220, 255, 255, 255, "F2 - Exit Editor"},
    {240, 255, 255, 255, "F3 - Clear Current Layer."},
    {260, 255, 255, 255, "F4 - Fill Current Layer."},
    {280, 255, 255, 255, "F5 Toggle Blocks/Objects."},
    {300, 255, 255, 255, "F6 - Save Map / F7 - Load Map / F8 - Show Level."},
    {320, 0, 255, 255, "TIPS"},
    {340, 0, 255, 255, "Special Objects (Bomb, Heart, Potion, Money) on layer 2."},
    {360, 0, 255, 255, "All Collectibles on layer 2."},
    {380, 0, 255, 255, "Exit tile (0) on layer 0"},
    {420, 255, 255, 100, "Shield tiles on layer 1."},
    {440, 255, 255, 100, "Transparent tiles and enemy home on layer 1."},
};

// The editor's second page: a picture of each kind of tile, its name, its
// codes and the layer it belongs on.
struct TileLine {
    int layer, code;  // the picture shown
    const char *name;
    const char *codes;
};

const TileLine blockTiles[] = {
    {0, 0, "Exit door", "0, layer 0"},        {0, 1, "Earth", "1-8, 10-39, layer 0"},
    {0, 71, "Dug tunnel", "71, layer 0"},     {1, 9, "Shield", "9, layer 1"},
    {1, 41, "Decorations", "40-55, layer 1"}, {1, 60, "Brick and timber edges", "56-69, layer 1"},
    {1, 70, "Enemies' home", "70, layer 1"},  {1, 72, "Support beam, rubble", "72, 73, layer 1"},
};

const TileLine objectTiles[] = {
    {2, 12, "Money bag", "12, layer 2"},
    {2, 16, "Bomb", "16, layer 2"},
    {2, 19, "Potion", "19, layer 2"},
    {2, 22, "Heart", "22, layer 2"},
    {2, 3, "Gems", "0-5, layer 2"},
    {2, 6, "Coins", "6, 7, layer 2"},
    {2, 9, "Fruit", "8-11, 14, 15, 25, layer 2"},
    {2, 23, "Key, pearl, star, chalice, crown", "20, 21, 23, 24, 26, layer 2"},
};

void CentreText(ALFONT_FONT *font, const char *text, int y, int colour)
{
    alfont_textout_centre(backdropBitmap, font, text, GAME_W / 2, y, colour);
}

void DrawNumberLine(ALFONT_FONT *font, const char *label, int value, int y)
{
    const int white = makecol(255, 255, 255);
    alfont_textout(backdropBitmap, font, label, 142, y, white);
    char number[16];
    std::snprintf(number, sizeof number, "%d", value);
    alfont_textout(backdropBitmap, font, number, 560, y, white);
}

// The opening every page shares: music held, buffer emptied, the game
// picture darkened behind the page.
void OpenPage(bool redrawFrame)
{
    PauseMusic();
    clear_keybuf();
    DimBackdrop(redrawFrame);
}

void ClosePage()
{
    clear_keybuf();
    ResumeMusic();
}

}  // namespace

void ShowBackdropPage()
{
    if (!screen || !backdropBitmap)
        return;
    vsync();
    acquire_screen();
    blit(backdropBitmap, GameScreen(), 0, 0, 0, 0, backdropBitmap->w, backdropBitmap->h);
    release_screen();
    ShowGameScreen();
}

void WaitForPagePress(KeyLatch &latch)
{
    for (;;) {
        DropWaitedTicks();
        const bool pressed = latch.Pressed();
        clear_keybuf();
        // The close button must still end the program while a page waits.
        if (pressed || closeRequested)
            return;
        WaitPass();
    }
}

void PauseGame()
{
    try {
        ScreenFont page("Fonts\\DigitalDream.ttf");
        OpenPage(true);

        if (backdropBitmap) {
            const int white = makecol(255, 255, 255);
            const int yellow = makecol(255, 255, 0);
            rect(backdropBitmap, 99, 99, 701, 132, white);
            rect(backdropBitmap, 99, 99, 701, 451, white);
            if (page.font) {
                alfont_set_font_size(page.font, 22);
                CentreText(page.font, "DELVORN PAUSED", 102, white);
                CentreText(page.font, "STATUS", 136, yellow);
                alfont_set_font_size(page.font, 14);
                DrawNumberLine(page.font, "Current Lives", lives, 190);
                DrawNumberLine(page.font, "Bombs", bombCapacity, 220);
                DrawNumberLine(page.font, "Current Level", currentLevel, 280);
                DrawNumberLine(page.font, "Items Left", itemsLeft, 310);
                DrawNumberLine(page.font, "Score", score, 340);
                alfont_set_font_size(page.font, 22);
                CentreText(page.font, "...Press SPACE to resume game...", 410, yellow);
            }
        }
        ShowBackdropPage();

        KeyLatch latch{KEY_SPACE};
        WaitForPagePress(latch);
        ClosePage();
    } catch (...) {
        LogExceptReport("PauseGame");
    }
}

namespace {

// The question pages (the editor, leaving the game): a title bar in blue,
// the subject in orange, the question, and Y or N.
bool AskYesNo(const char *subject, const char *question)
{
    ScreenFont page("Fonts\\DigitalDream.ttf");
    OpenPage(true);

    if (backdropBitmap) {
        const int blue = makecol(50, 136, 254);
        rect(backdropBitmap, 99, 199, 701, 351, blue);
        rect(backdropBitmap, 99, 199, 701, 231, blue);
        if (page.font) {
            alfont_set_font_size(page.font, 24);
            CentreText(page.font, "DELVORN PAUSED", 202, makecol(255, 255, 255));
            CentreText(page.font, subject, 236, makecol(255, 50, 0));
            alfont_set_font_size(page.font, 20);
            CentreText(page.font, question, 320, makecol(255, 255, 0));
        }
    }
    ShowBackdropPage();

    KeyLatch latch{KEY_Y, KEY_N};
    WaitForPagePress(latch);
    // Both together count as yes.
    const bool yes = key[KEY_Y] != 0;
    ClosePage();
    return yes;
}

}  // namespace

bool AskEditorMode()
{
    try {
        return AskYesNo("EDITOR MODE", "ENTER EDITOR MODE? (Y/N)");
    } catch (...) {
        // The question shares the pause page's report line.
        LogExceptReport("PauseGame");
        return false;
    }
}

bool AskLeaveGame()
{
    try {
        // What the player would leave with.
        const std::string subject = "SCORE " + std::to_string(score);
        return AskYesNo(subject.c_str(), "LEAVE THIS GAME? Y/N");
    } catch (...) {
        LogExceptReport("AskLeaveGame");
        return false;
    }
}

namespace {

// The help panel and its two title lines on the backdrop bitmap; the
// page's own lines at size 14 follow.
void DrawHelpFrame(ALFONT_FONT *font)
{
    const int white = makecol(255, 255, 255);
    DrawPanel(backdropBitmap, 100, 60, 700, 500, white, makecol(0, 0, 0));
    rect(backdropBitmap, 99, 59, 701, 92, white);
    if (!font)
        return;
    alfont_set_font_size(font, 22);
    CentreText(font, "DELVORN PAUSED", 62, white);
    CentreText(font, "HELP", 94, makecol(255, 255, 0));
}

void DrawClosingLine(ALFONT_FONT *font, const char *text)
{
    alfont_set_font_size(font, 22);
    CentreText(font, text, 470, makecol(255, 255, 0));
}

void DrawTileColumn(ALFONT_FONT *font, const TileLine *tiles, int count, int x)
{
    for (int i = 0; i < count; i++) {
        const int y = 124 + i * 40;
        if (BITMAP *picture = DataBitmap(CellPictureEntry(tiles[i].layer, tiles[i].code)))
            draw_sprite(backdropBitmap, picture, x, y);
        if (!font)
            continue;
        alfont_set_font_size(font, 14);
        alfont_textout(backdropBitmap, font, tiles[i].name, x + 40, y + 1, makecol(255, 255, 255));
        alfont_textout(backdropBitmap, font, tiles[i].codes, x + 40, y + 17, makecol(0, 255, 255));
    }
}

// The editor's tiles page, on black as its first page is.
void ShowEditorTiles(ALFONT_FONT *font)
{
    if (!backdropBitmap)
        return;
    clear_to_color(backdropBitmap, makecol(0, 0, 0));
    DrawHelpFrame(font);
    DrawTileColumn(font, blockTiles, sizeof blockTiles / sizeof blockTiles[0], 112);
    DrawTileColumn(font, objectTiles, sizeof objectTiles / sizeof objectTiles[0], 412);
    if (font)
        DrawClosingLine(font, "...Press SPACE to resume Editing...");
    ShowBackdropPage();
}

}  // namespace

int GameHelp()
{
    try {
        ScreenFont page("Fonts\\DigitalDream.ttf");
        const bool fromEditor = returnState == GameState::LEVEL_EDITOR;
        // From the editor the back buffer is still the cleared one the last
        // present left, so the page stands on black.
        OpenPage(!fromEditor);

        if (backdropBitmap) {
            DrawHelpFrame(page.font);
            if (page.font) {
                const PageLine *lines = nullptr;
                int count = 0;
                const char *closing = nullptr;
                if (returnState == GameState::RUN) {
                    lines = playHelp;
                    count = sizeof playHelp / sizeof playHelp[0];
                    closing = "...Press SPACE to resume game...";
                } else if (fromEditor) {
                    lines = editorHelp;
                    count = sizeof editorHelp / sizeof editorHelp[0];
                    closing = "...Press SPACE to see the tiles...";
                }
                alfont_set_font_size(page.font, 14);
                for (int i = 0; i < count; i++)
                    alfont_textout(backdropBitmap, page.font, lines[i].text, 142, lines[i].y,
                                   makecol(lines[i].r, lines[i].g, lines[i].b));
                if (closing)
                    DrawClosingLine(page.font, closing);
            }
        }
        ShowBackdropPage();

        KeyLatch latch{KEY_SPACE};
        WaitForPagePress(latch);
        if (fromEditor && !closeRequested) {
            ShowEditorTiles(page.font);
            WaitForPagePress(latch);
        }
        ClosePage();
    } catch (...) {
        LogExceptReport("GameHelp");
    }
    return gameState;
}

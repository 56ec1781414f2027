// message.cpp: see message.h.
#include "base/message.h"

#include <cstdlib>

#include "base/frame.h"
#include "base/screenfont.h"
#include "base/seam.h"

void ShowMessage(const char *text, int delayMs, int size, int colour, BITMAP *target)
{
    // The screen stands for the game's picture on it, at whatever scale.
    const bool onScreen = target && target == screen;
    if (onScreen)
        target = GameScreen();
    {
        ScreenFont line("Fonts\\DigitalDream.ttf");
        if (line.font && target && text) {
            alfont_set_font_size(line.font, size);
            alfont_textout_centre(target, line.font, text, GAME_W / 2, GAME_H / 2 + 8, colour);
        }
    }
    if (onScreen)
        ShowGameScreen();
    // The line is meant to be read, so the wait happens even without a font.
    if (delayMs > 0) {
        WaitMs(delayMs);
        DropWaitedTicks();
    }
}

std::string WhyAllegroCannotStart()
{
    if (allegro_error[0])
        return allegro_error;
#ifdef _WIN32
    return "no system driver";
#else
    const char *display = std::getenv("DISPLAY");
    if (!display || !*display)
        return "no display to open a window on (DISPLAY is not set)";
    return std::string("cannot open the display ") + display;
#endif
}

void ClearScreen()
{
    if (!screen)
        return;
    acquire_screen();
    clear_to_color(GameScreen(), 0);
    release_screen();
    ShowGameScreen();
}

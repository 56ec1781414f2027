// replay.cpp: delvorn-replay, a demo shown in a window with the game's own
// drawing, at the logic rate. Space pauses, the right arrow steps one tick,
// + and - change the speed, Esc or the close button end it.
//
//   delvorn-replay [FILE]
//
// It finds the game's files as the game does (beside the program, or the
// installed data and the player's folders); without FILE it shows the last
// level played, Demos/last.dem.
#include <allegro.h>

#include <atomic>
#include <cstdio>
#include <string>

#include "base/config.h"
#include "base/frame.h"
#include "base/resources.h"
#include "gameplay/figures.h"
#include "level/demofile.h"
#include "level/demoplay.h"
#include "level/headless.h"
#include "level/mapdraw.h"
#include "level/mapfile.h"
#include "platform/alfont/alfont.h"
#include "platform/paths/paths.h"

namespace {

std::atomic<int> pendingTicks{0};
void CountTick()
{
    pendingTicks++;
}

// Speeds as a fraction of the logic rate: quarter, half, normal, 2x, 4x, 8x.
const double speeds[] = {0.25, 0.5, 1, 2, 4, 8};
const int speedCount = sizeof speeds / sizeof speeds[0];

void SetSpeed(int index)
{
    remove_int(CountTick);
    install_int_ex(CountTick, BPS_TO_TIMER((int)(logicRate * speeds[index] + 0.5)));
}

int Fail(const std::string &message)
{
    if (screen)
        set_gfx_mode(GFX_TEXT, 0, 0, 0, 0);
    allegro_message("delvorn-replay: %s\n", message.c_str());
    return 2;
}

bool OpenWindow()
{
    if (allegro_init() != 0)
        return false;
    install_keyboard();
    install_timer();
    ReadConfig();
    set_color_depth(16);
    set_color_conversion(COLORCONV_TOTAL | COLORCONV_KEEP_TRANS);
    if (set_gfx_mode(GFX_AUTODETECT_WINDOWED, 800, 600, 0, 0) != 0)
        return false;
    set_window_title("Delvorn replay");
    set_close_button_callback(OnCloseButton);
    alfont_init();
    return true;
}

void DrawReplayFrame(const Demo &demo, size_t tick, int speed, bool paused, bool ended)
{
    DrawPlayPicture();
    char line[160];
    std::snprintf(line, sizeof line, "LEVEL %d  TICK %zu/%zu  SPEED x%g%s", demo.level, tick,
                  demo.ticks.size(), speeds[speed],
                  ended    ? "  END OF DEMO - ESC"
                  : paused ? "  PAUSED"
                           : "");
    textout_ex(backBuffer, font, line, 8, 8, makecol(255, 255, 255), makecol(0, 0, 0));
    framesDrawn++;
    PresentFrame();
}

}  // namespace

int main(int argc, char **argv)
{
    std::string demoPath;
    for (int i = 1; i < argc; i++) {
        std::string a = argv[i];
        if (demoPath.empty() && !a.empty() && a[0] != '-') {
            demoPath = a;
        } else {
            std::fprintf(stderr, "usage: delvorn-replay [FILE]\n");
            return 1;
        }
    }
    UseOwnGamePlaces();
    if (demoPath.empty())
        demoPath = WritablePath("Demos\\last.dem");
    Demo demo;
    std::string error;
    if (!ReadDemo(demoPath, &demo, &error)) {
        std::fprintf(stderr, "delvorn-replay: %s\n", error.c_str());
        return 2;
    }
    if (!OpenWindow()) {
        std::fprintf(stderr, "delvorn-replay: no window: %s\n", allegro_error);
        return 3;
    }
    if (!StartHeadless("Data.dat"))
        return Fail("the figures could not be created");
    if (!dataFile)
        return Fail("no Data.dat beside the program or in the installed data");
    backBuffer = create_bitmap(800, 600);
    mainFont = alfont_load_font(NativePath("Fonts\\DigitalDream.ttf").c_str());
    if (!StartDemo(demo, MapFileName(demo.level), &error))
        return Fail(error);

    int speed = 2;
    bool paused = false;
    size_t tick = 0;
    SetSpeed(speed);
    bool ended = false;
    while (!closeRequested) {
        int steps = 0;
        while (keypressed()) {
            int k = readkey();
            int scancode = k >> 8;
            if (scancode == KEY_ESC)
                closeRequested = true;
            else if (scancode == KEY_SPACE)
                paused = !paused;
            else if (scancode == KEY_RIGHT)
                steps++;
            else if ((k & 0xff) == '+' || (k & 0xff) == '=' || scancode == KEY_PLUS_PAD)
                SetSpeed(speed = speed + 1 < speedCount ? speed + 1 : speed);
            else if ((k & 0xff) == '-' || scancode == KEY_MINUS_PAD)
                SetSpeed(speed = speed > 0 ? speed - 1 : 0);
        }
        int due = pendingTicks.exchange(0);
        if (paused)
            due = steps;
        for (int i = 0; i < due && !ended; i++) {
            PlayDemoTick(demo.ticks[tick]);
            tick++;
            ended = tick >= demo.ticks.size() || gameState != GameState::RUN || lives <= 0;
        }
        DrawReplayFrame(demo, tick, speed, paused, ended);
    }
    remove_int(CountTick);
    allegro_exit();
    return 0;
}

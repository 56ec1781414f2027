// replay.cpp: delvorn-replay, a demo shown in a window with the game's own
// drawing, at the logic rate. Space pauses, the right arrow steps one tick,
// + and - change the speed, Esc or the close button end it.
//
//   delvorn-replay [FILE]
//
// It finds the game's files as the game does (beside the program, or the
// installed data and the player's folders); without FILE it shows the last
// level played, Demos/last.dem. It says when the replay ends on another
// state than the recording did, and then exits with 4.
#include <allegro.h>

#include <atomic>
#include <cstdio>
#include <string>

#include "base/config.h"
#include "base/frame.h"
#include "base/message.h"
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

const char usage[] =
    "usage: delvorn-replay [FILE]\n"
    "Shows a demo of the game in a window: FILE, or the last level played.\n"
    "Space pauses, the right arrow steps one tick, + and - change the speed,\n"
    "Esc or the window's close button end it.\n";

void DrawReplayFrame(const Demo &demo, size_t tick, int speed, bool paused, const char *ended)
{
    DrawPlayPicture();
    char line[200];
    std::snprintf(line, sizeof line, "LEVEL %d  TICK %zu/%zu  SPEED x%g%s", demo.level, tick,
                  demo.ticks.size(), speeds[speed],
                  ended    ? ended
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
        if (a == "--help" || a == "-h") {
            std::fputs(usage, stdout);
            return 0;
        }
        if (demoPath.empty() && !a.empty() && a[0] != '-') {
            demoPath = a;
        } else {
            std::fputs(usage, stderr);
            return 1;
        }
    }
    UseOwnGamePlaces();
    const bool lastPlayed = demoPath.empty();
    if (lastPlayed)
        demoPath = WritablePath("Demos\\last.dem");
    Demo demo;
    std::string error;
    if (lastPlayed && !IsRegularFile(demoPath)) {
        std::fprintf(stderr,
                     "delvorn-replay: no demo to show: %s does not exist (the game records every level "
                     "played there; or name a demo file)\n",
                     demoPath.c_str());
        return 2;
    }
    if (!ReadDemo(demoPath, &demo, &error)) {
        std::fprintf(stderr, "delvorn-replay: %s\n", error.c_str());
        return 2;
    }
    if (!OpenWindow()) {
        std::fprintf(stderr, "delvorn-replay cannot start: %s\n", WhyAllegroCannotStart().c_str());
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
    // Set once the demo has run out: whether it ended where the recording did.
    const char *ended = nullptr;
    bool differs = false;
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
        for (int i = 0; i < due && !ended && tick < demo.ticks.size(); i++) {
            PlayDemoTick(demo.ticks[tick]);
            tick++;
            if (gameState != GameState::RUN || lives <= 0)
                break;
        }
        if (!ended && (tick >= demo.ticks.size() || gameState != GameState::RUN || lives <= 0)) {
            const std::string replayed = PlayStateLine((long)tick);
            differs = !demo.final.empty() && replayed != demo.final;
            ended = differs ? "  ENDED ON ANOTHER STATE THAN THE RECORDING - ESC" : "  END OF DEMO - ESC";
            if (differs)
                std::fprintf(stderr,
                             "delvorn-replay: the replay ends on another state than the recording:\n"
                             "  recorded: %s\n  replayed: %s\n",
                             demo.final.c_str(), replayed.c_str());
        }
        DrawReplayFrame(demo, tick, speed, paused, ended);
    }
    remove_int(CountTick);
    allegro_exit();
    return differs ? 4 : 0;
}

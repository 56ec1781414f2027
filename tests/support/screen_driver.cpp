// screen_driver.cpp: window, keys and screenshots for the screen tests.
#include "screen_driver.h"

#include <allegro.h>
#include <cstdlib>
#include <unistd.h>

#include "base/frame.h"
#include "base/resources.h"
#include "base/seam.h"
#include "platform/paths/paths.h"

namespace {

const KeyScript *activeScript = nullptr;
int passCount = 0;
bool closedByDriver = false;

const int watchedKeys[] = {KEY_UP, KEY_DOWN, KEY_LEFT, KEY_RIGHT, KEY_ENTER, KEY_ESC, KEY_SPACE};

void ScriptHook()
{
    int pass = passCount++;
    if (activeScript->onPass)
        activeScript->onPass(pass);
    for (int k : watchedKeys)
        key[k] = 0;
    if (pass < (int)activeScript->passes.size()) {
        for (int k : activeScript->passes[pass])
            key[k] = 1;
    } else if (pass > (int)activeScript->passes.size() + 300) {
        closedByDriver = true;
        closeRequested = true;
    }
}

}  // namespace

bool OpenTestWindow()
{
    static int state = 0;  // 0 untried, 1 open, -1 unavailable
    if (state != 0)
        return state > 0;
    state = -1;
    const char *display = std::getenv("DISPLAY");
    if (!display || !*display)
        return false;
    if (allegro_init() != 0)
        return false;
    install_timer();
    install_keyboard();
    set_color_depth(16);
    if (set_gfx_mode(GFX_AUTODETECT_WINDOWED, 800, 600, 0, 0) != 0)
        return false;
    backBuffer = create_bitmap(800, 600);
    backdropBitmap = create_bitmap(800, 600);
    clear_bitmap(backBuffer);
    clear_bitmap(backdropBitmap);
    // The screens read fonts and pictures relative to the game folder.
    if (chdir(DELVORN_GAME_DIR) != 0)
        return false;
    if (access("Data.dat", R_OK) == 0)
        LoadGameData("Data.dat");
    mainFont = alfont_load_font(NativePath("Fonts\\DigitalDream.ttf").c_str());
    skipWaits = true;
    state = 1;
    return true;
}

int RunScreen(const KeyScript &script, const std::function<void()> &screenCall)
{
    activeScript = &script;
    passCount = 0;
    closedByDriver = false;
    closeRequested = false;
    passHook = ScriptHook;
    screenCall();
    passHook = nullptr;
    activeScript = nullptr;
    for (int k : watchedKeys)
        key[k] = 0;
    if (closedByDriver)
        closeRequested = false;
    clear_keybuf();
    return passCount;
}

void AddPresses(KeyScript &script, int keyCode, int n)
{
    for (int i = 0; i < n; i++) {
        script.passes.push_back({keyCode});
        script.passes.push_back({});
    }
}

void AddPass(KeyScript &script, std::initializer_list<int> keys)
{
    script.passes.push_back(std::vector<int>(keys));
}

void SaveShot(const char *name)
{
    const char *dir = std::getenv("DELVORN_SHOTS");
    if (!dir || !*dir || !screen)
        return;
    BITMAP *copy = create_bitmap(SCREEN_W, SCREEN_H);
    if (!copy)
        return;
    blit(screen, copy, 0, 0, 0, 0, SCREEN_W, SCREEN_H);
    std::string path = std::string(dir) + "/" + name + ".pcx";
    PALETTE pal;
    get_palette(pal);
    save_bitmap(path.c_str(), copy, pal);
    destroy_bitmap(copy);
}

// options.cpp: the options screen: both volumes, the sound and music
// switches and the joystick, changed for the rest of the run.
#include "screens/options.h"

#include <allegro.h>
#include <cstdio>
#include <cstring>

#include "base/config.h"
#include "base/frame.h"
#include "base/log.h"
#include "base/resources.h"
#include "base/screenfont.h"
#include "base/sound.h"
#include "platform/alfont/alfont.h"
#include "platform/paths/paths.h"
#include "screens/text.h"

namespace {

const char *const rowLabels[5] = {
    "Sound Volume", "Music Volume", "Sound State", "Screen Mode", "JoyStick",
};
const int rowY[5] = {200, 240, 280, 340, 380};
const char *const stateTexts[4] = {
    "Sound On Music On",
    "Sound On Music Off",
    "Sound Off Music On",
    "Sound Off Music Off",
};

// What the screen shows; every visit starts from the settings in force.
struct OptionsView {
    int soundIndex = 0;
    int musicIndex = 0;
    int stateIndex = 0;
    int joystickIndex = 0;  // 0 shows ENABLED
    int row = 0;
    char soundBar[21];
    char musicBar[21];
};

void BlankBar(char *bar)
{
    std::memset(bar, '-', 20);
    bar[20] = '\0';
}

// Index in steps of two, 0..19; the bar marks it and the volume follows.
int StepVolume(int &index, char *bar, int delta)
{
    index += delta;
    if (index > 19)
        index = 19;
    if (index < 0)
        index = 0;
    BlankBar(bar);
    bar[index] = '|';
    return index * 10 + 55;
}

// The nearest bar position to a volume (0..255) the settings file may hold.
int VolumeIndex(int volume)
{
    int index = (volume - 55 + 5) / 10;
    return index < 0 ? 0 : index > 19 ? 19 : index;
}

// The screen opens on the settings as they are, so that looking at it, or
// pressing Right to turn a loud sound up, never changes them for the worse.
OptionsView ViewOfSettings()
{
    OptionsView view;
    view.soundIndex = VolumeIndex(soundVolume);
    view.musicIndex = VolumeIndex(midiVolume);
    StepVolume(view.soundIndex, view.soundBar, 0);
    StepVolume(view.musicIndex, view.musicBar, 0);
    view.stateIndex = (soundOn ? 0 : 2) + (musicOn ? 0 : 1);
    view.joystickIndex = useJoystick ? 0 : 1;
    return view;
}

void ChangeRow(OptionsView &view, int direction)
{
    switch (view.row) {
    case 0: soundVolume = StepVolume(view.soundIndex, view.soundBar, 2 * direction); break;
    case 1: midiVolume = StepVolume(view.musicIndex, view.musicBar, 2 * direction); break;
    case 2: view.stateIndex = (view.stateIndex + direction + 4) % 4; break;
    case 4:
        useJoystick = !useJoystick;
        view.joystickIndex = useJoystick ? 0 : 1;
        break;
    default:  // the screen mode comes from the INI file only
        break;
    }
}

void DrawOptions(ALFONT_FONT *font, const OptionsView &view)
{
    DrawPageBackdrop();
    int yellow = makecol(200, 200, 100);
    if (font) {
        alfont_set_font_size(font, 40);
        alfont_textout_centre(backBuffer, font, "Game Options", GAME_W / 2, PAGE_TITLE_Y, yellow);
        alfont_set_font_size(font, 18);
        alfont_textout_centre(backBuffer, font, "Up/Down to move, Left/Right Change, SPACE - Done",
                              GAME_W / 2, 520, yellow);
    }
    DrawPanel(backBuffer, 120, 151, 680, 470, makecol(255, 255, 255), makecol(8, 0, 128));
    if (!font)
        return;
    const char *values[5] = {
        view.soundBar,
        view.musicBar,
        stateTexts[view.stateIndex],
        "Use INI File",
        view.joystickIndex == 0 ? "JoyStick ENABLED" : "JoyStick DISABLED",
    };
    int grey = makecol(200, 200, 200);
    for (int i = 0; i < 5; i++) {
        alfont_textout(backBuffer, font, rowLabels[i], 140, rowY[i], grey);
        alfont_textout(backBuffer, font, values[i], 400, rowY[i], yellow);
    }
    alfont_textout(backBuffer, font, rowLabels[view.row], 140, rowY[view.row], makecol(199, 109, 37));
    // The scale in use, fixed like the screen mode by the INI file.
    char scaleText[40];
    std::snprintf(scaleText, sizeof scaleText, "x%d, Use INI File", PresentPlacement().factor);
    alfont_textout(backBuffer, font, "Scale", 140, 420, grey);
    alfont_textout(backBuffer, font, scaleText, 400, 420, yellow);
}

}  // namespace

void MessageBox()
{
    ScreenFont holder;
    try {
        clear_keybuf();
        holder.Load("Fonts\\DigitalDream.ttf");
        ALFONT_FONT *font = holder.font;
        PlayMusic(MUS_MENU);

        OptionsView view = ViewOfSettings();
        KeyLatch latch{KEY_UP, KEY_DOWN, KEY_LEFT, KEY_RIGHT, KEY_SPACE, KEY_ESC};
        bool ending = false;
        while (!ending) {
            int oldSound = soundVolume;
            int oldMusic = midiVolume;
            if (backBuffer)
                DrawOptions(font, view);
            PresentFrame();
            if (latch.Pressed()) {
                if (key[KEY_RIGHT]) {
                    PlaySfx(SFX_CLICK_DOWN);
                    ChangeRow(view, 1);
                }
                if (key[KEY_LEFT]) {
                    PlaySfx(SFX_CLICK_DOWN);
                    ChangeRow(view, -1);
                }
                if (key[KEY_SPACE] || key[KEY_ESC]) {
                    view.row = 0;
                    ending = true;
                }
                if (key[KEY_DOWN]) {
                    PlaySfx(SFX_CLICK_DOWN);
                    view.row = (view.row + 1) % 5;
                }
                if (key[KEY_UP]) {
                    PlaySfx(SFX_CLICK_UP);
                    view.row = (view.row + 4) % 5;
                }
            }
            soundOn = view.stateIndex < 2;
            musicOn = view.stateIndex % 2 == 0;
            if (soundVolume != oldSound || midiVolume != oldMusic)
                set_volume(soundVolume, midiVolume);
            DropWaitedTicks();
            if (closeRequested)
                ending = true;
        }

        holder.Free();
        StopMusic();
        gameState = GameState::MENU;
    } catch (...) {
        holder.Free();
        LogExceptReport("MessageBox");
    }
}

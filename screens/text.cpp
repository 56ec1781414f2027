// text.cpp: the notice line, the translucent panel, the darkened game
// backdrop and the key latch that every screen shares.
#include "screens/text.h"

#include "blend/blend.h"
#include "level/mapdraw.h"
#include "platform/alfont/alfont.h"
#include "platform/paths/paths.h"
#include "shell/seam.h"
#include "shell/startup.h"

void ShowMessage(const char *text, int delayMs, int size, int colour, BITMAP *target)
{
    ALFONT_FONT *font = alfont_load_font(NativePath("Fonts\\DigitalDream.ttf").c_str());
    if (font) {
        if (target && text) {
            alfont_text_mode(-1);
            alfont_set_font_size(font, size);
            alfont_textout_centre(target, font, text, SCREEN_W / 2, SCREEN_H / 2 + 8, colour);
        }
        alfont_destroy_font(font);
    }
    // The line is meant to be read, so the wait happens even without a font.
    if (delayMs > 0)
        WaitMs(delayMs);
}

void DrawPanel(BITMAP *target, int x1, int y1, int x2, int y2, int outline, int fill)
{
    if (!target)
        return;
    rect(target, x1 - 1, y1 - 1, x2 + 1, y2 + 1, outline);
    set_trans_blender(0, 0, 0, 64);
    drawing_mode(DRAW_MODE_TRANS, nullptr, 0, 0);
    rectfill(target, x1, y1, x2, y2, fill);
    drawing_mode(DRAW_MODE_SOLID, nullptr, 0, 0);
}

void DimBackdrop(bool redraw)
{
    if (!backBuffer || !backdropBitmap)
        return;
    if (redraw)
        DrawPlayFrame();
    if (!screen) {
        // No window (tools, tests): the same final picture, without the steps.
        BlendToColour(backBuffer, backdropBitmap, 0, 0, makecol(0, 0, 0), 96);
        return;
    }
    vsync();
    blit(backBuffer, backdropBitmap, 0, 0, 0, 0, backBuffer->w, backBuffer->h);
    Fade(backdropBitmap, screen, 0, 0, 2, makecol(0, 0, 0), 0);
    acquire_screen();
    blit(screen, backdropBitmap, 0, 0, 0, 0, backdropBitmap->w, backdropBitmap->h);
    release_screen();
}

void ClearScreen()
{
    if (!screen)
        return;
    acquire_screen();
    clear_to_color(screen, 0);
    release_screen();
}

KeyLatch::KeyLatch(std::initializer_list<int> keys, bool otherHeld)
{
    for (int k : keys)
        if (count_ < 24 && k > 0 && k < KEY_MAX)
            keys_[count_++] = k;
    Arm(otherHeld);
}

KeyLatch KeyLatch::AnyKey()
{
    std::initializer_list<int> none;
    KeyLatch latch(none);
    latch.anyKey_ = true;
    latch.Arm();
    return latch;
}

bool KeyLatch::Held(bool otherHeld) const
{
    if (otherHeld)
        return true;
    if (anyKey_) {
        for (int k = 1; k < KEY_MAX; k++)
            if (key[k])
                return true;
        return false;
    }
    for (int i = 0; i < count_; i++)
        if (key[keys_[i]])
            return true;
    return false;
}

void KeyLatch::Arm(bool otherHeld)
{
    latched = Held(otherHeld);
}

bool KeyLatch::Pressed(bool otherHeld)
{
    if (!Held(otherHeld)) {
        latched = false;
        return false;
    }
    if (latched)
        return false;
    latched = true;
    clear_keybuf();
    return true;
}

bool KeyLatch::Down(bool otherHeld)
{
    const bool held = Held(otherHeld);
    if (!held)
        latched = false;
    return held && !latched;
}

bool KeyLatch::KeyWaiting()
{
    if (latched) {
        // A held key repeats into the buffer: those presses are not new.
        clear_keybuf();
        if (!Held(false))
            latched = false;
        return false;
    }
    return keypressed();
}

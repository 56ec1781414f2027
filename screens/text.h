// text.h: what every screen shares: the notice line, the translucent panel,
// the darkened game backdrop and the edge-triggered key latch.
#ifndef DELVORN_TEXT_H
#define DELVORN_TEXT_H

#include <allegro.h>
#include <initializer_list>

// One centred line at (SCREEN_W / 2, SCREEN_H / 2 + 8) in
// "Fonts\DigitalDream.ttf", then a wait of delayMs. Draws nothing without
// a target or a font.
void ShowMessage(const char *text, int delayMs, int size, int colour, BITMAP *target);

// Outline one pixel outside (x1, y1)-(x2, y2), fill at 64/255 opacity.
void DrawPanel(BITMAP *target, int x1, int y1, int x2, int y2, int outline, int fill);

// The darkened game frame in backdropBitmap (and on the screen).
void DimBackdrop(bool redraw);

// Clears the screen when there is one.
void ClearScreen();

// The one key latch of every screen, play and the editor. A key acts once
// per press: when none of the set is held the latch clears; otherwise, when
// clear, the caller acts on the held keys and it latches (and the keyboard
// buffer is emptied). A key already held when the latch is made (or armed
// again) was pressed for what came before: it acts only after it has been
// let go and pressed again. `otherHeld` is the state of inputs of the set
// that are not keys (the fire button, the mouse buttons).
class KeyLatch {
public:
    explicit KeyLatch(std::initializer_list<int> keys, bool otherHeld = false);
    // A latch over every key, for the screens that wait for any key.
    static KeyLatch AnyKey();

    // True when the held keys of the set should act now.
    bool Pressed(bool otherHeld = false);
    // For screens that end on a key held at the end of a pass: true while
    // a key of the set is down that was not already down at the start. It
    // neither latches nor empties the keyboard buffer.
    bool Down(bool otherHeld = false);
    // For the screens that end on a key in the keyboard buffer: false, and
    // the buffer emptied of its repeats, while a key held since the start
    // is still down; then whether a key is waiting.
    bool KeyWaiting();
    // Starts the latch over, as if made now (play resuming after a page).
    void Arm(bool otherHeld = false);
    bool latched = false;

private:
    bool Held(bool otherHeld) const;
    int keys_[24];
    int count_ = 0;
    bool anyKey_ = false;
};

#endif

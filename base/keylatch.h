// keylatch.h: the one key latch of every screen, play and the editor.
#ifndef DELVORN_KEYLATCH_H
#define DELVORN_KEYLATCH_H

#include <initializer_list>

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

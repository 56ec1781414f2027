#include "base/keylatch.h"

#include <allegro.h>

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

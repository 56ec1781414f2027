// input.cpp: polling the player's controls once per logic step.
#include "base/input.h"

#include <allegro.h>

InputControl *inputControl = nullptr;

InputControl::InputControl() : joystickEnabled(0), state(0)
{
    static const int table[10] = {KEY_LEFT, KEY_RIGHT,  KEY_UP,     KEY_DOWN,  KEY_LCONTROL,
                                  KEY_ALT,  KEY_LSHIFT, KEY_EQUALS, KEY_MINUS, KEY_ENTER};
    for (int i = 0; i < 10; i++)
        keyTable[i] = table[i];
}

void InputControl::Poll()
{
    state = 0;
    if (joystickEnabled && num_joysticks > 0) {
        poll_joystick();
        const JOYSTICK_INFO &j = joy[0];
        if (j.num_sticks > 0 && j.stick[0].num_axis > 1) {
            if (j.stick[0].axis[1].d1)
                state |= INPUT_UP;
            if (j.stick[0].axis[1].d2)
                state |= INPUT_DOWN;
        }
        if (j.num_sticks > 0 && j.stick[0].num_axis > 0) {
            if (j.stick[0].axis[0].d1)
                state |= INPUT_LEFT;
            if (j.stick[0].axis[0].d2)
                state |= INPUT_RIGHT;
        }
        // Button 1 fires and button 0 is A: the pad's layout, not a slip.
        static const uint32_t buttonBits[6] = {INPUT_BUTTON_A, INPUT_FIRE,     INPUT_BUTTON_B,
                                               INPUT_BUTTON_C, INPUT_BUTTON_D, INPUT_BUTTON_E};
        for (int b = 0; b < 6 && b < j.num_buttons; b++)
            if (j.button[b].b)
                state |= buttonBits[b];
    }

    static const uint32_t keyBits[10] = {INPUT_LEFT,     INPUT_RIGHT,    INPUT_UP,       INPUT_DOWN,
                                         INPUT_FIRE,     INPUT_BUTTON_A, INPUT_BUTTON_B, INPUT_BUTTON_C,
                                         INPUT_BUTTON_D, INPUT_BUTTON_E};
    for (int i = 0; i < 10; i++)
        if (key[keyTable[i]])
            state |= keyBits[i];

    if (mouse_b & 1)
        state |= INPUT_MOUSE_LEFT;
    if (mouse_b & 2)
        state |= INPUT_MOUSE_RIGHT;

    clear_keybuf();
}

PlayInput ReadPlayInput()
{
    PlayInput in;
    inputControl->Poll();
    in.left = inputControl->IsLeft();
    in.right = inputControl->IsRight();
    in.up = inputControl->IsUp();
    in.down = inputControl->IsDown();
    in.fire = key[KEY_SPACE] || inputControl->IsFire();
    in.pause = key[KEY_P];
    in.help = key[KEY_F1];
    in.editor = key[KEY_F2];
    in.screenshot = key[KEY_S];
    in.debugSwitch = key[KEY_X];
    return in;
}

PlayInput PlayInputFromLetters(const std::string &letters)
{
    PlayInput in;
    for (char c : letters) {
        switch (c) {
        case 'L': in.left = true; break;
        case 'R': in.right = true; break;
        case 'U': in.up = true; break;
        case 'D': in.down = true; break;
        case 'F': in.fire = true; break;
        default: break;
        }
    }
    return in;
}

// input.h: keyboard, joystick 0 and mouse buttons folded into one bit mask
// per logic step, for play and the level editor.
#ifndef DELVORN_INPUT_H
#define DELVORN_INPUT_H

#include <cstdint>
#include <string>

enum {
    INPUT_LEFT = 0x001,
    INPUT_RIGHT = 0x002,
    INPUT_UP = 0x004,
    INPUT_DOWN = 0x008,
    INPUT_FIRE = 0x010,
    INPUT_BUTTON_A = 0x020,
    INPUT_BUTTON_B = 0x040,
    INPUT_BUTTON_C = 0x080,
    INPUT_BUTTON_D = 0x100,
    INPUT_BUTTON_E = 0x200,
    INPUT_MOUSE_LEFT = 0x400,
    INPUT_MOUSE_RIGHT = 0x800,
};

class InputControl {
public:
    InputControl();
    void Poll();
    int IsLeft() const { return (state & INPUT_LEFT) ? -1 : 0; }
    int IsRight() const { return (state & INPUT_RIGHT) ? -1 : 0; }
    int IsUp() const { return (state & INPUT_UP) ? -1 : 0; }
    int IsDown() const { return (state & INPUT_DOWN) ? -1 : 0; }
    int IsFire() const { return (state & INPUT_FIRE) ? -1 : 0; }
    int IsMouseLeft() const { return (state & INPUT_MOUSE_LEFT) ? -1 : 0; }
    int IsMouseRight() const { return (state & INPUT_MOUSE_RIGHT) ? -1 : 0; }

    int32_t joystickEnabled;
    int32_t keyTable[10];
    uint32_t state;
};

// Created by Initall, destroyed by DeleteAll.
extern InputControl *inputControl;

// What the player holds during one logic step of play. The loop fills it
// from the controls; the trace tool and the tests from their own scripts.
struct PlayInput {
    bool left = false, right = false, up = false, down = false;
    bool fire = false;         // space, or the fire key or button
    bool pause = false;        // P
    bool help = false;         // F1
    bool editor = false;       // F2
    bool screenshot = false;   // S
    bool debugSwitch = false;  // X
};

// Polls inputControl and reads the play keys.
PlayInput ReadPlayInput();

// One step's keys written as letters: L, R, U, D and F (fire); any other
// character holds nothing.
PlayInput PlayInputFromLetters(const std::string &letters);

#endif

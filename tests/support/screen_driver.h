// screen_driver.h: runs the blocking screens under a window (Xvfb), holding
// keys pass by pass through passHook, and saving screenshots on request.
#ifndef DELVORN_TESTS_SCREEN_DRIVER_H
#define DELVORN_TESTS_SCREEN_DRIVER_H

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "base/frame.h"

// Opens the 800 x 600 window, the keyboard, the shared bitmaps and (when it
// has been built) Data.dat, once. False when there is no display.
bool OpenTestWindow();

// The keys held in each pass; an empty entry holds nothing. After the
// script, nothing is held, and a screen that keeps running is closed
// through closeRequested so that a fault cannot hang the suite.
struct KeyScript {
    std::vector<std::vector<int>> passes;
    // Called at the start of every pass's hook, before the keys are set.
    std::function<void(int pass)> onPass;
};

// Installs the script as passHook; returns the number of passes run once
// the screen has returned.
int RunScreen(const KeyScript &script, const std::function<void()> &screenCall);

// Press a key for one pass, release it for the next: n presses.
void AddPresses(KeyScript &script, int keyCode, int n);
void AddPass(KeyScript &script, std::initializer_list<int> keys);

// Saves the visible screen as <DELVORN_SHOTS>/<name>.pcx when that
// variable is set.
void SaveShot(const char *name);

// A blocking screen run in the window, from the menu's state; skips when
// there is no display.
class ScreenLoops : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!OpenTestWindow())
            GTEST_SKIP() << "no display (DISPLAY unset or no window)";
        gameState = GameState::MENU;
    }
};

#endif

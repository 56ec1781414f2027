// The progress map driven key by key in a real window, and its scrolling
// level line.
#include <gtest/gtest.h>

#include <allegro.h>
#include <string>

#include "gameplay/figures.h"
#include "level/progressmap.h"
#include "tests/support/screen_driver.h"

namespace {

TEST_F(ScreenLoops, ProgressMapWaitsForAFreshKeyAndLeavesItWaiting)
{
    const int levels[] = {1, 9, 10, 20};
    for (int level : levels) {
        currentLevel = level;
        clear_keybuf();
        simulate_keypress(KEY_A << 8 | 'a');  // pressed before: must not skip
        KeyScript script;
        const std::string shot = "progress" + std::to_string(level);
        script.onPass = [shot](int pass) {
            if (pass == 20)
                SaveShot(shot.c_str());
            if (pass == 24)
                simulate_keypress(KEY_B << 8 | 'b');
        };
        int passes = RunScreen(script, [] { ProcessMap(); });
        EXPECT_EQ(passes, 25) << "level " << level;
    }
    currentLevel = 0;
}

// The level line's characters stand apart at their size: "LEVEL" reads as
// five letters and "10" or "20" as two digits.
TEST_F(ScreenLoops, ProgressScrollerCharactersDoNotOverlap)
{
    BITMAP *canvas = create_bitmap(4000, 160);
    for (int level : {1, 9, 10, 20}) {
        SineScroller scroller;
        ASSERT_NE(scroller.font, nullptr);
        const std::string text = ProgressScrollText(level);
        scroller.SetText(text.c_str());
        scroller.SetFontSize(36);
        scroller.SetAmplitude(0.0f);
        scroller.y = 40;
        scroller.visibleChars = (int)text.size();
        scroller.colour = makecol(250, 250, 0);
        // Each character drawn alone where the line puts it: its ink's extent.
        int previousRight = -1;
        for (size_t i = 0; i < text.size(); i++) {
            if (text[i] == ' ')
                continue;
            scroller.text = std::string(text.size(), ' ');
            scroller.text[i] = text[i];
            clear_bitmap(canvas);
            scroller.Draw(canvas);
            int left = -1, right = -1;
            for (int x = 0; x < canvas->w; x++)
                for (int y = 0; y < canvas->h; y++)
                    if (getpixel(canvas, x, y) != 0) {
                        if (left < 0)
                            left = x;
                        right = x;
                        break;
                    }
            ASSERT_GE(left, 0) << "'" << text[i] << "' drew nothing";
            EXPECT_GT(left, previousRight)
                << "level " << level << ": '" << text[i] << "' overlaps the one before";
            previousRight = right;
        }
    }
    destroy_bitmap(canvas);
}

TEST_F(ScreenLoops, ProgressMapKeyIsLeftInTheBuffer)
{
    currentLevel = 5;
    KeyScript script;
    bool waiting = false;
    script.onPass = [](int pass) {
        if (pass == 2)
            simulate_keypress(KEY_C << 8 | 'c');
    };
    RunScreen(script, [&] {
        ProcessMap();
        waiting = keypressed();
    });
    EXPECT_TRUE(waiting);
    currentLevel = 0;
}

}  // namespace

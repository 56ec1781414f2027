// The progress map driven key by key in a real window, and its scrolling
// level line.
#include <gtest/gtest.h>

#include <algorithm>
#include <allegro.h>
#include <string>
#include <utility>
#include <vector>

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
// five letters and "10" or "20" as two digits; yet the letters stay close
// enough to read as one word, not as a letter every few inches.
TEST_F(ScreenLoops, ProgressScrollerCharactersDoNotOverlap)
{
    BITMAP *canvas = create_bitmap(1600, 160);
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
        clear_bitmap(canvas);
        scroller.Draw(canvas);
        // The line's ink, column by column, in runs: one per character when
        // none touches its neighbour.
        std::vector<std::pair<int, int>> runs;
        for (int x = 0; x < canvas->w; x++) {
            bool ink = false;
            for (int y = 0; y < canvas->h && !ink; y++)
                ink = getpixel(canvas, x, y) != 0;
            if (ink && (runs.empty() || runs.back().second != x - 1))
                runs.push_back({x, x});
            else if (ink)
                runs.back().second = x;
        }
        const size_t drawn = text.size() - std::count(text.begin(), text.end(), ' ');
        ASSERT_EQ(runs.size(), drawn) << "level " << level << ": characters run together";
        for (int i = 0; i < 4; i++) {  // L-E, E-V, V-E, E-L
            int width = runs[i].second - runs[i].first + 1;
            int gap = runs[i + 1].first - runs[i].second - 1;
            EXPECT_LT(gap, 2 * width) << "level " << level << ": letters " << i << " and " << i + 1
                                      << " of LEVEL lie " << gap << " pixels apart";
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

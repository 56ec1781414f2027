// text_bench: what the TrueType layer costs per frame: the status bar's five
// anti-aliased strings, and a help page of plain text, on a 16-bit 800x600
// back buffer, with the glyphs already cached as they are after one frame.
#include <benchmark/benchmark.h>

#include "bench/bench_support.h"

#include <cstdio>

#include "platform/alfont/alfont.h"

namespace {

struct Frame {
    BITMAP *buffer = create_bitmap_ex(16, 800, 600);
    ALFONT_FONT *font = alfont_load_font(DELVORN_GAME_DIR "/Fonts/DigitalDream.ttf");
    ~Frame()
    {
        alfont_destroy_font(font);
        destroy_bitmap(buffer);
    }
};

void StatusBar(benchmark::State &state)
{
    Frame f;
    if (!f.font) {
        state.SkipWithError("font missing: build the content first");
        return;
    }
    const int xs[] = {14, 139, 261, 384, 582};
    const char *labels[] = {"LIVES: ", "LEVEL: ", "ITEMS: ", "BOMBS: ", "SCORE: "};
    int values[] = {3, 12, 40, 5, 0};
    char text[32];
    alfont_text_mode(-1);
    for (auto _ : state) {
        alfont_set_font_size(f.font, 14);
        values[4] += 25;
        for (int i = 0; i < 5; i++) {
            snprintf(text, sizeof text, "%s%d", labels[i], values[i]);
            alfont_textout_aa(f.buffer, f.font, text, xs[i], 572, 0);
        }
        benchmark::ClobberMemory();
    }
}

void HelpPage(benchmark::State &state)
{
    Frame f;
    if (!f.font) {
        state.SkipWithError("font missing: build the content first");
        return;
    }
    alfont_text_mode(-1);
    for (auto _ : state) {
        alfont_set_font_size(f.font, 22);
        alfont_textout_centre(f.buffer, f.font, "DELVORN PAUSED", 400, 62, 0xFFFF);
        alfont_set_font_size(f.font, 12);
        for (int y = 140; y <= 440; y += 20)
            alfont_textout(f.buffer, f.font, "TIP: Push $$ bags left and right when clear on both sides.",
                           142, y, 0xFFFF);
        benchmark::ClobberMemory();
    }
}

BENCHMARK(StatusBar)->Unit(benchmark::kMicrosecond);
BENCHMARK(HelpPage)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char **argv)
{
    return BenchMain(argc, argv);
}

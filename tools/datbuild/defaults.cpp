// defaults.cpp: stand-in sounds and tunes, so the builder links and the game
// has something to play before the real ones exist. The content generators
// override these with their own (strong) definitions.
#include <cmath>
#include "tools/datbuild/assets.h"

__attribute__((weak)) Sample MakeSample(int entry)
{
    // A short beep whose pitch tells the entries apart.
    Sample s;
    s.frequency = 22050;
    const double hz = 330.0 + (entry % 24) * 40.0;
    const int n = s.frequency / 8;
    s.frames.resize(n);
    for (int i = 0; i < n; i++) {
        double fade = 1.0 - (double)i / n;
        s.frames[i] = (int16_t)(std::sin(2 * M_PI * hz * i / s.frequency) * 9000 * fade);
    }
    return s;
}

__attribute__((weak)) MidiTune MakeTune(int entry)
{
    // Four notes on a piano, one track, then the end of the track.
    MidiTune t;
    std::vector<uint8_t> tr;
    const int root = 60 + entry % 12;
    const int steps[] = {0, 4, 7, 12};
    for (int s : steps) {
        tr.insert(tr.end(), {0x00, 0x90, (uint8_t)(root + s), 0x60});
        tr.insert(tr.end(), {0x60, 0x80, (uint8_t)(root + s), 0x00});
    }
    tr.insert(tr.end(), {0x00, 0xFF, 0x2F, 0x00});
    t.tracks.push_back(tr);
    return t;
}

// synth.h: a small offline synthesizer for the game's sound effects.
// Sounds are built as float buffers in -1..1 and finished into Samples.
#ifndef DELVORN_SYNTH_H
#define DELVORN_SYNTH_H

#include <vector>

#include "tools/datbuild/assets.h"

enum Wave { WAVE_SQUARE, WAVE_TRIANGLE, WAVE_SAW, WAVE_SINE, WAVE_NOISE };

// One voice: a wave gliding from freq to freqEnd (exponentially), shaped by
// a linear attack and an exponential-ish decay over its duration.
struct Tone {
    Wave wave = WAVE_SQUARE;
    double start = 0;     // seconds
    double length = 0.1;  // seconds
    double freq = 440;    // Hz at the start
    double freqEnd = 0;   // Hz at the end; 0 keeps freq
    double volume = 0.5;
    double attack = 0.005;  // seconds
    double decay = 3.0;     // curve of the fade: 0 flat, larger falls faster
    double duty = 0.5;      // square waves only
    double vibratoHz = 0;
    double vibratoDepth = 0;  // fraction of the frequency
    double lowpass = 0;       // noise only: 0..1 smoothing, larger is duller
};

struct SoundBuffer {
    int rate = 22050;
    std::vector<float> data;
};

void AddTone(SoundBuffer &buf, const Tone &t);
// A run of equal notes (arpeggio): semitone offsets from base, one after another.
void AddArpeggio(SoundBuffer &buf, Tone t, const int *semitones, int count, double step);
// Simple feedback echo, for a little room around jingles.
void AddEcho(SoundBuffer &buf, double delay, double feedback);
// Scales the peak to the given level and converts to 16-bit frames.
Sample FinishSample(const SoundBuffer &buf, double peak = 0.85);

// The note frequency of a MIDI key number (69 = A 440 Hz).
double KeyHz(double key);

#endif

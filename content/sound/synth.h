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
// Loudness (LUFS, EBU R128) of a sound's loudest 400 ms, or of the whole
// sound when it is shorter: how loud a player hears an effect.
double EffectLoudness(const std::vector<float> &data, int rate);

// How loud the effects are made, before the mixer: all alike, so none is
// lost and none startles, and the bomb blast above them all.
const double kEffectLoudness = -9.0;
const double kBlastLoudness = -6.5;

// Brings the sound to the given loudness and converts it to 16-bit frames.
// A sound whose peaks would pass full scale first is driven into a soft
// clip, which keeps its peaks and fills in the rest.
Sample FinishSample(const SoundBuffer &buf, double loudness = kEffectLoudness);

// The note frequency of a MIDI key number (69 = A 440 Hz).
double KeyHz(double key);

#endif

// synth.cpp: oscillators, envelopes and the float-to-sample step.
#include "content/sound/synth.h"

#include <ebur128.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

const double kPi = 3.14159265358979323846;

// Our own noise source, so sounds do not depend on the C library's rand().
uint32_t noiseState = 0x1234567u;
double NextNoise()
{
    noiseState ^= noiseState << 13;
    noiseState ^= noiseState >> 17;
    noiseState ^= noiseState << 5;
    return (noiseState & 0xFFFFFF) / double(0x7FFFFF) - 1.0;
}

double Oscillate(Wave wave, double phase, double duty)
{
    switch (wave) {
    case WAVE_SQUARE: return phase < duty ? 1.0 : -1.0;
    case WAVE_TRIANGLE: return phase < 0.5 ? 4 * phase - 1 : 3 - 4 * phase;
    case WAVE_SAW: return 2 * phase - 1;
    case WAVE_SINE: return std::sin(2 * kPi * phase);
    default: return 0;
    }
}

}  // namespace

double KeyHz(double key)
{
    return 440.0 * std::pow(2.0, (key - 69) / 12.0);
}

void AddTone(SoundBuffer &buf, const Tone &t)
{
    int first = int(t.start * buf.rate);
    int count = int(t.length * buf.rate);
    if (count <= 0)
        return;
    if (size_t(first + count) > buf.data.size())
        buf.data.resize(first + count, 0.0f);
    double endFreq = t.freqEnd > 0 ? t.freqEnd : t.freq;
    double phase = 0, held = 0, smooth = 0;
    int holdLeft = 0;
    // A short fade at the very end keeps every voice free of clicks.
    int tail = std::min(count / 4, int(0.004 * buf.rate));
    for (int i = 0; i < count; i++) {
        double pos = double(i) / count;
        double f = t.freq * std::pow(endFreq / t.freq, pos);
        if (t.vibratoHz > 0)
            f *= 1 + t.vibratoDepth * std::sin(2 * kPi * t.vibratoHz * i / buf.rate);
        double v;
        if (t.wave == WAVE_NOISE) {
            // Sample-and-hold noise: the pitch sets how often it changes.
            if (holdLeft <= 0) {
                held = NextNoise();
                holdLeft = std::max(1, int(buf.rate / std::max(f, 1.0)));
            }
            holdLeft--;
            smooth += (held - smooth) * (1.0 - t.lowpass);
            v = smooth;
        } else {
            phase += f / buf.rate;
            phase -= std::floor(phase);
            v = Oscillate(t.wave, phase, t.duty);
        }
        double env = std::exp(-t.decay * pos);
        double at = t.attack * buf.rate;
        if (at > 0 && i < at)
            env *= i / at;
        if (i > count - tail)
            env *= double(count - i) / tail;
        buf.data[first + i] += float(v * env * t.volume);
    }
}

void AddArpeggio(SoundBuffer &buf, Tone t, const int *semitones, int count, double step)
{
    double base = t.freq, baseEnd = t.freqEnd;
    double start = t.start;
    for (int i = 0; i < count; i++) {
        double k = std::pow(2.0, semitones[i] / 12.0);
        t.freq = base * k;
        t.freqEnd = baseEnd > 0 ? baseEnd * k : 0;
        t.start = start + i * step;
        AddTone(buf, t);
    }
}

void AddEcho(SoundBuffer &buf, double delay, double feedback)
{
    int d = int(delay * buf.rate);
    if (d <= 0)
        return;
    size_t oldSize = buf.data.size();
    buf.data.resize(oldSize + d * 3, 0.0f);
    for (size_t i = d; i < buf.data.size(); i++)
        buf.data[i] += float(buf.data[i - d] * feedback);
    // Fade the grown tail out so the echo does not end in a click.
    size_t fade = std::min<size_t>(d, buf.data.size());
    for (size_t i = 0; i < fade; i++)
        buf.data[buf.data.size() - 1 - i] *= float(i) / fade;
}

double EffectLoudness(const std::vector<float> &data, int rate)
{
    double loudest = -HUGE_VAL;
    if (data.empty() || rate <= 0)
        return loudest;
    ebur128_state *st = ebur128_init(1, unsigned(rate), EBUR128_MODE_M);
    if (!st)
        return loudest;
    const size_t window = std::min(data.size(), size_t(rate * 0.4)), step = std::max(1, rate / 100);
    const unsigned long windowMs = std::max<unsigned long>(1, window * 1000 / rate);
    for (size_t at = 0; at < data.size(); at += step) {
        size_t n = std::min(step, data.size() - at);
        ebur128_add_frames_float(st, &data[at], n);
        double w;
        if (at + n >= window && ebur128_loudness_window(st, windowMs, &w) == EBUR128_SUCCESS)
            loudest = std::max(loudest, w);
    }
    ebur128_destroy(&st);
    return loudest;
}

namespace {

const double kPeak = 0.97;  // under full scale, with room for rounding

// Linear below the knee, then bending smoothly towards 1.
float SoftClip(float v)
{
    const float knee = 0.6f, a = std::fabs(v);
    if (a <= knee)
        return v;
    float bent = knee + (1 - knee) * std::tanh((a - knee) / (1 - knee));
    return v < 0 ? -bent : bent;
}

}  // namespace

Sample FinishSample(const SoundBuffer &buf, double loudness)
{
    Sample s;
    s.bits = 16;
    s.stereo = false;
    s.frequency = buf.rate;
    float top = 0;
    for (float v : buf.data)
        top = std::max(top, std::fabs(v));
    std::vector<float> shaped = buf.data;
    if (top > 0) {
        for (float &v : shaped)
            v /= top;
        // Drive harder, a decibel at a time, until the loudness fits under the peak.
        for (double drive = 1;
             drive < 16 && EffectLoudness(shaped, buf.rate) + 20 * std::log10(kPeak) < loudness;
             drive *= 1.122) {
            for (size_t i = 0; i < shaped.size(); i++)
                shaped[i] = SoftClip(float(buf.data[i] / top * drive));
        }
    }
    double gain = std::pow(10.0, (loudness - EffectLoudness(shaped, buf.rate)) / 20);
    float peak = 0;
    for (float v : shaped)
        peak = std::max(peak, std::fabs(v));
    if (peak > 0)
        gain = std::min(gain, kPeak / peak);
    s.frames.reserve(shaped.size());
    for (float v : shaped) {
        double x = std::clamp(v * gain, -1.0, 1.0);
        s.frames.push_back(int16_t(std::lround(x * 32767)));
    }
    return s;
}

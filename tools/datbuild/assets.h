// assets.h: what the content generators hand to the data file builder.
// Pictures are 0xRRGGBB pixels, row by row; magenta (0xFF00FF) is transparent.
#ifndef DELVORN_ASSETS_H
#define DELVORN_ASSETS_H

#include <cstdint>
#include <string>
#include <vector>

#include "base/data.h"

struct Picture {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
};

struct Sample {
    int bits = 16;  // 8 or 16
    bool stereo = false;
    int frequency = 22050;
    std::vector<int16_t> frames;  // mono (or interleaved stereo) signed 16-bit
};

struct MidiTune {
    int divisions = 96;                        // ticks per quarter note
    std::vector<std::vector<uint8_t>> tracks;  // up to 32 raw MIDI tracks
};

// Content generators (content/art, content/sound, content/music).
Picture MakePicture(int entry);
Sample MakeSample(int entry);
MidiTune MakeTune(int entry);

// Why what was made for an entry disagrees with the entry's kind in the
// table (a picture entry without a picture, an unused entry with a sound,
// and so on); empty when they agree. The builder refuses to write a data
// file on any disagreement.
std::string EntryDisagreement(int entry, const Picture &picture, const Sample &sample, const MidiTune &tune);

#endif

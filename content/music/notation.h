// notation.h: compiles the game's tune text into MIDI tracks.
// The text format is described in content/music/README.md.
#ifndef DELVORN_NOTATION_H
#define DELVORN_NOTATION_H

#include <cstdint>
#include <string>
#include <vector>

#include "tools/datbuild/assets.h"

// What the game asks of a tune besides correct notation. A tune that loops
// under a screen or a level must last long enough not to wear on the
// player, and every tune is played with some dynamics.
struct TuneRules {
    double minLoopSeconds = 0;  // 0: any length (a jingle)
    int minVelocities = 1;      // different note-on velocities in the tune
};

// Compiles one tune. On a mistake in the text, or a tune that breaks the
// rules, returns false and says where.
bool CompileTune(const std::string &text, MidiTune &tune, std::string &error, const TuneRules &rules = {});

// A whole standard MIDI file (format 1) holding the tune, for listening and
// for loading back through Allegro.
std::vector<uint8_t> MidiFileBytes(const MidiTune &tune);

// The tune file of a data file entry ("" when the entry is not a tune).
std::string TuneFileName(int entry);
// Where the tune files live in the source tree.
std::string TuneDirectory();

#endif

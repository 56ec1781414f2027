// demofile.h: demos, a level's play recorded as its input, one record per
// tick, with what a replay needs to start from the same point: the level,
// the map's checksum, the random draws taken before the first tick, the
// generator's fingerprint and the play values the level began with. A demo is a small text file.
#ifndef DELVORN_DEMOFILE_H
#define DELVORN_DEMOFILE_H

#include <cstdint>
#include <string>
#include <vector>

#include "base/input.h"
#include "gameplay/figures.h"

// What one tick of a demo holds: the directions, fire (the bomb) and the
// debug switch, the play keys that change play. The other play keys (pause,
// help, screenshot, editor) act outside play, but while held they keep the
// play keys' latch set, so a demo notes that one was held.
enum {
    DEMO_LEFT = 0x01,
    DEMO_RIGHT = 0x02,
    DEMO_UP = 0x04,
    DEMO_DOWN = 0x08,
    DEMO_FIRE = 0x10,
    DEMO_DEBUG_SWITCH = 0x20,
    DEMO_OTHER_PLAY_KEY = 0x40,
};

struct Demo {
    int level = 0;
    uint32_t mapChecksum = 0;
    long draws = 0;  // random draws before the level's first tick
    uint32_t generator = 0;
    PlayValues values;   // the play values the level started with
    std::string ending;  // how the level was left: exit, lost, left, editor, closed
    std::string final;   // the state line after the last tick, as the game saw it
    std::vector<uint8_t> ticks;
};

// The letters of a tick ("LF"; "-" when nothing is held), and back.
// The letters are the trace tool's: L R U D F; X for the debug switch, K
// for another play key.
std::string DemoTickLetters(uint8_t tick);
uint8_t DemoTickFromLetters(const std::string &letters);

// Written to a temporary file first and then put in place, so that a
// failed write never leaves half a demo. False with a message on failure.
bool WriteDemo(const std::string &path, const Demo &demo, std::string *error);
// False with a message when the file is missing or not a demo.
bool ReadDemo(const std::string &path, Demo *demo, std::string *error);

// Checksum of a map file's bytes, so that a demo is never replayed on
// another level's ground; 0 when the file cannot be read.
uint32_t MapFileChecksum(const std::string &path);

// A logic step's input as a demo keeps it, and back.
uint8_t DemoTickOf(const PlayInput &input);
PlayInput DemoTickInput(uint8_t tick);

// The state of play after a tick, in one line (the trace tool's): the
// hero, counters, dug and gold cells, the game state's name ("RUN", "MAP"),
// every enemy and every bag still there. A replay ends on the line its
// recording ended on.
std::string PlayStateLine(long tick);

// The fingerprint of this platform's random generator.
uint32_t GeneratorFingerprint();

#endif

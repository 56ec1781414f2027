// demofile.h: demos, a level's play recorded as its input, one record per
// tick, with what a replay needs to start from the same point: the level,
// the map's checksum, the random draws taken before the first tick, the
// generator's fingerprint and the play values the level began with. A demo is a small text file.
#ifndef DELVORN_DEMOFILE_H
#define DELVORN_DEMOFILE_H

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "base/input.h"
#include "gameplay/figures.h"
#include "gameplay/particles.h"

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
    std::string ending;  // how the level was left: exit, lost, left, closed ("editor": an older
                         // recorder's, which stopped at the editor)
    std::string final;   // the state line after the last tick, as the game saw it
    std::vector<uint8_t> ticks;
};

// What a demo can hold, so that a reader bounds its input before parsing
// it. The longest line is the final state's, at most some 1,200 characters
// with fifty bags on the map. Ten million ticks are nearly six days of one
// level at the default twenty steps a second (the recorder drops a longer
// level's demo). The draws before a level's first tick are all the run's
// before it. A logic step takes at most a few hundred (a burst of 36
// particles up to 108, fifty wobbling bags 100); the shipped solutions
// take 0.77 a step on average and at most 76 in one. A hundred million
// draws are thus some two months of play at that average, and still over
// four hours if every step took the most; skipping them takes 0.7 s,
// where the billion a damaged header may claim took 6 s and more.
const size_t DEMO_MAX_LINE = 4096;
const unsigned long long DEMO_MAX_TICKS = 10000000ull;
const unsigned long long DEMO_MAX_DRAWS = 100000000ull;
// The header's lines, then the ticks' (at most "LRUDFXK" and "\r\n").
const size_t DEMO_MAX_FILE_BYTES = 16 * DEMO_MAX_LINE + DEMO_MAX_TICKS * 9;

// The random draws a level start takes: the star burst that opens it, one
// draw per particle.
const long LEVEL_START_DRAWS = PARTICLE_COUNT;
// The draws taken when the first game of a run begins level 1 straight from
// the menu: the same burst at start-up, then the level's. The game's own
// recording of that level starts there (tests/e2e and tests/shell measure
// it on the real way from the menu); a later game of the run starts later.
const long NEW_GAME_FIRST_LEVEL_DRAWS = 2 * LEVEL_START_DRAWS;

// What in a demo's header no new game could start `level` with, one line
// each; empty when a new game could. A shipped solution proves its level
// from a new game's values whichever level it is: score 0, three lives, one
// bomb and none out, the spared lives and the key latch off. Level 1 starts
// at NEW_GAME_FIRST_LEVEL_DRAWS; a later level no sooner than every level
// start before it has drawn.
std::vector<std::string> NewGameHeaderProblems(const Demo &demo, int level);

// The letters of a tick ("LF"; "-" when nothing is held), and back.
// The letters are the trace tool's: L R U D F; X for the debug switch, K
// for another play key.
std::string DemoTickLetters(uint8_t tick);
uint8_t DemoTickFromLetters(const std::string &letters);

// Written to a temporary file first and then put in place, so that a
// failed write never leaves half a demo. False with a message on failure,
// and for a demo past the bounds above.
bool WriteDemo(const std::string &path, const Demo &demo, std::string *error);
// A demo's lines (or a trace tool's input), read whole into memory within
// the bounds above before any of it is parsed: an endless or huge input (a
// device, a damaged file) is refused at once. A line may end in "\r\n" as
// well as "\n", so a copy with Windows line ends reads the same.
bool ReadDemoLines(const std::string &path, std::vector<std::string> *lines, std::string *error);
// False with a message when the file is missing or not a demo, or is past
// the bounds above. Lines may end in "\r\n".
bool ReadDemo(const std::string &path, Demo *demo, std::string *error);

// The name the recorder gives a level's dated copy:
// "Zub12-20240131-235959.dem" (the local date and time).
std::string RecordedDemoName(int level, std::time_t when);
// True only for a name of exactly that form, and its ".tmp" when
// `temporary`: anything else in the folder is the player's own.
bool IsRecordedDemoName(const std::string &name, bool temporary = false);
// Keeps the `keep` most recent dated copies in `folder` (by the date and
// time in their names) and removes the older ones, and the temporaries of
// dated copies a killed save left. Touches no other file. Run with the
// saves' lock held.
void KeepRecentDemos(const std::string &folder, size_t keep);

// Checksum of a map file's bytes, so that a demo is never replayed on
// another level's ground; 0 when the file cannot be read.
uint32_t MapFileChecksum(const std::string &path);

// A logic step's input as a demo keeps it, and back.
uint8_t DemoTickOf(const PlayInput &input);
PlayInput DemoTickInput(uint8_t tick);

// The state of play after a tick, in one line (the trace tool's): the
// hero, counters, dug and gold cells, the state of play ("RUN", "MAP"),
// every enemy and every bag still there. A page over play (pause, help,
// the editor) halts it but is the game's, not play's: play is still "RUN"
// under it, as in a replay, which opens no page. A replay ends on the line
// its recording ended on.
std::string PlayStateLine(long tick);

// The fingerprint of this platform's random generator.
uint32_t GeneratorFingerprint();

#endif

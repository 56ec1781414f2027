// Every tune entry compiles from its text into MIDI that Allegro loads and
// that loops cleanly, plays its melodies on instruments and its drums on drum
// patches of the shipped set, and is a tune of its own; the tune compiler
// explains mistakes in the text.
#include <gtest/gtest.h>

#include <allegro.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "content/music/notation.h"
#include "tests/content_audio/content_support.h"

namespace {

const int kPercussion = 9;  // General MIDI channel 10

struct TrackInfo {
    int ticks = 0;  // where the end-of-track event sits
    bool ended = false;
    std::vector<int> keys;        // note-on keys in order
    std::vector<int> velocities;  // of those notes
    std::set<int> drumKeys;       // note-on keys on the percussion channel
    std::set<int> programs;
    std::set<int> channels;
    int tempo = 0;  // microseconds per quarter, 0 when none
};

// Reads the events of one track as the compiler writes them (no running status).
TrackInfo Inspect(const std::vector<uint8_t> &d)
{
    TrackInfo t;
    size_t i = 0;
    while (i < d.size() && !t.ended) {
        t.ticks += VarLen(d, i);
        uint8_t status = d[i++];
        if (status == 0xFF) {
            uint8_t type = d[i++];
            uint32_t len = VarLen(d, i);
            if (type == 0x2F)
                t.ended = i + len == d.size();
            if (type == 0x51 && len == 3)
                t.tempo = (d[i] << 16) | (d[i + 1] << 8) | d[i + 2];
            i += len;
            continue;
        }
        int kind = status & 0xF0, channel = status & 0x0F;
        t.channels.insert(channel);
        if (kind == 0xC0) {
            t.programs.insert(d[i++]);
        } else {
            if (kind == 0x90 && d[i + 1] > 0) {
                t.keys.push_back(d[i]);
                t.velocities.push_back(d[i + 1]);
                if (channel == kPercussion)
                    t.drumKeys.insert(d[i]);
            }
            i += 2;
        }
    }
    return t;
}

// The patch file of every synthesizer slot, read from the shipped instrument
// list (Patches.cfg) the way Allegro's synthesizer reads it: slots 0-127 are
// melodic programs, 128 + key the percussion channel's drums. A line counts
// only when its first word is a number; "N begin_multipatch" moves the
// numbering so that the lines after it land on 128 + key.
std::map<int, std::string> PatchSlots()
{
    std::map<int, std::string> slots;
    std::ifstream cfg(std::string(DELVORN_SOURCE_DIR) + "/content/sound/Patches.cfg");
    std::string line;
    int offset = -1;  // melodic programs are listed from 1
    while (std::getline(cfg, line)) {
        std::istringstream words(line);
        std::string first, second;
        if (!(words >> first >> second) || first.find_first_not_of("-0123456789") != std::string::npos)
            continue;
        if (second == "begin_multipatch")
            offset = std::stoi(first) - 1;
        else
            slots[std::stoi(first) + offset] = second;
    }
    return slots;
}

std::string CompileError(const std::string &text)
{
    MidiTune tune;
    std::string error;
    EXPECT_FALSE(CompileTune(text, tune, error)) << text;
    return error;
}

}  // namespace

TEST(Tunes, EveryTuneEntryIsLoopableMidiThatAllegroLoads)
{
    std::vector<int> entries = EntriesOf(ENTRY_MIDI);
    EXPECT_EQ(entries.size(), 17u);
    for (int e : entries) {
        MidiTune tune = MakeTune(e);
        ASSERT_GE(tune.tracks.size(), 2u) << "entry " << e;
        ASSERT_LE(tune.tracks.size(), 32u) << e;
        int length = -1, notes = 0;
        for (const std::vector<uint8_t> &track : tune.tracks) {
            TrackInfo info = Inspect(track);
            EXPECT_TRUE(info.ended) << "entry " << e << ": a track does not end cleanly";
            if (length < 0)
                length = info.ticks;
            // Every track stops on the same tick, so the loop restarts in time.
            EXPECT_EQ(info.ticks, length) << "entry " << e;
            notes += int(info.keys.size());
        }
        EXPECT_GE(length, 4 * tune.divisions * 4) << "entry " << e << " is too short to loop";
        EXPECT_GT(notes, 30) << "entry " << e;

        std::vector<uint8_t> file = MidiFileBytes(tune);
        char path[] = "/tmp/delvorn-tuneXXXXXX";
        int fd = mkstemp(path);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(write(fd, file.data(), file.size()), ssize_t(file.size()));
        close(fd);
        MIDI *midi = load_midi(path);
        std::remove(path);
        ASSERT_NE(midi, nullptr) << "entry " << e;
        EXPECT_EQ(midi->divisions, tune.divisions);
        size_t loaded = 0;
        while (loaded < MIDI_TRACKS && midi->track[loaded].data)
            loaded++;
        EXPECT_EQ(loaded, tune.tracks.size()) << "entry " << e;
        destroy_midi(midi);
    }
    for (int e : {0, 76, 215, 303})
        EXPECT_TRUE(MakeTune(e).tracks.empty()) << e;
}

TEST(Tunes, PlayInstrumentsOnInstrumentPatchesAndDrumsOnDrumPatches)
{
    std::map<int, std::string> slots = PatchSlots();
    auto patchOf = [&slots](int slot) { return slots.count(slot) ? slots[slot] : "nothing"; };
    ASSERT_GT(slots.size(), 60u);
    // The synthesizer shares a patch file listed for two drum keys; a tune
    // striking both would hear one of them octaves off.
    std::map<std::string, int> drumFiles;
    for (const auto &[slot, file] : slots)
        if (slot >= 128 && !drumFiles.emplace(file, slot - 128).second)
            ADD_FAILURE() << file << " serves drum keys " << drumFiles[file] << " and " << slot - 128;
    for (int e : EntriesOf(ENTRY_MIDI)) {
        std::set<int> drumKeys;
        for (const std::vector<uint8_t> &track : MakeTune(e).tracks) {
            TrackInfo info = Inspect(track);
            for (int p : info.programs)
                EXPECT_NE(patchOf(p).find("/Tone_"), std::string::npos)
                    << "entry " << e << ": program " << p << " plays " << patchOf(p);
            // The percussion channel ignores programs; a melody there would be drums.
            if (info.channels.count(kPercussion)) {
                EXPECT_EQ(info.channels.size(), 1u) << "entry " << e;
                EXPECT_TRUE(info.programs.empty()) << "entry " << e;
            }
            drumKeys.insert(info.drumKeys.begin(), info.drumKeys.end());
        }
        for (int key : drumKeys)
            EXPECT_NE(patchOf(128 + key).find("/Drum_"), std::string::npos)
                << "entry " << e << ": drum key " << key << " plays " << patchOf(128 + key);
    }
}

TEST(Tunes, EachTuneIsItsOwn)
{
    std::map<std::vector<int>, int> melodies;
    std::set<int> levelTempos, levelLeads;
    for (int e : EntriesOf(ENTRY_MIDI)) {
        MidiTune tune = MakeTune(e);
        TrackInfo conductor = Inspect(tune.tracks[0]);
        TrackInfo lead = Inspect(tune.tracks[1]);
        EXPECT_GT(conductor.tempo, 0) << e;
        EXPECT_EQ(melodies.count(lead.keys), 0u)
            << "entries " << e << " and " << melodies[lead.keys] << " share a melody";
        melodies[lead.keys] = e;
        if (e >= 223 && e <= 232) {
            levelTempos.insert(conductor.tempo);
            levelLeads.insert(*lead.programs.begin());
        }
    }
    // The ten level tunes differ in pace and in lead instrument.
    EXPECT_GE(levelTempos.size(), 8u);
    EXPECT_GE(levelLeads.size(), 8u);
}

TEST(Notation, CompilesNotesToTheirKeysAndTimes)
{
    MidiTune tune;
    std::string error;
    ASSERT_TRUE(CompileTune("tempo 100\ntrack A program 80\n o4 l4 q4 v90 | c ^e- _[g>c] (r8 v-20 a+8)1 |\n",
                            tune, error))
        << error;
    ASSERT_EQ(tune.tracks.size(), 2u);
    TrackInfo conductor = Inspect(tune.tracks[0]);
    EXPECT_EQ(conductor.tempo, 600000);
    TrackInfo a = Inspect(tune.tracks[1]);
    EXPECT_EQ(a.keys, (std::vector<int>{60, 63, 67, 72, 70}));
    // An accent and a softened chord hold for one note or chord; v-20 steps down.
    EXPECT_EQ(a.velocities, (std::vector<int>{90, 114, 45, 45, 70}));
    EXPECT_EQ(a.ticks, 4 * 96);
    EXPECT_EQ(a.programs, std::set<int>{80});

    // Drum letters strike their keys on the percussion channel;
    // melodic tracks take the channels around it.
    std::string melodies;
    for (char name = 'A'; name < 'K'; name++)
        melodies += std::string("track ") + name + " program 1\n l4 | c c c c |\n";
    ASSERT_TRUE(CompileTune(melodies + "drums D\n l4 | k s h [oc] |\n", tune, error)) << error;
    ASSERT_EQ(tune.tracks.size(), 12u);
    EXPECT_EQ(Inspect(tune.tracks[10]).channels, std::set<int>{10});
    TrackInfo drums = Inspect(tune.tracks[11]);
    EXPECT_EQ(drums.keys, (std::vector<int>{60, 38, 42, 46, 49}));
    EXPECT_EQ(drums.channels, std::set<int>{kPercussion});
    EXPECT_TRUE(drums.programs.empty());
}

TEST(Notation, ExplainsMistakes)
{
    EXPECT_NE(CompileError("track A\n l4 | c d e |\n").find("bar"), std::string::npos);
    EXPECT_NE(CompileError("track A\n l4 | c d e f |\ntrack B\n l4 | c d e f | g1 |\n").find("track A"),
              std::string::npos);
    EXPECT_NE(CompileError("drums D\n l4 | k s x k |\n").find("unknown drum"), std::string::npos);
    EXPECT_NE(CompileError("drums D\n l1 | k |\ndrums E\n l1 | s |\n").find("drums"), std::string::npos);
    EXPECT_NE(CompileError("track A\n c7 c c c c c c |\n").find("length"), std::string::npos);
    EXPECT_NE(CompileError("track A\n (c d e f\n").find(")"), std::string::npos);
    EXPECT_NE(CompileError("track A program 300\n c1\n").find("program"), std::string::npos);
    EXPECT_NE(CompileError("c d e f\n").find("first track"), std::string::npos);
    EXPECT_NE(CompileError("track A\n o9 b+ |\n").find("range"), std::string::npos);
    EXPECT_NE(CompileError("track A\n v200 c1 |\n").find("velocity"), std::string::npos);

    // The game's rules: a looping tune lasts a minute, and every tune has
    // dynamics. 30 bars at 120 are 60 s; 29 fall short.
    MidiTune tune;
    std::string error;
    const TuneRules rules = {60, 4};
    const std::string dynamic = "track A\n l4 (| v60 c v+10 c ^c _c |)";
    EXPECT_TRUE(CompileTune(dynamic + "30\n", tune, error, rules)) << error;
    EXPECT_FALSE(CompileTune(dynamic + "29\n", tune, error, rules));
    EXPECT_NE(error.find("58.0 s"), std::string::npos) << error;
    EXPECT_FALSE(CompileTune("track A\n l4 (| v60 c v+10 c ^c c |)30\n", tune, error, rules));
    EXPECT_NE(error.find("3 different velocities"), std::string::npos) << error;
}

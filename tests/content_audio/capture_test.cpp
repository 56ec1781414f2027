// What a player hears: tunes and effects played through the library's own
// synthesizer and mixer, with the game's instrument list and volumes, into
// ALSA's file plugin (no sound card needed), then looked at: the drums
// sound, every tune's lead and bass sound at their pitch, and the mix holds
// together: tunes as loud as one another, effects above the music and the
// bomb blast on top, play at a comfortable level without clipping. Set
// DELVORN_CAPTURE_DIR to keep the captures, DELVORN_CAPTURE_SECONDS to
// capture more of each tune.
#include <gtest/gtest.h>  // before Xlib, whose macros (None, Bool) clash with it

#include <X11/Xlib.h>
#include <allegro.h>
#include <ebur128.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "content/music/notation.h"
#include "tests/content_audio/content_support.h"

namespace {

const int kRate = 44100;
const int kPercussion = 9;

// Mono samples, -1..1, as the file plugin wrote them, and the stereo frames
// (interleaved) that loudness is measured on.
struct Sound : std::vector<float> {
    std::vector<float> stereo;
};

Sound ReadWav(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    Sound mono;
    // The plugin writes S16_LE stereo; find the data chunk after the header.
    for (size_t at = 12; at + 8 <= bytes.size();) {
        uint32_t size;
        std::memcpy(&size, &bytes[at + 4], 4);
        if (std::string(&bytes[at], 4) == "data") {
            size = std::min<size_t>(size, bytes.size() - at - 8);
            const char *p = &bytes[at + 8];
            for (size_t i = 0; i + 4 <= size; i += 4) {
                int16_t l, r;
                std::memcpy(&l, p + i, 2);
                std::memcpy(&r, p + i + 2, 2);
                mono.push_back((l + r) / 65536.0f);
                mono.stereo.insert(mono.stereo.end(), {l / 32768.0f, r / 32768.0f});
            }
            break;
        }
        at += 8 + size;
    }
    return mono;
}

struct Playing {
    std::string name;            // names the capture file
    bool clocked;                // music: keep the capture in step with the clock
    std::function<void()> play;  // runs with the game's sound set up
    double seconds = 0;          // how long it plays, roughly
};

bool CaptureUsable(std::string &why)
{
    if (!std::getenv("DISPLAY"))
        why = "needs DISPLAY for the library's system driver";
    else if (access("/usr/share/midi/freepats", R_OK) != 0)
        why = "the freepats instrument set is not installed";
    return why.empty();
}

// Runs one playing in a child process of its own (the library keeps one
// sound set-up per process, and children run side by side to save time), with
// ALSA's default device pointed at a WAV file. The child sets sound up as the
// game does: the game's configuration, both drivers autodetected, the
// configured volumes.
pid_t StartCapture(const Playing &p, const std::string &dir)
{
    std::string conf = dir + "/" + p.name + ".conf", wav = dir + "/" + p.name + ".wav";
    std::ofstream(conf) << "pcm.!default { type plug; slave { pcm { type file; file \"" << wav
                        << "\"; format \"wav\"; slave.pcm { type null } }; format S16_LE; "
                           "rate 44100; channels 2 } }\n";
    pid_t pid = fork();
    if (pid != 0)
        return pid;
    alarm(30 + unsigned(p.seconds));  // a child that hangs ends and fails its capture
    setenv("ALSA_CONFIG_PATH", conf.c_str(), 1);
    if (chdir(DELVORN_GAME_DIR) != 0)
        _exit(2);
    if (allegro_init() != 0) {
        std::fprintf(stderr, "%s: allegro_init: %s\n", p.name.c_str(), allegro_error);
        _exit(2);
    }
    set_config_file("Config/Delvorn.ini");
    int soundVolume = get_config_int("Sound", "SoundVolume", 200);
    int midiVolume = get_config_int("Sound", "MidiVolume", 200);
    // The null device takes data at once; small fragments pace it by the clock.
    static const char paced[] = "[sound]\nalsa_fragsize = 441\n";
    if (p.clocked)
        override_config_data(paced, sizeof paced - 1);
    install_timer();
    if (install_sound(DIGI_AUTODETECT, MIDI_AUTODETECT, nullptr) != 0 || !midi_driver ||
        midi_driver->id != MIDI_DIGMID) {
        std::fprintf(stderr, "%s: no software synthesizer: %s\n", p.name.c_str(), allegro_error);
        _exit(3);
    }
    set_volume(soundVolume, midiVolume);
    p.play();
    remove_sound();
    _exit(0);
}

// Plays every playing, a few at a time, and returns the captures by name.
std::map<std::string, Sound> CaptureAll(const std::vector<Playing> &playings)
{
    std::string dir;
    if (const char *keep = std::getenv("DELVORN_CAPTURE_DIR")) {
        dir = keep;
        mkdir(dir.c_str(), 0755);
    } else {
        char tmp[] = "/tmp/delvorn-captureXXXXXX";
        dir = mkdtemp(tmp) ? tmp : "/tmp";
    }
    // An X server resets when its last client leaves and refuses
    // connections meanwhile; children come and go, so one connection stays
    // open here until the last of them has ended.
    Display *display = XOpenDisplay(nullptr);
    std::map<std::string, Sound> sounds;
    std::map<pid_t, std::string> running;
    size_t next = 0;
    while (next < playings.size() || !running.empty()) {
        if (next < playings.size() && running.size() < 3) {
            running[StartCapture(playings[next], dir)] = playings[next].name;
            next++;
            continue;
        }
        int status = 0;
        pid_t done = wait(&status);
        if (done < 0)
            break;
        std::string name = running[done];
        running.erase(done);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
            << name << " did not play: status " << status;
        sounds[name] = ReadWav(dir + "/" + name + ".wav");
        if (!std::getenv("DELVORN_CAPTURE_DIR")) {
            std::remove((dir + "/" + name + ".wav").c_str());
            std::remove((dir + "/" + name + ".conf").c_str());
        }
    }
    if (display)
        XCloseDisplay(display);
    if (!std::getenv("DELVORN_CAPTURE_DIR"))
        rmdir(dir.c_str());
    return sounds;
}

// A game sample as the library holds it.
SAMPLE *LoadSample(const Sample &made)
{
    SAMPLE *s = create_sample(16, 0, made.frequency, int(made.frames.size()));
    for (size_t i = 0; i < made.frames.size(); i++)
        ((uint16_t *)s->data)[i] = uint16_t(made.frames[i]) ^ 0x8000;
    return s;
}

// A sound effect at a moment of a playing, in seconds from its start.
struct Cue {
    double at;
    Sample sample;
};

// Plays a compiled tune, looping, for a while from its start, with effects
// at their moments over it, as play does.
std::function<void()> PlayTune(const MidiTune &tune, double seconds, std::vector<Cue> cues = {})
{
    std::vector<uint8_t> bytes = MidiFileBytes(tune);
    return [bytes, seconds, cues]() {
        char path[] = "/tmp/delvorn-tuneXXXXXX";
        int fd = mkstemp(path);
        if (fd < 0 || write(fd, bytes.data(), bytes.size()) != ssize_t(bytes.size()))
            _exit(4);
        close(fd);
        MIDI *midi = load_midi(path);
        std::remove(path);
        if (!midi)
            _exit(4);
        std::vector<SAMPLE *> samples;
        for (const Cue &c : cues)
            samples.push_back(LoadSample(c.sample));
        if (play_midi(midi, TRUE) != 0)
            _exit(5);
        double now = 0;
        int volume = get_config_int("Sound", "SoundVolume", 200);
        for (size_t i = 0; i < cues.size() && cues[i].at < seconds; i++) {
            rest(int((cues[i].at - now) * 1000));
            now = cues[i].at;
            play_sample(samples[i], volume, 128, 1000, 0);
        }
        rest(int((seconds - now) * 1000));
        stop_midi();
        destroy_midi(midi);
    };
}

// Plays a sample and returns once the mixer has gone past its end.
void PlayThrough(SAMPLE *s, int volume)
{
    int voice = play_sample(s, volume, 128, 1000, 0);
    while (voice >= 0 && voice_check(voice) == s)
        rest(5);
}

// First sample louder than the floor: where playing began.
size_t Onset(const Sound &s)
{
    for (size_t i = 0; i < s.size(); i++)
        if (std::fabs(s[i]) > 0.003f)
            return i;
    return s.size();
}

double Db(double power)
{
    return 10 * std::log10(std::max(power, 1e-20));
}

// Mean power over 50 ms windows from `from` on, in dB full scale.
std::vector<double> WindowLevels(const Sound &s, size_t from)
{
    std::vector<double> levels;
    const size_t w = kRate / 20;
    for (size_t at = from; at + w <= s.size(); at += w) {
        double sum = 0;
        for (size_t i = at; i < at + w; i++)
            sum += double(s[i]) * s[i];
        levels.push_back(Db(sum / w) + 3.01);  // a full-scale sine reads 0 dB
    }
    return levels;
}

// Power of a windowed stretch at one frequency (Goertzel).
double PowerAt(const std::vector<double> &x, double hz)
{
    double c = 2 * std::cos(2 * M_PI * hz / kRate), s1 = 0, s2 = 0;
    for (double v : x) {
        double s0 = v + c * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    return (s1 * s1 + s2 * s2 - c * s1 * s2) / (double(x.size()) * x.size());
}

// How far (dB) the strongest component within a semitone of `hz` stands
// above the median level of the octaves around it, over a stretch.
double Prominence(const Sound &s, size_t from, size_t to, double hz)
{
    std::vector<double> x(to - from);
    for (size_t i = 0; i < x.size(); i++)
        x[i] = s[from + i] * (0.5 - 0.5 * std::cos(2 * M_PI * i / x.size()));
    std::vector<double> levels;
    double near = 0;
    for (int q = -48; q <= 48; q++) {  // quarter semitones, an octave either way
        double p = PowerAt(x, hz * std::pow(2.0, q / 48.0));
        levels.push_back(p);
        if (std::abs(q) <= 4)
            near = std::max(near, p);
    }
    std::nth_element(levels.begin(), levels.begin() + levels.size() / 2, levels.end());
    return Db(near) - Db(levels[levels.size() / 2]);
}

struct Note {
    int key;
    double start, end;  // seconds from the tune's first note
};

// The notes of one MIDI track, timed at the tune's tempo.
std::vector<Note> NotesOf(const std::vector<uint8_t> &d, int divisions, double secondsPerQuarter)
{
    std::vector<Note> notes;
    int tick = 0;
    for (size_t i = 0; i < d.size();) {
        tick += VarLen(d, i);
        uint8_t status = d[i++];
        if (status == 0xFF) {
            i++;
            uint32_t len = VarLen(d, i);
            i += len;
            continue;
        }
        int kind = status & 0xF0;
        double at = tick * secondsPerQuarter / divisions;
        if ((status & 0x0F) == kPercussion)
            return {};
        if (kind == 0x90 && d[i + 1] > 0)
            notes.push_back({d[i], at, at});
        else if (kind == 0x80 || kind == 0x90)
            for (Note &n : notes)
                if (n.key == d[i] && n.end == n.start)
                    n.end = at;
        i += kind == 0xC0 ? 1 : 2;
    }
    return notes;
}

double KeyHz(int key)
{
    return 440.0 * std::pow(2.0, (key - 69) / 12.0);
}

// Long enough for a tune's loudness; the lead and bass are heard in the first seconds.
double TuneSeconds()
{
    const char *asked = std::getenv("DELVORN_CAPTURE_SECONDS");
    return asked && std::atof(asked) > 0 ? std::atof(asked) : 10.0;
}

std::string TuneName(int entry)
{
    return "tune" + std::to_string(entry);
}

// Every tune's first seconds, captured once per test program.
const std::map<std::string, Sound> &TuneCaptures()
{
    static std::map<std::string, Sound> sounds;
    if (sounds.empty()) {
        std::vector<Playing> playings;
        for (int e : EntriesOf(ENTRY_MIDI))
            playings.push_back({TuneName(e), true, PlayTune(MakeTune(e), TuneSeconds()), TuneSeconds()});
        sounds = CaptureAll(playings);
    }
    return sounds;
}

// The notes of a track that begin first, lowest first within a chord.
std::vector<Note> FirstNotes(std::vector<Note> notes, size_t count)
{
    std::stable_sort(notes.begin(), notes.end(), [](const Note &a, const Note &b) {
        return a.start != b.start ? a.start < b.start : a.key < b.key;
    });
    std::vector<Note> first;
    for (size_t i = 0; i < notes.size() && first.size() < count; i++) {
        if (!first.empty() && first.back().start == notes[i].start)
            continue;  // one note of each chord, the lowest
        Note n = notes[i];
        // The note rings until the next one starts.
        for (size_t k = i + 1; k < notes.size(); k++)
            if (notes[k].start > n.start) {
                n.end = std::max(n.end, notes[k].start);
                break;
            }
        first.push_back(n);
    }
    return first;
}

// EBU R128 loudness of a capture from `from` on: the integrated loudness,
// that of its loudest `window` seconds (at most 0.4), and the sample peak.
struct Loudness {
    double integrated = -HUGE_VAL, loudestWindow = -HUGE_VAL, peakDb = -HUGE_VAL;
};

Loudness Measure(const Sound &s, size_t from, double window)
{
    Loudness l;
    ebur128_state *st = ebur128_init(2, kRate, EBUR128_MODE_I | EBUR128_MODE_SAMPLE_PEAK);
    const size_t frames = s.stereo.size() / 2, step = kRate / 100;
    for (size_t at = from; at < frames; at += step) {
        size_t n = std::min(step, frames - at);
        ebur128_add_frames_float(st, &s.stereo[2 * at], n);
        double w;
        if (at + n - from >= window * kRate &&
            ebur128_loudness_window(st, (unsigned long)(window * 1000), &w) == EBUR128_SUCCESS)
            l.loudestWindow = std::max(l.loudestWindow, w);
    }
    ebur128_loudness_global(st, &l.integrated);
    double peak = 0;
    for (unsigned ch = 0; ch < 2; ch++) {
        double p = 0;
        ebur128_sample_peak(st, ch, &p);
        peak = std::max(peak, p);
    }
    l.peakDb = 20 * std::log10(std::max(peak, 1e-10));
    ebur128_destroy(&st);
    return l;
}

}  // namespace

TEST(WhatAPlayerHears, DrumsSoundOnThePercussionChannel)
{
    std::string why;
    if (!CaptureUsable(why))
        GTEST_SKIP() << why;
    // Kick, snare, hat and snare on channel 10 alone, a quarter note apart.
    MidiTune drums;
    drums.divisions = 96;
    std::vector<uint8_t> track;
    for (uint8_t key : {60, 38, 42, 38})
        track.insert(track.end(), {0x00, 0x99, key, 110, 0x60, 0x89, key, 0x00});
    track.insert(track.end(), {0x00, 0xFF, 0x2F, 0x00});
    drums.tracks.push_back(track);
    Sound s = CaptureAll({{"drums", true, PlayTune(drums, 2.2)}})["drums"];
    size_t onset = Onset(s);
    ASSERT_LT(onset, size_t(kRate)) << "the percussion channel is silent";
    // Every beat of the bar is heard.
    std::vector<double> levels = WindowLevels(s, onset);
    for (int beat = 0; beat < 4; beat++) {
        size_t first = size_t(beat * 10), last = std::min(first + 10, levels.size());
        ASSERT_LT(first, last) << "the capture ends before beat " << beat + 1;
        EXPECT_GT(*std::max_element(levels.begin() + first, levels.begin() + last), -45.0)
            << "beat " << beat + 1;
    }
}

TEST(WhatAPlayerHears, EveryTuneSoundsItsLeadAndBassAtTheirPitch)
{
    std::string why;
    if (!CaptureUsable(why))
        GTEST_SKIP() << why;
    const std::map<std::string, Sound> &captures = TuneCaptures();
    for (int e : EntriesOf(ENTRY_MIDI)) {
        MidiTune tune = MakeTune(e);
        const std::vector<uint8_t> &conductor = tune.tracks[0];  // the tempo comes first
        double secondsPerQuarter = ((conductor[4] << 16) | (conductor[5] << 8) | conductor[6]) / 1e6;
        std::vector<std::vector<Note>> melodic;
        double first = 1e9;
        for (size_t t = 1; t < tune.tracks.size(); t++) {
            std::vector<Note> notes = NotesOf(tune.tracks[t], tune.divisions, secondsPerQuarter);
            if (notes.empty())
                continue;
            melodic.push_back(FirstNotes(notes, 64));
            first = std::min(first, notes[0].start);
        }
        ASSERT_GE(melodic.size(), 2u) << "entry " << e;
        // The lead is the first track; the bass the track that starts lowest.
        size_t bass = 1;
        for (size_t t = 2; t < melodic.size(); t++)
            if (melodic[t][0].key < melodic[bass][0].key)
                bass = t;
        const Sound &s = captures.at(TuneName(e));
        size_t onset = Onset(s);
        ASSERT_LT(onset, size_t(kRate)) << "entry " << e << " is silent";
        // On a busy machine the capture loses some time against the clock the
        // tune plays by; note times are scaled to the capture's length.
        double scale = std::min(1.0, double(s.size() - onset) / (TuneSeconds() * kRate));
        // Most of the first notes of the lead and the bass stand out at their
        // fundamental while they play (give or take the capture's timing).
        for (size_t t : {size_t(0), bass}) {
            std::vector<double> prominence;
            std::string heard;
            for (const Note &n : melodic[t]) {
                if (prominence.size() == 4)
                    break;
                double start = (n.start - first) * scale;
                double captured = double(s.size() - onset) / kRate - start - 0.07;
                double length = std::min((n.end - n.start) * scale - 0.02, captured);
                if (length < 0.1)
                    continue;  // too short to tell its pitch, or past the capture
                double best = -1e9;
                for (double shift : {-0.04, 0.0, 0.04}) {
                    size_t from = onset + size_t(std::max(0.0, start + 0.02 + shift) * kRate);
                    best = std::max(best, Prominence(s, from, from + size_t(length * kRate), KeyHz(n.key)));
                }
                prominence.push_back(best);
                heard += " key " + std::to_string(n.key) + ": " + std::to_string(int(best)) + " dB";
            }
            ASSERT_FALSE(prominence.empty()) << "entry " << e << " track " << t + 1;
            std::sort(prominence.begin(), prominence.end());
            EXPECT_GE(prominence[prominence.size() / 2], 10.0)
                << "entry " << e << (t == 0 ? " lead:" : " bass:") << heard << " (time scale " << scale
                << ")";
        }
    }
}

// The mix a player hears, at the configured volumes: the tunes as loud as
// one another; the effects as loud as one another, each standing above the
// typical level (median) of the loudest tune and the bomb blast the loudest
// of them and of the music; and play, a level tune with a busy stretch of
// effects over it, at a comfortable level that never clips. Loudness is
// EBU R128 (LUFS); an effect's is that of its loudest 400 ms, or of the
// whole effect when it is shorter. Prints the figures.
TEST(WhatAPlayerHears, TheMixHoldsTogether)
{
    std::string why;
    if (!CaptureUsable(why))
        GTEST_SKIP() << why;
    std::vector<Playing> playings;
    std::map<std::string, double> windows;  // each effect's loudness window, seconds
    for (int e : EntriesOf(ENTRY_SAMPLE)) {
        Sample made = MakeSample(e);
        std::string name = "effect" + std::to_string(e);
        windows[name] = std::min(0.4, double(made.frames.size()) / made.frequency);
        playings.push_back({name, false, [made]() {
                                PlayThrough(LoadSample(made), get_config_int("Sound", "SoundVolume", 200));
                                // The driver writes what the mixer has done a while later, the later
                                // the busier the machine: a stretch of silence played to its end
                                // after the effect puts the whole effect and a full measuring window
                                // after its start into the capture.
                                SAMPLE *silence = create_sample(16, 0, kRate, kRate / 2);
                                for (int i = 0; i < kRate / 2; i++)
                                    ((uint16_t *)silence->data)[i] = 0x8000;
                                PlayThrough(silence, 255);
                            }});
    }
    // Digging for items, a bag that wobbles, falls and bursts into gold, a
    // bomb for an enemy, the potion's hunt, a heart, the last item.
    static const std::pair<double, int> kPlay[] = {
        {0.5, SFX_ITEM},         {1.5, SFX_ITEM},         {2.5, SFX_BAG_WOBBLES},   {3.0, SFX_BAG_FALLS},
        {3.6, SFX_BAG_BURSTS},   {4.2, SFX_GOLD},         {5.5, SFX_ITEM},          {6.5, SFX_ITEM},
        {7.5, SFX_BOMB_PICKUP},  {8.5, SFX_BOMB_DROPPED}, {10.5, SFX_BOMB_BLAST},   {11.0, SFX_ENEMY_KILLED},
        {12.5, SFX_ITEM},        {13.5, SFX_POTION},      {15.0, SFX_ENEMY_KILLED}, {16.0, SFX_ITEM},
        {17.0, SFX_BAG_WOBBLES}, {17.5, SFX_BAG_FALLS},   {18.1, SFX_BAG_BURSTS},   {18.7, SFX_GOLD},
        {20.0, SFX_HEART},       {21.0, SFX_ITEM},        {22.0, SFX_SHIELDS_OPEN}, {23.0, SFX_EXIT},
    };
    std::vector<Cue> cues;
    for (const auto &[at, entry] : kPlay)
        cues.push_back({at, MakeSample(entry)});
    const double playSeconds = 24.5;
    playings.push_back({"play", true, PlayTune(MakeTune(MUS_LEVEL), playSeconds, cues), playSeconds});
    std::map<std::string, Sound> captures = CaptureAll(playings);
    const std::map<std::string, Sound> &tunes = TuneCaptures();

    double loudestMedian = -1e9, loudestTuneWindow = -1e9;
    std::string loudestTune;
    std::vector<double> tuneLoudness;
    for (const auto &[name, sound] : tunes) {
        std::vector<double> levels = WindowLevels(sound, Onset(sound));
        ASSERT_FALSE(levels.empty()) << name;
        std::nth_element(levels.begin(), levels.begin() + levels.size() / 2, levels.end());
        double median = levels[levels.size() / 2];
        Loudness l = Measure(sound, Onset(sound), 0.4);
        std::printf(
            "%-10s %6.1f LUFS, loudest 400 ms %6.1f LUFS, peak %6.1f dBFS, median %6.1f dB over %.2f s\n",
            name.c_str(), l.integrated, l.loudestWindow, l.peakDb, median,
            double(sound.size() - Onset(sound)) / kRate);
        tuneLoudness.push_back(l.integrated);
        loudestTuneWindow = std::max(loudestTuneWindow, l.loudestWindow);
        if (median > loudestMedian) {
            loudestMedian = median;
            loudestTune = name;
        }
    }
    auto [quietTune, loudTune] = std::minmax_element(tuneLoudness.begin(), tuneLoudness.end());
    EXPECT_LE(*loudTune - *quietTune, 2.0) << "the tunes spread over more than 2 LU";

    std::map<std::string, double> effectLoudness;
    for (const auto &[name, window] : windows) {
        const Sound &sound = captures[name];
        std::vector<double> levels = WindowLevels(sound, Onset(sound));
        ASSERT_FALSE(levels.empty()) << name << " is silent";
        double peak = *std::max_element(levels.begin(), levels.end());
        Loudness l = Measure(sound, Onset(sound), window);
        effectLoudness[name] = l.loudestWindow;
        std::printf("%-10s %6.1f LUFS over %3.0f ms, peak %6.1f dBFS, %+5.1f dB over the %s median\n",
                    name.c_str(), l.loudestWindow, window * 1000, l.peakDb, peak - loudestMedian,
                    loudestTune.c_str());
        EXPECT_GE(peak - loudestMedian, 3.0) << name << " is lost under " << loudestTune;
    }
    const std::string blast = "effect" + std::to_string(SFX_BOMB_BLAST);
    double quietest = 1e9;
    for (const auto &[name, loudness] : effectLoudness) {
        quietest = std::min(quietest, loudness);
        if (name != blast) {
            EXPECT_GE(effectLoudness[blast] - loudness, 1.0)
                << "the bomb blast is not clearly louder than " << name;
        }
    }
    EXPECT_LE(effectLoudness[blast] - quietest, 4.0) << "the effects spread over more than 4 LU";
    EXPECT_GT(effectLoudness[blast], loudestTuneWindow) << "the music is louder than the bomb blast";

    Loudness play = Measure(captures["play"], Onset(captures["play"]), 0.4);
    std::printf("play       %6.1f LUFS, loudest 400 ms %6.1f LUFS, peak %6.1f dBFS\n", play.integrated,
                play.loudestWindow, play.peakDb);
    EXPECT_NEAR(play.integrated, -18.0, 1.5) << "play is not at a comfortable level";
    EXPECT_LT(play.peakDb, -0.5) << "play clips";
}

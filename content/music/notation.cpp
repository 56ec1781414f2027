// notation.cpp: the tune text compiler. A tune is a tempo and a set of
// tracks; each track is a line-oriented melody in a compact note language.
#include "content/music/notation.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <set>
#include <sstream>

namespace {

const int kDivisions = 96;  // ticks per quarter note
const int kWhole = kDivisions * 4;
const int kPercussionChannel = 9;  // General MIDI channel 10: drums by key

struct Event {
    int tick;
    int order;  // 0 setup, 1 note off, 2 note on
    std::vector<uint8_t> bytes;
};

struct Track {
    std::string name;
    bool drums = false;
    int program = 0, volume = 100, pan = 64, channel = 0;
    int line = 0;
    std::string body;
};

// Drum letters and the percussion keys they strike; the instrument list
// gives every one of these keys a drum patch. The kick, toms and clap sit
// on keys 59-63, where their patches sound at the pitch they were recorded.
struct DrumSound {
    char letter;
    int key;
};
const DrumSound kDrums[] = {
    {'k', 60},  // kick
    {'s', 38},  // snare
    {'h', 42},  // closed hat
    {'o', 46},  // open hat
    {'c', 49},  // crash
    {'p', 62},  // clap
    {'t', 59},  // low tom
    {'m', 61},  // mid tom
    {'u', 63},  // high tom
    {'b', 77},  // low wood block
    {'d', 76},  // high wood block
    {'a', 54},  // tambourine
};

const DrumSound *FindDrum(char c)
{
    for (const DrumSound &d : kDrums)
        if (d.letter == c)
            return &d;
    return nullptr;
}

int NoteOffset(char c)
{
    static const int offsets[] = {9, 11, 0, 2, 4, 5, 7};  // a b c d e f g
    return (c >= 'a' && c <= 'g') ? offsets[c - 'a'] : -1;
}

// Walks one track body and turns it into timed events.
class TrackCompiler {
public:
    TrackCompiler(const Track &t, int barTicks) : track(t), bar(barTicks) {}

    bool Run(std::vector<Event> &events, int &length, std::set<int> &velocities, std::string &error)
    {
        out = &events;
        used = &velocities;
        pos = 0;
        tick = 0;
        if (!Sequence(0)) {
            error = "track " + track.name + " (line " + std::to_string(track.line) + "): " + message;
            return false;
        }
        length = tick;
        return true;
    }

private:
    const Track &track;
    int bar;
    std::vector<Event> *out = nullptr;
    std::set<int> *used = nullptr;
    size_t pos = 0;
    int tick = 0;
    int octave = 4, length = kWhole / 8, velocity = 100, gate = 7;
    char stress = 0;  // '^' accents, '_' softens the next note or chord
    std::string message;

    bool Fail(const std::string &m)
    {
        message = m + " near \"" + track.body.substr(pos > 8 ? pos - 8 : 0, 16) + "\"";
        return false;
    }

    char Peek() const { return pos < track.body.size() ? track.body[pos] : '\0'; }

    bool Number(int &value)
    {
        size_t start = pos;
        bool negative = false;
        if (Peek() == '-' || Peek() == '+') {
            negative = Peek() == '-';
            pos++;
        }
        if (!std::isdigit((unsigned char)Peek())) {
            pos = start;
            return false;
        }
        value = 0;
        while (std::isdigit((unsigned char)Peek()))
            value = value * 10 + (track.body[pos++] - '0');
        if (negative)
            value = -value;
        return true;
    }

    // A length such as 8, 4., 2~8 or nothing (the default length).
    bool Length(int &ticks)
    {
        ticks = length;
        int n = 0;
        if (std::isdigit((unsigned char)Peek())) {
            Number(n);
            if (n <= 0 || kWhole % n != 0)
                return Fail("bad length " + std::to_string(n));
            ticks = kWhole / n;
        }
        int part = ticks;
        while (Peek() == '.') {
            pos++;
            part /= 2;
            ticks += part;
        }
        while (Peek() == '~') {
            pos++;
            int more;
            if (!Length(more))
                return false;
            ticks += more;
        }
        return true;
    }

    void Note(int key, int start, int ticks)
    {
        uint8_t ch = uint8_t(track.channel);
        int sounding = std::max(1, ticks * gate / 8);
        if (track.drums)
            key = kDrums[key].key;
        int v = stress == '^'   ? std::min(127, velocity + 24)
                : stress == '_' ? std::max(1, velocity / 2)
                                : velocity;
        used->insert(v);
        out->push_back({start, 2, {uint8_t(0x90 | ch), uint8_t(key), uint8_t(v)}});
        out->push_back({start + sounding, 1, {uint8_t(0x80 | ch), uint8_t(key), 0}});
    }

    // Reads one pitch (note letter with accidentals, or a drum letter).
    bool Pitch(int &key)
    {
        char c = track.body[pos++];
        if (track.drums) {
            const DrumSound *d = FindDrum(c);
            key = d ? int(d - kDrums) : -1;
            return d || Fail(std::string("unknown drum '") + c + "'");
        }
        key = (octave + 1) * 12 + NoteOffset(c);
        while (Peek() == '+' || Peek() == '-')
            key += track.body[pos++] == '+' ? 1 : -1;
        return (key >= 0 && key <= 127) || Fail("note out of range");
    }

    bool IsPitch(char c) const { return track.drums ? FindDrum(c) != nullptr : NoteOffset(c) >= 0; }

    bool Setting(char c)
    {
        int n;
        pos++;
        bool relative = Peek() == '+' || Peek() == '-';
        if (!Number(n))
            return Fail(std::string("number expected after '") + c + "'");
        switch (c) {
        case 'o':
            if (n < 0 || n > 9)
                return Fail("bad octave");
            octave = n;
            break;
        case 'l':
            if (n <= 0 || kWhole % n != 0)
                return Fail("bad length");
            length = kWhole / n;
            if (Peek() == '.') {
                pos++;
                length += length / 2;
            }
            break;
        case 'v':
            // v+8 and v-8 step from the velocity before: a crescendo inside
            // a repeat grows on every pass.
            if (relative)
                n += velocity;
            if (n < 1 || n > 127)
                return Fail("bad velocity");
            velocity = n;
            break;
        case 'q':
            if (n < 1 || n > 8)
                return Fail("bad gate");
            gate = n;
            break;
        }
        return true;
    }

    // Reads items until the end or a closing bracket of a repeat.
    bool Sequence(int depth)
    {
        while (pos < track.body.size()) {
            char c = Peek();
            if (std::isspace((unsigned char)c)) {
                pos++;
            } else if (c == '|') {
                pos++;
                if (tick % bar != 0)
                    return Fail("bar line off the beat (" + std::to_string(tick % bar) +
                                " ticks into a bar)");
            } else if (c == '(') {
                pos++;
                size_t bodyStart = pos;
                if (!Sequence(depth + 1))
                    return false;
                if (Peek() != ')')
                    return Fail("missing ')'");
                pos++;
                int times;
                if (!Number(times) || times < 1 || times > 64)
                    return Fail("repeat count expected after ')'");
                size_t after = pos;
                for (int i = 1; i < times; i++) {
                    pos = bodyStart;
                    if (!Sequence(depth + 1))
                        return false;
                }
                pos = after;
            } else if (c == ')') {
                return depth > 0 || Fail("unexpected ')'");
            } else if (c == '[') {
                pos++;
                int keys[16], count = 0, savedOctave = octave;
                while (Peek() != ']') {
                    char k = Peek();
                    if (k == '\0')
                        return Fail("missing ']'");
                    if (std::isspace((unsigned char)k)) {
                        pos++;
                        continue;
                    }
                    if (k == '>') {
                        pos++;
                        octave++;
                        continue;
                    }
                    if (k == '<') {
                        pos++;
                        octave--;
                        continue;
                    }
                    if (!IsPitch(k) || count == 16)
                        return Fail("bad chord");
                    if (!Pitch(keys[count++]))
                        return false;
                }
                pos++;
                octave = savedOctave;
                int ticks;
                if (!Length(ticks))
                    return false;
                for (int i = 0; i < count; i++)
                    Note(keys[i], tick, ticks);
                tick += ticks;
                stress = 0;
            } else if (c == 'r') {
                pos++;
                int ticks;
                if (!Length(ticks))
                    return false;
                tick += ticks;
                stress = 0;
            } else if (c == '>' || c == '<') {
                pos++;
                octave += c == '>' ? 1 : -1;
            } else if (IsPitch(c)) {
                int key, ticks;
                if (!Pitch(key) || !Length(ticks))
                    return false;
                Note(key, tick, ticks);
                tick += ticks;
                stress = 0;
            } else if (c == 'o' || c == 'l' || c == 'v' || c == 'q') {
                if (!Setting(c))
                    return false;
            } else if (c == '^' || c == '_') {
                pos++;
                stress = c;  // for the next note or chord only
            } else if (track.drums && std::isalpha((unsigned char)c)) {
                return Fail(std::string("unknown drum '") + c + "'");
            } else {
                return Fail(std::string("unexpected '") + c + "'");
            }
        }
        return depth == 0 || Fail("missing ')'");
    }
};

void PutVarLen(std::vector<uint8_t> &v, uint32_t n)
{
    uint8_t buf[5];
    int count = 0;
    buf[count++] = n & 0x7F;
    while (n >>= 7)
        buf[count++] = uint8_t(0x80 | (n & 0x7F));
    while (count)
        v.push_back(buf[--count]);
}

std::vector<uint8_t> Encode(std::vector<Event> events, int endTick)
{
    std::stable_sort(events.begin(), events.end(), [](const Event &a, const Event &b) {
        return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
    });
    std::vector<uint8_t> data;
    int now = 0;
    for (const Event &e : events) {
        int at = std::min(e.tick, endTick);
        PutVarLen(data, uint32_t(at - now));
        now = at;
        data.insert(data.end(), e.bytes.begin(), e.bytes.end());
    }
    // Every track ends on the same tick, so a looping tune restarts in time.
    PutVarLen(data, uint32_t(endTick - now));
    data.insert(data.end(), {0xFF, 0x2F, 0x00});
    return data;
}

std::string Trim(const std::string &s)
{
    size_t a = s.find_first_not_of(" \t\r");
    size_t b = s.find_last_not_of(" \t\r");
    return a == std::string::npos ? "" : s.substr(a, b - a + 1);
}

// Reads "key value" pairs after the track name on a track line.
bool TrackOptions(std::istringstream &in, Track &t, std::string &error)
{
    std::string key;
    while (in >> key) {
        int value;
        if (!(in >> value)) {
            error = "value expected after " + key;
            return false;
        }
        if (key == "program" && value >= 0 && value <= 127)
            t.program = value;
        else if (key == "volume" && value >= 0 && value <= 127)
            t.volume = value;
        else if (key == "pan" && value >= 0 && value <= 127)
            t.pan = value;
        else {
            error = "bad option " + key + " " + std::to_string(value);
            return false;
        }
    }
    return true;
}

}  // namespace

bool CompileTune(const std::string &text, MidiTune &tune, std::string &error, const TuneRules &rules)
{
    tune = MidiTune{};
    tune.divisions = kDivisions;
    int tempo = 120, beats = 4;
    std::vector<Track> tracks;
    std::istringstream lines(text);
    std::string line;
    int lineNo = 0;
    while (std::getline(lines, line)) {
        lineNo++;
        line = Trim(line.substr(0, line.find('#')));
        if (line.empty())
            continue;
        std::istringstream in(line);
        std::string word;
        in >> word;
        if (word == "title") {
            continue;
        } else if (word == "tempo" || word == "meter") {
            int v;
            if (!(in >> v) || v < 1 || v > 400) {
                error = "line " + std::to_string(lineNo) + ": bad " + word;
                return false;
            }
            (word == "tempo" ? tempo : beats) = v;
        } else if (word == "track" || word == "drums") {
            Track t;
            t.drums = word == "drums";
            t.line = lineNo;
            if (!(in >> t.name) || !TrackOptions(in, t, error)) {
                error =
                    "line " + std::to_string(lineNo) + ": " + (error.empty() ? "track name expected" : error);
                return false;
            }
            tracks.push_back(t);
        } else if (!tracks.empty()) {
            tracks.back().body += line + "\n";
        } else {
            error = "line " + std::to_string(lineNo) + ": notes before the first track";
            return false;
        }
    }
    // Melodic tracks take channels in turn around the percussion channel;
    // drums share that channel, so only one drum track can set its volume.
    int channels = 0, drumTracks = 0;
    for (Track &t : tracks) {
        if (t.drums) {
            t.channel = kPercussionChannel;
            drumTracks++;
            continue;
        }
        if (channels == kPercussionChannel)
            channels++;
        t.channel = channels++;
    }
    if (tracks.empty() || channels > 16 || tracks.size() > 31 || drumTracks > 1) {
        error = tracks.empty()   ? "no tracks"
                : drumTracks > 1 ? "more than one drums track"
                                 : "too many tracks";
        return false;
    }

    int barTicks = beats * kDivisions;
    std::vector<std::vector<Event>> bodies(tracks.size());
    std::vector<int> lengths(tracks.size());
    std::set<int> velocities;
    int longest = 0;
    for (size_t i = 0; i < tracks.size(); i++) {
        TrackCompiler tc(tracks[i], barTicks);
        if (!tc.Run(bodies[i], lengths[i], velocities, error))
            return false;
        longest = std::max(longest, lengths[i]);
    }
    if (longest == 0 || longest % barTicks != 0) {
        error = "the tune does not end on a bar line";
        return false;
    }
    for (size_t i = 0; i < tracks.size(); i++) {
        if (lengths[i] != longest) {
            error = "track " + tracks[i].name + " is " + std::to_string(lengths[i] / barTicks) +
                    " bars and some ticks long, the tune " + std::to_string(longest / barTicks);
            return false;
        }
    }

    double seconds = double(longest) / kDivisions * 60.0 / tempo;
    if (seconds < rules.minLoopSeconds) {
        char why[160];
        std::snprintf(why, sizeof why, "the tune lasts %.1f s before it repeats; a looping tune needs %.0f s",
                      seconds, rules.minLoopSeconds);
        error = why;
        return false;
    }
    if (int(velocities.size()) < rules.minVelocities) {
        error = "the tune plays " + std::to_string(velocities.size()) + " different velocities; it needs " +
                std::to_string(rules.minVelocities) + " (accents, softer passages, ghost notes)";
        return false;
    }

    // The first track carries tempo and meter only.
    std::vector<Event> conductor;
    int usPerQuarter = 60000000 / tempo;
    conductor.push_back(
        {0,
         0,
         {0xFF, 0x51, 0x03, uint8_t(usPerQuarter >> 16), uint8_t(usPerQuarter >> 8), uint8_t(usPerQuarter)}});
    conductor.push_back({0, 0, {0xFF, 0x58, 0x04, uint8_t(beats), 2, 24, 8}});
    tune.tracks.push_back(Encode(conductor, longest));
    for (size_t i = 0; i < tracks.size(); i++) {
        const Track &t = tracks[i];
        std::vector<Event> events;
        uint8_t ch = uint8_t(t.channel);
        if (!t.drums)  // the percussion channel picks drums by key, not program
            events.push_back({0, 0, {uint8_t(0xC0 | ch), uint8_t(t.program)}});
        events.push_back({0, 0, {uint8_t(0xB0 | ch), 7, uint8_t(t.volume)}});
        events.push_back({0, 0, {uint8_t(0xB0 | ch), 10, uint8_t(t.pan)}});
        events.insert(events.end(), bodies[i].begin(), bodies[i].end());
        tune.tracks.push_back(Encode(events, longest));
    }
    return true;
}

std::vector<uint8_t> MidiFileBytes(const MidiTune &tune)
{
    std::vector<uint8_t> f = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1};
    f.push_back(uint8_t(tune.tracks.size() >> 8));
    f.push_back(uint8_t(tune.tracks.size()));
    f.push_back(uint8_t(tune.divisions >> 8));
    f.push_back(uint8_t(tune.divisions));
    for (const std::vector<uint8_t> &t : tune.tracks) {
        f.insert(f.end(), {'M', 'T', 'r', 'k'});
        uint32_t n = uint32_t(t.size());
        f.insert(f.end(), {uint8_t(n >> 24), uint8_t(n >> 16), uint8_t(n >> 8), uint8_t(n)});
        f.insert(f.end(), t.begin(), t.end());
    }
    return f;
}

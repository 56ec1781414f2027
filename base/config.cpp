// config.cpp: reading "Config//Delvorn.ini".
#include "base/config.h"

#include <allegro.h>
#include <cstdio>
#include <string>

#include "base/log.h"
#include "base/scale.h"
#include "platform/paths/paths.h"

int soundVolume;
int midiVolume;
int windowed;
int scaleSetting;
int useJoystick;
int soundOn;
int musicOn;
int logicRate;
int timerSetting;
int debugOverlay;

// The window and the full screen each have their own rate and timer;
// `windowed` picks the pair that counts.
static int windowedRate, fullScreenRate, windowedTimer, fullScreenTimer;

// Every key of the file, with the value a missing file, section or key
// gives: the one place a default is written.
struct Setting {
    const char *section;
    const char *key;
    int fallback;
    int *variable;
};
static const Setting settings[] = {
    {"Sound", "SoundVolume", 200, &soundVolume},   // digital, and every sample's
    {"Sound", "MidiVolume", 200, &midiVolume},     // the tunes'
    {"Graphics", "Windowed", 1, &windowed},        // also picks W or F below
    {"Graphics", "Scale", 0, &scaleSetting},       // the window's factor, 0 as large as fits
    {"Control", "UseJoystick", 1, &useJoystick},   // on for any value but 0
    {"Sound", "SoundOn", 1, &soundOn},             // on for exactly 1
    {"Sound", "MusicOn", 1, &musicOn},             // on for exactly 1
    {"System", "WFPS", 20, &windowedRate},         // logic steps a second in a window
    {"System", "FFPS", 20, &fullScreenRate},       // the same in full screen
    {"System", "WTIMER", 1000, &windowedTimer},    // in a window; stored, never consulted
    {"System", "FTIMER", 1000, &fullScreenTimer},  // the same in full screen
    {"System", "Debug", 0, &debugOverlay},         // the overlay lines
};

static int FallbackOf(const int *variable)
{
    for (const Setting &s : settings)
        if (s.variable == variable)
            return s.fallback;
    return 0;
}

// The settings as read, with their truth rules applied: the joystick is on
// for any value but 0, sound and music only for exactly 1.
static void ApplySettings()
{
    useJoystick = useJoystick != 0;
    soundOn = soundOn == 1;
    musicOn = musicOn == 1;
    logicRate = windowed ? windowedRate : fullScreenRate;
    timerSetting = windowed ? windowedTimer : fullScreenTimer;
}

// Until the file is read, every setting holds its default.
[[maybe_unused]] static const bool defaultsSet = [] {
    for (const Setting &s : settings)
        *s.variable = s.fallback;
    ApplySettings();
    return true;
}();

// Allegro reads its configuration as UTF-8, and some malformed sequences
// send its reader into an endless loop: a damaged file would hang start-up.
// Every key the game knows is plain ASCII, so other bytes are dropped first.
static void SelectConfigFile(const std::string &path)
{
    std::string text;
    if (!IsRegularFile(path)) {
        set_config_data("", 0);  // the defaults, as for a missing file
        return;
    }
    if (FILE *file = std::fopen(path.c_str(), "rb")) {
        char buffer[4096];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
            text.append(buffer, n);
        std::fclose(file);
    }
    std::string ascii;
    for (char c : text)
        if ((unsigned char)c < 0x80 && c != '\0')
            ascii += c;
    if (ascii.size() == text.size()) {
        set_config_file(path.c_str());
        return;
    }
    if (gameLog)
        gameLog->Printf("Config file holds %d bytes that are not text; they are ignored\n",
                        (int)(text.size() - ascii.size()));
    set_config_data(ascii.data(), (int)ascii.size());
}

// The sound library looks for a relative instrument list beside the
// program, which is not where an installed game keeps it.
static void PinInstrumentList()
{
    const char *patches = get_config_string("sound", "patches", nullptr);
    if (!patches || !is_relative_filename(patches))
        return;
    std::string pinned = "[sound]\npatches = " + NativePath(patches) + "\n";
    override_config_data(pinned.c_str(), (int)pinned.size());
}

int ReadConfig()
{
    SelectConfigFile(NativePath("Config//Delvorn.ini"));
    PinInstrumentList();

    for (const Setting &s : settings)
        *s.variable = get_config_int(s.section, s.key, s.fallback);
    ApplySettings();
    // The rate divides the timer's clock of 1193181 ticks a second; nothing
    // below 1 can pace a timer. Above a thousand steps a second the period
    // drops under a millisecond, which the timer thread cannot keep, and from
    // 1193182 on it is 0: play would never draw again.
    if (logicRate < 1 || logicRate > LOGIC_RATE_MAX) {
        const int usable =
            logicRate < 1 ? FallbackOf(windowed ? &windowedRate : &fullScreenRate) : LOGIC_RATE_MAX;
        if (gameLog)
            gameLog->Printf("Logic rate %d is not usable, using %d\n", logicRate, usable);
        logicRate = usable;
    }
    if (scaleSetting < 0 || scaleSetting > SCALE_MAX) {
        if (gameLog)
            gameLog->Printf("Scale %d is not usable, using 0 (as large as the desktop takes)\n",
                            scaleSetting);
        scaleSetting = FallbackOf(&scaleSetting);
    }
    return 1;
}

// config.cpp: reading "Config//Delvorn.ini".
#include "base/config.h"

#include <allegro.h>
#include <cstdio>
#include <string>

#include "base/log.h"
#include "platform/paths/paths.h"

int soundVolume = 200;
int midiVolume = 200;
int windowed = 1;
int useJoystick = 1;
int soundOn = 1;
int musicOn = 1;
int logicRate = 20;
int timerSetting = 1000;
int debugOverlay = 0;

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

    soundVolume = get_config_int("Sound", "SoundVolume", 200);
    midiVolume = get_config_int("Sound", "MidiVolume", 200);
    windowed = get_config_int("Graphics", "Windowed", 1);
    useJoystick = get_config_int("Control", "UseJoystick", 1) != 0;
    soundOn = get_config_int("Sound", "SoundOn", 1) == 1;
    musicOn = get_config_int("Sound", "MusicOn", 1) == 1;

    int wfps = get_config_int("System", "WFPS", 20);
    int ffps = get_config_int("System", "FFPS", 20);
    int wtimer = get_config_int("System", "WTIMER", 1000);
    int ftimer = get_config_int("System", "FTIMER", 1000);
    logicRate = windowed ? wfps : ffps;
    timerSetting = windowed ? wtimer : ftimer;
    // The rate divides the timer's clock; nothing below 1 can pace a timer.
    if (logicRate < 1) {
        if (gameLog)
            gameLog->Printf("Logic rate %d is not usable, using 20\n", logicRate);
        logicRate = 20;
    }

    debugOverlay = get_config_int("System", "Debug", 0);
    return 1;
}

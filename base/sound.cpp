// sound.cpp: samples and tunes from the data file, under the sound switches.
#include "base/sound.h"

#include <allegro.h>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "base/config.h"
#include "base/log.h"
#include "base/resources.h"
#include "platform/paths/paths.h"

bool soundInstalled = false;

void PlaySfxAlways(int entry)
{
    if (!soundInstalled)
        return;
    if (SAMPLE *s = (SAMPLE *)DataEntry(entry, DAT_SAMPLE))
        play_sample(s, soundVolume, 128, 1000, 0);
}

void PlaySfx(int entry)
{
    if (soundOn)
        PlaySfxAlways(entry);
}

void StopSfx(int entry)
{
    if (!soundInstalled)
        return;
    if (SAMPLE *s = (SAMPLE *)DataEntry(entry, DAT_SAMPLE))
        stop_sample(s);
}

void PlayMusic(int entry)
{
    StopMusic();
    if (!soundInstalled || !musicOn)
        return;
    if (MIDI *m = (MIDI *)DataEntry(entry, DAT_MIDI))
        play_midi(m, TRUE);
}

void StopMusic()
{
    if (soundInstalled)
        stop_midi();
}

void PauseMusic()
{
    if (soundInstalled)
        midi_pause();
}

void ResumeMusic()
{
    if (soundInstalled)
        midi_resume();
}

// How many instruments an instrument list ("12 Tone_000/011_Vibraphone.pat"
// lines, "dir" lines adding folders to look in) names, and how many of them
// are there. Names are found beside the list, in its folders, with or
// without the ".pat" the synthesizer adds.
static void CountInstruments(const std::string &list, int *named, int *found)
{
    std::ifstream in(list);
    const size_t slash = list.find_last_of('/');
    std::vector<std::string> folders = {slash == std::string::npos ? "" : list.substr(0, slash + 1)};
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        std::string first, name;
        if (!(words >> first >> name) || first[0] == '#')
            continue;
        if (first == "dir") {
            folders.push_back(name.back() == '/' ? name : name + "/");
            continue;
        }
        if (first.find_first_not_of("0123456789") != std::string::npos)
            continue;
        (*named)++;
        bool there = false;
        for (const std::string &folder : folders)
            for (const std::string &end : {std::string(), std::string(".pat")}) {
                const std::string path = (name[0] == '/' ? "" : folder) + name + end;
                there = there || IsRegularFile(path);
            }
        *found += there ? 1 : 0;
    }
}

bool CheckInstrumentPatches()
{
    const char *setting = get_config_string("sound", "patches", nullptr);
    if (!setting || !setting[0])
        return true;  // the synthesizer looks in its own places
    const std::string list = setting;
    bool missing = !IsRegularFile(list);
    if (!missing && ustricmp(get_extension(setting), "cfg") == 0) {
        int named = 0, found = 0;
        CountInstruments(list, &named, &found);
        missing = named > 0 && found == 0;
    }
    if (!missing)
        return true;
    if (gameLog)
        gameLog->Printf("Instrument patches not found where the settings point (%s): the music stays off\n",
                        setting);
    musicOn = 0;
    return false;
}

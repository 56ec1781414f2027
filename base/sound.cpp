// sound.cpp: samples and tunes from the data file, under the sound switches.
#include "base/sound.h"

#include <allegro.h>

#include "base/config.h"
#include "base/resources.h"

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

// sound.h: every sample and tune of the game goes through here, so the
// sound switches and the volume apply in one place, and nothing plays
// when no sound driver is installed (the headless tools).
#ifndef DELVORN_SOUND_H
#define DELVORN_SOUND_H

#include "base/data.h"

// Sample entry of dataFile at soundVolume, pan 128, frequency 1000, once;
// only while soundOn.
void PlaySfx(int entry);
// The same, whatever soundOn says (the few sounds that always play).
void PlaySfxAlways(int entry);
void StopSfx(int entry);
// Stops the current tune, then plays entry (looping) when musicOn.
void PlayMusic(int entry);
void StopMusic();
void PauseMusic();
void ResumeMusic();

// With the software synthesizer, the instrument set the settings point at
// ([sound] patches) must be there: a list of which no instrument exists
// plays nothing at all. Then logs so, turns the music off and returns
// false; true otherwise.
bool CheckInstrumentPatches();

// Set by Initall once install_sound succeeded.
extern bool soundInstalled;

#endif

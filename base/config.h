// config.h: settings read once from "Config//Delvorn.ini".
#ifndef DELVORN_CONFIG_H
#define DELVORN_CONFIG_H

extern int soundVolume;   // 0..255, digital volume and every sample's volume
extern int midiVolume;    // 0..255, MIDI volume
extern int windowed;      // non-zero: windowed mode
extern int scaleSetting;  // 0: the largest window the desktop takes; 1..4 that factor
extern int useJoystick;   // true when non-zero
extern int soundOn;       // samples play only when set
extern int musicOn;       // MIDI music plays only when set
extern int logicRate;     // logic steps per second
extern int timerSetting;  // stored, never consulted
extern int debugOverlay;  // non-zero: debug lines on every frame

// The fastest logic rate the timer keeps up with.
const int LOGIC_RATE_MAX = 1000;

// Returns 1. A logicRate below 1 keeps the default, one above
// LOGIC_RATE_MAX becomes that; either is logged with the rate used. A scale
// outside 0..4 is logged and becomes 0.
int ReadConfig();

#endif

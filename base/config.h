// config.h: settings read once from "Config//Delvorn.ini".
#ifndef DELVORN_CONFIG_H
#define DELVORN_CONFIG_H

extern int soundVolume;   // 0..255, digital volume and every sample's volume
extern int midiVolume;    // 0..255, MIDI volume
extern int windowed;      // non-zero: windowed mode
extern int useJoystick;   // true when non-zero
extern int soundOn;       // samples play only when set
extern int musicOn;       // MIDI music plays only when set
extern int logicRate;     // logic steps per second
extern int timerSetting;  // stored, never consulted
extern int debugOverlay;  // non-zero: debug lines on every frame

// Returns 1; a bad logicRate keeps 20 and is logged.
int ReadConfig();

#endif

// allegro_env.cpp: Allegro start-up shared by the video tests.
#include "allegro_env.h"

#include <allegro.h>

#include <cerrno>
#include <cstdlib>

bool StartAllegro() {
  static int state = 0;  // 0 not started, 1 with timers, -1 without
  if (state == 0) {
    state = -1;
    // Allegro's timers need a system driver, which needs a display.
    if (std::getenv("DISPLAY") && allegro_init() == 0 && install_timer() == 0) {
      state = 1;
      // Sound is optional: without it the player plays silently.
      install_sound(DIGI_AUTODETECT, MIDI_NONE, nullptr);
    } else {
      install_allegro(SYSTEM_NONE, &errno, std::atexit);
    }
  }
  return state == 1;
}

// allegro_env.h: starts Allegro once for the video tests: with a display the
// normal system driver (timers, sound); without one only memory bitmaps.
#ifndef TESTS_VIDEO_ALLEGRO_ENV_H
#define TESTS_VIDEO_ALLEGRO_ENV_H

// Starts Allegro if needed; true when timers are available.
bool StartAllegro();

#define NEED_TIMER() \
  if (!StartAllegro()) GTEST_SKIP() << "needs DISPLAY for Allegro timers"

#endif

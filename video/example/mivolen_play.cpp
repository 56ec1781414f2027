// mivolen-play: plays an AVI file centred in a window of its size (at least
// 320x240) with its sound; ESC or ENTER stops it.
#include <allegro.h>
#include <mivolen/mivolen.h>

#include <cstdio>
#include <cstdlib>

namespace {

const char *OpenError(int result) {
  switch (result) {
    case -1:
      return "the file cannot be opened or is not an AVI file";
    case -2:
      return "its video stream cannot be decoded (no video stream, or no decoder for it)";
    case -3:
      return "its video stream has no format";
    default:
      return "unknown error";
  }
}

// Allegro leaves its reason empty when no system driver comes up; on X that
// means there is no display to open.
const char *NoSystemReason() {
  if (allegro_error[0]) return allegro_error;
#ifdef _WIN32
  return "no system driver";
#else
  const char *display = std::getenv("DISPLAY");
  if (!display || !*display) return "no display to open a window on (DISPLAY is not set)";
  static char reason[256];
  std::snprintf(reason, sizeof reason, "cannot open the display %s", display);
  return reason;
#endif
}

}  // namespace

int main(int argc, char **argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: mivolen-play FILE.avi\n");
    return 1;
  }
  int result;
  {
    Mivolen player;
    result = player.Open(argv[1]);
    if (result != 0) {
      std::fprintf(stderr, "mivolen-play: cannot play %s: Open returned %d: %s\n", argv[1], result, OpenError(result));
      return 1;
    }
    if (allegro_init() != 0) {
      std::fprintf(stderr, "mivolen-play: Allegro cannot start: %s\n", NoSystemReason());
      return 1;
    }
    install_timer();
    install_keyboard();
    // Sound is welcome but not required.
    if (install_sound(DIGI_AUTODETECT, MIDI_NONE, nullptr) != 0)
      std::fprintf(stderr, "mivolen-play: no sound: %s\n", allegro_error);
    int w = player.Width() > 320 ? player.Width() : 320;
    int h = player.Height() > 240 ? player.Height() : 240;
    int depth = desktop_color_depth();
    set_color_depth(depth > 8 ? depth : 32);
    if (set_gfx_mode(GFX_AUTODETECT_WINDOWED, w, h, 0, 0) != 0) {
      set_color_depth(16);
      if (set_gfx_mode(GFX_AUTODETECT_WINDOWED, w, h, 0, 0) != 0) {
        std::fprintf(stderr, "mivolen-play: no %dx%d window: %s\n", w, h, allegro_error);
        return 1;
      }
    }
    set_window_title("mivolen-play");
    clear_to_color(screen, makecol(0, 0, 0));
    if (player.Play(screen, true, false) != 0) {
      std::fprintf(stderr, "mivolen-play: playback could not start\n");
      result = 1;
    }
  }
  allegro_exit();
  return result == 0 ? 0 : 1;
}
END_OF_MAIN()

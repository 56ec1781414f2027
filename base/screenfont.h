// screenfont.h: the font a screen loads on entry and frees however it
// ends, an exception included. Text is drawn on a transparent background.
#ifndef DELVORN_SCREENFONT_H
#define DELVORN_SCREENFONT_H

#include "platform/alfont/alfont.h"

// The game's two font files: every screen's text is drawn in one of them.
extern const char *const plainFontPath;  // "Fonts\\DigitalDream.ttf"
extern const char *const boldFontPath;   // "Fonts\\DigitalDreamFat.ttf"

// Loads a game font (a game path); a file that does not load is named in
// the log and gives null.
ALFONT_FONT *LoadGameFont(const char *gamePath);

class ScreenFont {
public:
    // A game path such as "Fonts\\DigitalDream.ttf"; font stays null when
    // the file does not load, which every screen tolerates.
    explicit ScreenFont(const char *gamePath) { Load(gamePath); }
    // None yet: for a screen that loads it part way through.
    ScreenFont() = default;
    ~ScreenFont() { Free(); }
    ScreenFont(const ScreenFont &) = delete;
    ScreenFont &operator=(const ScreenFont &) = delete;

    // Frees any font held first; returns whether the new one loaded.
    bool Load(const char *gamePath);
    void Free();
    ALFONT_FONT *font = nullptr;
};

#endif

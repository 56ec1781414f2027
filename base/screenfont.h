// screenfont.h: the font a screen loads on entry and frees however it
// ends, an exception included. Text is drawn on a transparent background.
#ifndef DELVORN_SCREENFONT_H
#define DELVORN_SCREENFONT_H

#include "platform/alfont/alfont.h"

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

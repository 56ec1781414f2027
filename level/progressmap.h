// progressmap.h: the progress map shown before every level, with its
// wavy scrolling text.
#ifndef DELVORN_PROGRESSMAP_H
#define DELVORN_PROGRESSMAP_H

#include <allegro.h>
#include <string>
#include <vector>

#include "platform/alfont/alfont.h"

// Large letters one by one along a sine wave, scrolling left and repeating.
class SineScroller {
public:
    SineScroller();  // loads "Fonts\DigitalDreamFat.ttf" at size 24
    ~SineScroller();
    SineScroller(const SineScroller &) = delete;
    SineScroller &operator=(const SineScroller &) = delete;

    // Both measure the characters' advances in the font; charWidth is
    // their mean, the pixels scrolled per step of phase.
    void SetText(const char *newText);
    void SetFontSize(int size);
    void SetAmplitude(float a) { amplitude = a; }
    void Step() { phase += 0.08f; }
    void Draw(BITMAP *target) const;

    float amplitude = 32.0f;
    float frequency = 0.08f;  // radians per quarter of the widest letter
    float phase = 0.0f;
    int charWidth = 0;
    ALFONT_FONT *font = nullptr;
    std::string text;
    int x = 0, y = 0;
    int fontSize = 24;
    int visibleChars = 12;
    int colour = 0;

private:
    std::vector<int> advances;  // per character of text
    int lineWidth = 0;          // the whole text, in pixels
    int widestAdvance = 8;
    void MeasureCharWidth();
};

// Pixel of level (index + 1)'s marker on the map picture.
extern const int progressMarkerX[20];
extern const int progressMarkerY[20];

// The scroller's text for a level.
std::string ProgressScrollText(int level);

void ProcessMap();

#endif

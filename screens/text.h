// text.h: what every screen shares: the translucent panel, the darkened
// game backdrop and the edge-triggered key latch (and the notice line).
#ifndef DELVORN_TEXT_H
#define DELVORN_TEXT_H

#include <allegro.h>
#include <initializer_list>

#include "shell/base/message.h"

// Outline one pixel outside (x1, y1)-(x2, y2), fill at 64/255 opacity.
void DrawPanel(BITMAP *target, int x1, int y1, int x2, int y2, int outline, int fill);

// The darkened game frame in backdropBitmap (and on the screen).
void DimBackdrop(bool redraw);

// A key acts once per press: when none of the set is held the latch clears;
// otherwise, when clear, the caller acts on the held keys and it latches
// (and the keyboard buffer is emptied).
class KeyLatch {
public:
    explicit KeyLatch(std::initializer_list<int> keys);
    // True when the held keys of the set should act now.
    bool Pressed();
    bool latched = false;

private:
    int keys_[24];
    int count_ = 0;
};

#endif

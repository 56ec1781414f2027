// message.h: the one-line notices every part of the game may show
// ("LOADING LEVEL 3", "G E T    R E A D Y!").
#ifndef DELVORN_MESSAGE_H
#define DELVORN_MESSAGE_H

#include <allegro.h>
#include <string>

// One centred line at (400, 308) in "Fonts\DigitalDream.ttf", then a wait
// of delayMs. Draws nothing without a target or a font. The screen as the
// target is the game's picture on it, shown at once.
void ShowMessage(const char *text, int delayMs, int size, int colour, BITMAP *target);

// Why allegro_init failed. Allegro leaves its own reason empty when no
// system driver comes up, which on X means there is no display to open.
std::string WhyAllegroCannotStart();

// Clears the game's picture on the screen when there is one.
void ClearScreen();

#endif

// audio_fill.h: turns a chunk of file audio into the unsigned samples an
// Allegro audio stream plays, padding what the file did not deliver with silence.
#ifndef MIVOLEN_AUDIO_FILL_H
#define MIVOLEN_AUDIO_FILL_H

#include <cstddef>
#include <cstdint>

// dst holds streamBytes; src delivered `got` bytes; bits is 8 or 16.
void FillStreamBuffer(uint8_t *dst, size_t streamBytes, const uint8_t *src, size_t got, int bits);

#endif

// audio_fill.cpp: file audio to Allegro stream samples.
#include "audio_fill.h"

#include <cstring>

void FillStreamBuffer(uint8_t *dst, size_t streamBytes, const uint8_t *src, size_t got, int bits) {
  size_t n = got < streamBytes ? got : streamBytes;
  if (n) std::memcpy(dst, src, n);
  if (bits == 16) {
    // Signed little-endian samples become unsigned by flipping the top bit of each high byte.
    for (size_t i = 1; i < n; i += 2) dst[i] ^= 0x80;
    for (size_t i = n; i < streamBytes; ++i) dst[i] = (i & 1) ? 0x80 : 0x00;
  } else {
    // Eight-bit audio is unsigned already; its silence is the middle value.
    std::memset(dst + n, 0x80, streamBytes - n);
  }
}

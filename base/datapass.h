// datapass.h: the data file password, kept scrambled so it does not stand in
// the executable as plain text. Shared by the game and the data file builder.
#ifndef DELVORN_DATAPASS_H
#define DELVORN_DATAPASS_H

#include <cstddef>

// Writes the password into out (NUL-terminated); out must hold 18 bytes.
inline void UnscrambleDataPassword(char *out)
{
    static const unsigned char scrambled[] = {0x0B, 0x12, 0x40, 0xF3, 0xE0, 0xFE, 0xC4, 0x9F, 0x86,
                                              0xAA, 0xB0, 0x9F, 0xC6, 0x71, 0x7E, 0x3E, 0x1D};
    const size_t n = sizeof scrambled;
    for (size_t i = 0; i < n; i++)
        out[i] = (char)(scrambled[i] ^ ((0x5A + i * 13) & 0xFF));
    out[n] = '\0';
}

// Overwrites a password buffer once it has been handed to Allegro.
inline void WipeDataPassword(char *buffer)
{
    volatile char *p = buffer;
    while (*p)
        *p++ = 0;
}

#endif

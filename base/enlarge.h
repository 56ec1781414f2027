// enlarge.h: the rows of the present step at a whole factor: the masked copy
// into the shown picture and its pixels repeated, for 16-bit pictures.
#ifndef DELVORN_ENLARGE_H
#define DELVORN_ENLARGE_H

#include <cstdint>

// shown[i] = from[i] wherever from[i] is not the mask colour.
void MaskedCopyRow16(const uint16_t *from, uint16_t *shown, int w, uint16_t mask);
// Each of the w pixels `factor` times: out takes w * factor pixels.
void EnlargeRow16(const uint16_t *from, uint16_t *out, int w, int factor);

#endif

// enlarge.h: the rows of the present step at a whole factor: the masked copy
// into the shown picture and its pixels repeated, for 16-bit pictures.
#ifndef DELVORN_ENLARGE_H
#define DELVORN_ENLARGE_H

#include <allegro.h>
#include <cstdint>

// One row: shown[i] = from[i] wherever from[i] is not the mask colour (no
// copy when from is null), then each of the w pixels of shown `factor`
// times into out, which takes w * factor pixels. True when shown changed
// (always without `from`).
bool EnlargeRow16(const uint16_t *from, uint16_t *shown, uint16_t *out, int w, int factor, uint16_t mask);

// The present step's picture work: `from` (when given) copied masked into
// `shown`, then `shown` written `factor` times across and down into `to` at
// (x, y), row by row through bmp_write_line. Without `shown`, the area of
// `to` is the shown picture and takes the masked copy of `from` (factor 1).
// Rows whose shown pixels did not change are left as they are, unless
// everyRow. All 16-bit; `to` large enough. Gives the band of rows of `to`
// that were written (count 0: none).
struct RowBand {
    int first, count;
};
RowBand EnlargePicture(BITMAP *from, BITMAP *shown, BITMAP *to, int x, int y, int factor, bool everyRow);

#endif

// blend.cpp: BlendToColour and Fade. Clipping, the copy and fill shortcuts
// and the choice of row routine live here, with the plain C++ rows that
// every other path must match pixel for pixel.
#include "blend/blend.h"

#include <cstring>

#include "blend/blend_rows.h"

namespace {

BlendPath requestedPath = BLEND_AUTO;

struct RowSet {
    BlendRow32 row32;
    BlendRow16 row16;
    BlendRow16 row15;
};

bool Supported(BlendPath path)
{
#ifdef DELVORN_BLEND_X86
    __builtin_cpu_init();  // harmless when done already; needed if called from a static constructor
#endif
    switch (path) {
    case BLEND_SCALAR: return true;
#ifdef DELVORN_BLEND_X86
    case BLEND_SSE2: return __builtin_cpu_supports("sse2");
    case BLEND_AVX2: return __builtin_cpu_supports("avx2");
#endif
    default: return false;
    }
}

BlendPath Resolve(BlendPath path)
{
    if (path != BLEND_AUTO && Supported(path))
        return path;
    if (Supported(BLEND_AVX2))
        return BLEND_AVX2;
    if (Supported(BLEND_SSE2))
        return BLEND_SSE2;
    return BLEND_SCALAR;
}

RowSet Rows(BlendPath path)
{
    switch (path) {
#ifdef DELVORN_BLEND_X86
    case BLEND_AVX2: return {BlendRow32Avx2, BlendRow16Avx2, BlendRow15Avx2};
    case BLEND_SSE2: return {BlendRow32Sse2, BlendRow16Sse2, BlendRow15Sse2};
#endif
    default: return {BlendRow32Scalar, BlendRow16Scalar, BlendRow15Scalar};
    }
}

// The colour's share of every pixel, worked out once per call.
BlendTerms Terms(int depth, int colour, int factor)
{
    BlendTerms t;
    uint32_t c = (uint32_t)colour;
    if (depth == 32) {
        unsigned k = 256 - (unsigned)factor;
        t.weight = (unsigned)factor;
        t.colourTerm = ((((c >> 16) & 0xFF) * k) >> 8) << 16 | ((((c >> 8) & 0xFF) * k) >> 8) << 8 |
                       (((c & 0xFF) * k) >> 8);
        return t;
    }
    unsigned f5 = ((unsigned)factor + 7) >> 3;
    unsigned k = 32 - f5;
    uint32_t term;
    if (depth == 16)
        term = ((((c >> 11) & 0x1F) * k) >> 5) << 11 | ((((c >> 5) & 0x3F) * k) >> 5) << 5 |
               (((c & 0x1F) * k) >> 5);
    else
        term = ((((c >> 10) & 0x1F) * k) >> 5) << 10 | ((((c >> 5) & 0x1F) * k) >> 5) << 5 |
               (((c & 0x1F) * k) >> 5);
    t.weight = f5;
    t.colourTerm = term | term << 16;
    return t;
}

// Two 15/16-bit pixels at once: the channels are spread over a 32-bit word
// with room to multiply, masked back, and the colour added without carries.
inline uint32_t MixPair(uint32_t pair, unsigned f5, uint32_t lowMask, uint32_t highMask, uint32_t colourPair)
{
    uint32_t lo = pair & lowMask;
    uint32_t hi = (pair & highMask) >> 5;
    return (((lo * f5) >> 5) & lowMask) + ((hi * f5) & highMask) + colourPair;
}

void BlendRowPairs(const uint16_t *src, uint16_t *dst, int w, const BlendTerms &t, uint32_t lowMask,
                   uint32_t highMask)
{
    int i = 0;
    for (; i + 2 <= w; i += 2) {
        uint32_t pair;
        std::memcpy(&pair, src + i, 4);
        pair = MixPair(pair, t.weight, lowMask, highMask, t.colourTerm);
        std::memcpy(dst + i, &pair, 4);
    }
    if (i < w)
        dst[i] = (uint16_t)MixPair(src[i], t.weight, lowMask, highMask, t.colourTerm);
}

}  // namespace

void BlendRow32Scalar(const uint32_t *src, uint32_t *dst, int w, const BlendTerms &t)
{
    uint32_t f = t.weight;
    for (int i = 0; i < w; i++) {
        uint32_t s = src[i];
        dst[i] =
            ((((s & 0xFF00FF) * f) >> 8) & 0xFF00FF) + ((((s & 0xFF00) * f) >> 8) & 0xFF00) + t.colourTerm;
    }
}

void BlendRow16Scalar(const uint16_t *src, uint16_t *dst, int w, const BlendTerms &t)
{
    BlendRowPairs(src, dst, w, t, 0x07E0F81F, 0xF81F07E0);
}

void BlendRow15Scalar(const uint16_t *src, uint16_t *dst, int w, const BlendTerms &t)
{
    BlendRowPairs(src, dst, w, t, 0x03E07C1F, 0x7C1F03E0);
}

BlendPath SetBlendPath(BlendPath path)
{
    requestedPath = path;
    return Resolve(path);
}

BlendPath ActiveBlendPath()
{
    return Resolve(requestedPath);
}

void BlendToColour(BITMAP *source, BITMAP *destination, int x, int y, int colour, int factor)
{
    if (!source || !destination)
        return;

    // Clipped against the destination's whole area, not its clip rectangle.
    int w = source->w, h = source->h, sx = 0, sy = 0;
    if (x < 0) {
        w += x;
        sx = -x;
        x = 0;
    }
    if (y < 0) {
        h += y;
        sy = -y;
        y = 0;
    }
    if (x + w >= destination->w)
        w = destination->w - x;
    if (y + h >= destination->h)
        h = destination->h - y;
    if (w < 1 || h < 1)
        return;

    int depth = bitmap_color_depth(destination);
    if (bitmap_color_depth(source) != depth || (depth != 15 && depth != 16 && depth != 32))
        return;

    if (factor >= 255) {
        blit(source, destination, sx, sy, x, y, w, h);
        return;
    }
    if (factor <= 0) {
        rectfill(destination, x, y, x + w - 1, y + h - 1, colour);
        return;
    }

    BlendTerms terms = Terms(depth, colour, factor);
    RowSet rows = Rows(ActiveBlendPath());
    acquire_bitmap(destination);
    for (int j = 0; j < h; j++) {
        unsigned char *to = (unsigned char *)bmp_write_line(destination, y + j);
        const unsigned char *from = source->line[sy + j];
        if (depth == 32)
            rows.row32((const uint32_t *)from + sx, (uint32_t *)to + x, w, terms);
        else if (depth == 16)
            rows.row16((const uint16_t *)from + sx, (uint16_t *)to + x, w, terms);
        else
            rows.row15((const uint16_t *)from + sx, (uint16_t *)to + x, w, terms);
    }
    bmp_unwrite_line(destination);
    release_bitmap(destination);
}

void Fade(BITMAP *source, BITMAP *destination, int x, int y, int mode, int colour, int delayMs,
          void (*wait)(int ms))
{
    int first, last, step;
    switch (mode) {
    case 0:
        first = 0;
        last = 254;
        step = 1;
        break;
    case 1:
        first = 255;
        last = 1;
        step = -1;
        break;
    case 2:
        first = 255;
        last = 96;
        step = -1;
        break;
    case 3:
        first = 0;
        last = 127;
        step = 1;
        break;
    default: return;
    }
    for (int factor = first;; factor += step) {
        BlendToColour(source, destination, x, y, colour, factor);
        if (wait)
            wait(delayMs);
        if (factor == last)
            break;
    }
}

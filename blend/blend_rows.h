// blend_rows.h: the per-row mixing routines behind BlendToColour, one set per
// instruction set. Inside the blend subsystem only.
#ifndef DELVORN_BLEND_ROWS_H
#define DELVORN_BLEND_ROWS_H

#include <cstdint>

// What a row needs besides its pixels: the source weight (1..254 for 32 bits,
// f5 = 1..32 for 15/16 bits) and the colour's share, already weighted and
// packed as a pixel (32 bits: one pixel; 15/16 bits: the pixel in both halves).
struct BlendTerms {
    unsigned weight;
    uint32_t colourTerm;
};

typedef void (*BlendRow32)(const uint32_t *src, uint32_t *dst, int w, const BlendTerms &t);
typedef void (*BlendRow16)(const uint16_t *src, uint16_t *dst, int w, const BlendTerms &t);

void BlendRow32Scalar(const uint32_t *src, uint32_t *dst, int w, const BlendTerms &t);
void BlendRow16Scalar(const uint16_t *src, uint16_t *dst, int w, const BlendTerms &t);
void BlendRow15Scalar(const uint16_t *src, uint16_t *dst, int w, const BlendTerms &t);

#if defined(__x86_64__) || defined(__i386__)
#define DELVORN_BLEND_X86 1
void BlendRow32Sse2(const uint32_t *src, uint32_t *dst, int w, const BlendTerms &t);
void BlendRow16Sse2(const uint16_t *src, uint16_t *dst, int w, const BlendTerms &t);
void BlendRow15Sse2(const uint16_t *src, uint16_t *dst, int w, const BlendTerms &t);
void BlendRow32Avx2(const uint32_t *src, uint32_t *dst, int w, const BlendTerms &t);
void BlendRow16Avx2(const uint16_t *src, uint16_t *dst, int w, const BlendTerms &t);
void BlendRow15Avx2(const uint16_t *src, uint16_t *dst, int w, const BlendTerms &t);
#endif

#endif

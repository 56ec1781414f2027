// blend_simd.cpp: the SSE2 and AVX2 rows of BlendToColour. Products are
// taken in 16-bit lanes and cut back with shifts and masks, which rounds down
// exactly as the plain rows do; a row's last few pixels go to those rows.
#include "blend/blend_rows.h"

#ifdef DELVORN_BLEND_X86
#include <immintrin.h>

#define AVX2 __attribute__((target("avx2")))

// --- SSE2, 4 (32-bit) or 8 (15/16-bit) pixels per step ---------------------

// 32 bits: bytes widened to 16-bit lanes, multiplied by the weight, >> 8.

void BlendRow32Sse2(const uint32_t *src, uint32_t *dst, int w, const BlendTerms &t)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i weight = _mm_set1_epi16((short)t.weight);
    const __m128i colour = _mm_set1_epi32((int)t.colourTerm);
    const __m128i rgb = _mm_set1_epi32(0x00FFFFFF);
    int i = 0;
    for (; i + 4 <= w; i += 4) {
        __m128i s = _mm_loadu_si128((const __m128i *)(src + i));
        __m128i lo = _mm_srli_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(s, zero), weight), 8);
        __m128i hi = _mm_srli_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(s, zero), weight), 8);
        __m128i out = _mm_add_epi8(_mm_packus_epi16(lo, hi), colour);
        _mm_storeu_si128((__m128i *)(dst + i), _mm_and_si128(out, rgb));
    }
    BlendRow32Scalar(src + i, dst + i, w - i, t);
}

// 15/16 bits: red and blue share one multiply. mulhi by f5 << 11 is a
// multiply by f5 and a shift right by 5 in one, and for red+blue (as for
// green) the whole-channel products never reach each other's bits, so
// masking keeps exactly floor(channel x f5 / 32) in place. f5 = 32 does not
// fit that multiplier; it is the picture itself (keep = the pixel's bits).
struct Masks16 {
    uint16_t redBlue, green, keep;
};
const Masks16 masks16 = {0xF81F, 0x07E0, 0xFFFF};
const Masks16 masks15 = {0x7C1F, 0x03E0, 0x7FFF};

static void BlendRow16BitSse2(const uint16_t *src, uint16_t *dst, int w, const BlendTerms &t,
                              const Masks16 &m,
                              void (*tail)(const uint16_t *, uint16_t *, int, const BlendTerms &))
{
    const __m128i redBlue = _mm_set1_epi16((short)m.redBlue);
    const __m128i green = _mm_set1_epi16((short)m.green);
    int i = 0;
    if (t.weight >= 32) {
        const __m128i keep = _mm_set1_epi16((short)m.keep);
        for (; i + 8 <= w; i += 8) {
            __m128i p = _mm_loadu_si128((const __m128i *)(src + i));
            _mm_storeu_si128((__m128i *)(dst + i), _mm_and_si128(p, keep));
        }
    } else {
        const __m128i weight = _mm_set1_epi16((short)(t.weight << 11));
        const __m128i colour = _mm_set1_epi32((int)t.colourTerm);
        for (; i + 8 <= w; i += 8) {
            __m128i p = _mm_loadu_si128((const __m128i *)(src + i));
            __m128i rb = _mm_and_si128(_mm_mulhi_epu16(_mm_and_si128(p, redBlue), weight), redBlue);
            __m128i g = _mm_and_si128(_mm_mulhi_epu16(_mm_and_si128(p, green), weight), green);
            _mm_storeu_si128((__m128i *)(dst + i), _mm_add_epi16(_mm_or_si128(rb, g), colour));
        }
    }
    tail(src + i, dst + i, w - i, t);
}

void BlendRow16Sse2(const uint16_t *src, uint16_t *dst, int w, const BlendTerms &t)
{
    BlendRow16BitSse2(src, dst, w, t, masks16, BlendRow16Scalar);
}

void BlendRow15Sse2(const uint16_t *src, uint16_t *dst, int w, const BlendTerms &t)
{
    BlendRow16BitSse2(src, dst, w, t, masks15, BlendRow15Scalar);
}

// --- AVX2, 8 (32-bit) or 16 (15/16-bit) pixels per step ---------------------
// unpack and pack work within 128-bit lanes, so the pixel order survives.

AVX2 void BlendRow32Avx2(const uint32_t *src, uint32_t *dst, int w, const BlendTerms &t)
{
    const __m256i zero = _mm256_setzero_si256();
    const __m256i weight = _mm256_set1_epi16((short)t.weight);
    const __m256i colour = _mm256_set1_epi32((int)t.colourTerm);
    const __m256i rgb = _mm256_set1_epi32(0x00FFFFFF);
    int i = 0;
    for (; i + 8 <= w; i += 8) {
        __m256i s = _mm256_loadu_si256((const __m256i *)(src + i));
        __m256i lo = _mm256_srli_epi16(_mm256_mullo_epi16(_mm256_unpacklo_epi8(s, zero), weight), 8);
        __m256i hi = _mm256_srli_epi16(_mm256_mullo_epi16(_mm256_unpackhi_epi8(s, zero), weight), 8);
        __m256i out = _mm256_add_epi8(_mm256_packus_epi16(lo, hi), colour);
        _mm256_storeu_si256((__m256i *)(dst + i), _mm256_and_si256(out, rgb));
    }
    BlendRow32Sse2(src + i, dst + i, w - i, t);
}

AVX2 static void BlendRow16BitAvx2(const uint16_t *src, uint16_t *dst, int w, const BlendTerms &t,
                                   const Masks16 &m,
                                   void (*tail)(const uint16_t *, uint16_t *, int, const BlendTerms &))
{
    const __m256i redBlue = _mm256_set1_epi16((short)m.redBlue);
    const __m256i green = _mm256_set1_epi16((short)m.green);
    int i = 0;
    if (t.weight >= 32) {
        const __m256i keep = _mm256_set1_epi16((short)m.keep);
        for (; i + 16 <= w; i += 16) {
            __m256i p = _mm256_loadu_si256((const __m256i *)(src + i));
            _mm256_storeu_si256((__m256i *)(dst + i), _mm256_and_si256(p, keep));
        }
    } else {
        const __m256i weight = _mm256_set1_epi16((short)(t.weight << 11));
        const __m256i colour = _mm256_set1_epi32((int)t.colourTerm);
        for (; i + 16 <= w; i += 16) {
            __m256i p = _mm256_loadu_si256((const __m256i *)(src + i));
            __m256i rb = _mm256_and_si256(_mm256_mulhi_epu16(_mm256_and_si256(p, redBlue), weight), redBlue);
            __m256i g = _mm256_and_si256(_mm256_mulhi_epu16(_mm256_and_si256(p, green), weight), green);
            _mm256_storeu_si256((__m256i *)(dst + i), _mm256_add_epi16(_mm256_or_si256(rb, g), colour));
        }
    }
    tail(src + i, dst + i, w - i, t);
}

AVX2 void BlendRow16Avx2(const uint16_t *src, uint16_t *dst, int w, const BlendTerms &t)
{
    BlendRow16BitAvx2(src, dst, w, t, masks16, BlendRow16Sse2);
}

AVX2 void BlendRow15Avx2(const uint16_t *src, uint16_t *dst, int w, const BlendTerms &t)
{
    BlendRow16BitAvx2(src, dst, w, t, masks15, BlendRow15Sse2);
}

#endif

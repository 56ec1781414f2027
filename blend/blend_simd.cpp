// blend_simd.cpp: the SSE2 and AVX2 rows of BlendToColour. Channels are
// widened to 16-bit lanes, multiplied by the weight and shifted, which is the
// same rounding down as the plain rows; the row's tail goes to those rows.
#include "blend/blend_rows.h"

#ifdef DELVORN_BLEND_X86
#include <immintrin.h>

#define AVX2 __attribute__((target("avx2")))

// --- SSE2, 4 (32-bit) or 8 (15/16-bit) pixels per step ---------------------

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

// shift: where red starts (11 for 16 bits, 10 for 15); greenMask: 0x3F or 0x1F.
static inline __m128i Mix16Sse2(__m128i p, __m128i weight, __m128i colour, int shift, __m128i greenMask,
                                __m128i five)
{
    __m128i r = _mm_and_si128(_mm_srli_epi16(p, shift), five);
    __m128i g = _mm_and_si128(_mm_srli_epi16(p, 5), greenMask);
    __m128i b = _mm_and_si128(p, five);
    r = _mm_srli_epi16(_mm_mullo_epi16(r, weight), 5);
    g = _mm_srli_epi16(_mm_mullo_epi16(g, weight), 5);
    b = _mm_srli_epi16(_mm_mullo_epi16(b, weight), 5);
    __m128i out = _mm_or_si128(_mm_or_si128(_mm_slli_epi16(r, shift), _mm_slli_epi16(g, 5)), b);
    return _mm_add_epi16(out, colour);
}

static void BlendRow16BitSse2(const uint16_t *src, uint16_t *dst, int w, const BlendTerms &t, int shift,
                              int greenMax,
                              void (*tail)(const uint16_t *, uint16_t *, int, const BlendTerms &))
{
    const __m128i weight = _mm_set1_epi16((short)t.weight);
    const __m128i colour = _mm_set1_epi32((int)t.colourTerm);
    const __m128i greenMask = _mm_set1_epi16((short)greenMax);
    const __m128i five = _mm_set1_epi16(0x1F);
    int i = 0;
    for (; i + 8 <= w; i += 8) {
        __m128i s = _mm_loadu_si128((const __m128i *)(src + i));
        _mm_storeu_si128((__m128i *)(dst + i), Mix16Sse2(s, weight, colour, shift, greenMask, five));
    }
    tail(src + i, dst + i, w - i, t);
}

void BlendRow16Sse2(const uint16_t *src, uint16_t *dst, int w, const BlendTerms &t)
{
    BlendRow16BitSse2(src, dst, w, t, 11, 0x3F, BlendRow16Scalar);
}

void BlendRow15Sse2(const uint16_t *src, uint16_t *dst, int w, const BlendTerms &t)
{
    BlendRow16BitSse2(src, dst, w, t, 10, 0x1F, BlendRow15Scalar);
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

AVX2 static void BlendRow16BitAvx2(const uint16_t *src, uint16_t *dst, int w, const BlendTerms &t, int shift,
                                   int greenMax,
                                   void (*tail)(const uint16_t *, uint16_t *, int, const BlendTerms &))
{
    const __m256i weight = _mm256_set1_epi16((short)t.weight);
    const __m256i colour = _mm256_set1_epi32((int)t.colourTerm);
    const __m256i greenMask = _mm256_set1_epi16((short)greenMax);
    const __m256i five = _mm256_set1_epi16(0x1F);
    const __m128i count = _mm_cvtsi32_si128(shift);
    int i = 0;
    for (; i + 16 <= w; i += 16) {
        __m256i p = _mm256_loadu_si256((const __m256i *)(src + i));
        __m256i r = _mm256_and_si256(_mm256_srl_epi16(p, count), five);
        __m256i g = _mm256_and_si256(_mm256_srli_epi16(p, 5), greenMask);
        __m256i b = _mm256_and_si256(p, five);
        r = _mm256_srli_epi16(_mm256_mullo_epi16(r, weight), 5);
        g = _mm256_srli_epi16(_mm256_mullo_epi16(g, weight), 5);
        b = _mm256_srli_epi16(_mm256_mullo_epi16(b, weight), 5);
        __m256i out =
            _mm256_or_si256(_mm256_or_si256(_mm256_sll_epi16(r, count), _mm256_slli_epi16(g, 5)), b);
        _mm256_storeu_si256((__m256i *)(dst + i), _mm256_add_epi16(out, colour));
    }
    tail(src + i, dst + i, w - i, t);
}

AVX2 void BlendRow16Avx2(const uint16_t *src, uint16_t *dst, int w, const BlendTerms &t)
{
    BlendRow16BitAvx2(src, dst, w, t, 11, 0x3F, BlendRow16Sse2);
}

AVX2 void BlendRow15Avx2(const uint16_t *src, uint16_t *dst, int w, const BlendTerms &t)
{
    BlendRow16BitAvx2(src, dst, w, t, 10, 0x1F, BlendRow15Sse2);
}

#endif

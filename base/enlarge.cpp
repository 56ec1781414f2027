// enlarge.cpp: see enlarge.h. SSE2 (every x86-64 processor) does the masked
// copy and the factors 2 and 4, SSSE3's byte shuffle the factor 3; a row's
// last pixels and other processors take the plain loops.
#include "base/enlarge.h"

#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#define DELVORN_ENLARGE_X86
#include <immintrin.h>
#endif

namespace {

void MaskedCopyPlain(const uint16_t *from, uint16_t *shown, int w, uint16_t mask)
{
    for (int i = 0; i < w; i++)
        if (from[i] != mask)
            shown[i] = from[i];
}

void EnlargePlain(const uint16_t *from, uint16_t *out, int w, int factor)
{
    for (int i = 0; i < w; i++)
        for (int k = 0; k < factor; k++)
            *out++ = from[i];
}

#ifdef DELVORN_ENLARGE_X86

__attribute__((target("sse2"))) int MaskedCopySse2(const uint16_t *from, uint16_t *shown, int w,
                                                   uint16_t mask)
{
    const __m128i m = _mm_set1_epi16((short)mask);
    int i = 0;
    for (; i + 8 <= w; i += 8) {
        __m128i s = _mm_loadu_si128((const __m128i *)(from + i));
        __m128i keep = _mm_cmpeq_epi16(s, m);
        __m128i d = _mm_loadu_si128((const __m128i *)(shown + i));
        _mm_storeu_si128((__m128i *)(shown + i),
                         _mm_or_si128(_mm_and_si128(keep, d), _mm_andnot_si128(keep, s)));
    }
    return i;
}

__attribute__((target("sse2"))) int Enlarge2Sse2(const uint16_t *from, uint16_t *out, int w)
{
    int i = 0;
    for (; i + 8 <= w; i += 8) {
        __m128i p = _mm_loadu_si128((const __m128i *)(from + i));
        _mm_storeu_si128((__m128i *)(out + 2 * i), _mm_unpacklo_epi16(p, p));
        _mm_storeu_si128((__m128i *)(out + 2 * i + 8), _mm_unpackhi_epi16(p, p));
    }
    return i;
}

__attribute__((target("sse2"))) int Enlarge4Sse2(const uint16_t *from, uint16_t *out, int w)
{
    int i = 0;
    for (; i + 8 <= w; i += 8) {
        __m128i p = _mm_loadu_si128((const __m128i *)(from + i));
        __m128i lo = _mm_unpacklo_epi16(p, p), hi = _mm_unpackhi_epi16(p, p);
        uint16_t *o = out + 4 * i;
        _mm_storeu_si128((__m128i *)o, _mm_unpacklo_epi32(lo, lo));
        _mm_storeu_si128((__m128i *)(o + 8), _mm_unpackhi_epi32(lo, lo));
        _mm_storeu_si128((__m128i *)(o + 16), _mm_unpacklo_epi32(hi, hi));
        _mm_storeu_si128((__m128i *)(o + 24), _mm_unpackhi_epi32(hi, hi));
    }
    return i;
}

// Output pixel j of a group of 24 is input pixel j / 3: three shuffles of
// the same eight pixels.
__attribute__((target("ssse3"))) int Enlarge3Ssse3(const uint16_t *from, uint16_t *out, int w)
{
    const __m128i s0 = _mm_setr_epi8(0, 1, 0, 1, 0, 1, 2, 3, 2, 3, 2, 3, 4, 5, 4, 5);
    const __m128i s1 = _mm_setr_epi8(4, 5, 6, 7, 6, 7, 6, 7, 8, 9, 8, 9, 8, 9, 10, 11);
    const __m128i s2 = _mm_setr_epi8(10, 11, 10, 11, 12, 13, 12, 13, 12, 13, 14, 15, 14, 15, 14, 15);
    int i = 0;
    for (; i + 8 <= w; i += 8) {
        __m128i p = _mm_loadu_si128((const __m128i *)(from + i));
        uint16_t *o = out + 3 * i;
        _mm_storeu_si128((__m128i *)o, _mm_shuffle_epi8(p, s0));
        _mm_storeu_si128((__m128i *)(o + 8), _mm_shuffle_epi8(p, s1));
        _mm_storeu_si128((__m128i *)(o + 16), _mm_shuffle_epi8(p, s2));
    }
    return i;
}

bool HasSsse3()
{
    static const bool has = __builtin_cpu_supports("ssse3");
    return has;
}

#endif

}  // namespace

void MaskedCopyRow16(const uint16_t *from, uint16_t *shown, int w, uint16_t mask)
{
    int done = 0;
#ifdef DELVORN_ENLARGE_X86
    done = MaskedCopySse2(from, shown, w, mask);
#endif
    MaskedCopyPlain(from + done, shown + done, w - done, mask);
}

void EnlargeRow16(const uint16_t *from, uint16_t *out, int w, int factor)
{
    int done = 0;
#ifdef DELVORN_ENLARGE_X86
    if (factor == 2)
        done = Enlarge2Sse2(from, out, w);
    else if (factor == 4)
        done = Enlarge4Sse2(from, out, w);
    else if (factor == 3 && HasSsse3())
        done = Enlarge3Ssse3(from, out, w);
#endif
    EnlargePlain(from + done, out + done * factor, w - done, factor);
}

// enlarge.cpp: see enlarge.h. Each row first takes the masked copy into the
// shown picture, which also tells whether it changed; a changed row is then
// enlarged. With AVX2, factors 2 and 3 are stored straight into all their
// rows, and 4 is enlarged across into a cached line (byte shuffles of eight
// pixels held twice in a register) and copied down; SSE2 (every x86-64
// processor) takes the factors 2 and 4 otherwise. A row's last pixels, other
// factors and other processors take the plain loop.
#include "base/enlarge.h"

#include <cstring>
#include <vector>

#if defined(__x86_64__) || defined(__i386__)
#define DELVORN_ENLARGE_X86
#include <immintrin.h>
#endif

namespace {

// Pixels [i, w) of the row: shown updated from `from` (when given), each
// pixel written `factor` times.
void RowPlain(const uint16_t *from, uint16_t *shown, uint16_t *out, int i, int w, int factor, uint16_t mask,
              unsigned &changed)
{
    for (; i < w; i++) {
        if (from && from[i] != mask) {
            changed |= shown[i] != from[i];
            shown[i] = from[i];
        }
        for (int k = 0; k < factor; k++)
            out[i * factor + k] = shown[i];
    }
}

#ifdef DELVORN_ENLARGE_X86

// The next eight pixels shown, kept in `shown`; `changed` gains a bit for
// each byte that differs from what was shown.
__attribute__((target("sse2"))) inline __m128i Next8(const uint16_t *from, uint16_t *shown, __m128i mask,
                                                     unsigned &changed)
{
    __m128i old = _mm_loadu_si128((const __m128i *)shown);
    if (!from)
        return old;
    __m128i s = _mm_loadu_si128((const __m128i *)from);
    __m128i keep = _mm_cmpeq_epi16(s, mask);
    s = _mm_or_si128(_mm_and_si128(keep, old), _mm_andnot_si128(keep, s));
    changed |= (unsigned)_mm_movemask_epi8(_mm_cmpeq_epi16(s, old)) ^ 0xFFFFu;
    _mm_storeu_si128((__m128i *)shown, s);
    return s;
}

__attribute__((target("sse2"))) int Row2Sse2(const uint16_t *from, uint16_t *shown, uint16_t *out, int w,
                                             uint16_t mask, unsigned &changed)
{
    const __m128i m = _mm_set1_epi16((short)mask);
    int i = 0;
    for (; i + 8 <= w; i += 8) {
        __m128i p = Next8(from ? from + i : nullptr, shown + i, m, changed);
        _mm_storeu_si128((__m128i *)(out + 2 * i), _mm_unpacklo_epi16(p, p));
        _mm_storeu_si128((__m128i *)(out + 2 * i + 8), _mm_unpackhi_epi16(p, p));
    }
    return i;
}

__attribute__((target("sse2"))) int Row4Sse2(const uint16_t *from, uint16_t *shown, uint16_t *out, int w,
                                             uint16_t mask, unsigned &changed)
{
    const __m128i m = _mm_set1_epi16((short)mask);
    int i = 0;
    for (; i + 8 <= w; i += 8) {
        __m128i p = Next8(from ? from + i : nullptr, shown + i, m, changed);
        __m128i lo = _mm_unpacklo_epi16(p, p), hi = _mm_unpackhi_epi16(p, p);
        _mm_storeu_si128((__m128i *)(out + 4 * i), _mm_unpacklo_epi32(lo, lo));
        _mm_storeu_si128((__m128i *)(out + 4 * i + 8), _mm_unpackhi_epi32(lo, lo));
        _mm_storeu_si128((__m128i *)(out + 4 * i + 16), _mm_unpacklo_epi32(hi, hi));
        _mm_storeu_si128((__m128i *)(out + 4 * i + 24), _mm_unpackhi_epi32(hi, hi));
    }
    return i;
}

// The same for sixteen pixels.
__attribute__((target("avx2"))) inline __m256i Next16(const uint16_t *from, uint16_t *shown, __m256i mask,
                                                      unsigned &changed)
{
    __m256i old = _mm256_loadu_si256((const __m256i *)shown);
    if (!from)
        return old;
    __m256i s = _mm256_blendv_epi8(_mm256_loadu_si256((const __m256i *)from), old,
                                   _mm256_cmpeq_epi16(_mm256_loadu_si256((const __m256i *)from), mask));
    changed |= ~(unsigned)_mm256_movemask_epi8(_mm256_cmpeq_epi16(s, old));
    _mm256_storeu_si256((__m256i *)shown, s);
    return s;
}

// Sixteen pixels become 16 x factor, eight at a time: `factor` groups of
// eight out of each eight, group j holding pixels (8j + m) / factor. The
// groups go out in pairs, one shuffle of the eight pixels (in both halves of
// the register) each; an odd last group alone.
template <int factor>
__attribute__((target("avx2"))) int RowAvx2(const uint16_t *from, uint16_t *shown, uint16_t *out, int w,
                                            uint16_t mask, unsigned &changed)
{
    alignas(16) uint8_t group[factor][16];
    for (int j = 0; j < factor; j++)
        for (int m = 0; m < 8; m++) {
            const int source = (8 * j + m) / factor;
            group[j][2 * m] = (uint8_t)(2 * source);
            group[j][2 * m + 1] = (uint8_t)(2 * source + 1);
        }
    __m256i pairs[factor / 2 + 1];
    for (int c = 0; c < factor / 2; c++)
        pairs[c] = _mm256_loadu2_m128i((const __m128i *)group[2 * c + 1], (const __m128i *)group[2 * c]);
    const __m128i last = _mm_load_si128((const __m128i *)group[factor - 1]);
    const __m256i m = _mm256_set1_epi16((short)mask);
    int i = 0;
    for (; i + 16 <= w; i += 16) {
        __m256i p = Next16(from ? from + i : nullptr, shown + i, m, changed);
        for (int half = 0; half < 2; half++) {
            const __m128i eight = half ? _mm256_extracti128_si256(p, 1) : _mm256_castsi256_si128(p);
            const __m256i both = _mm256_broadcastsi128_si256(eight);
            uint16_t *o = out + (i + 8 * half) * factor;
            for (int c = 0; c < factor / 2; c++)
                _mm256_storeu_si256((__m256i *)(o + 16 * c), _mm256_shuffle_epi8(both, pairs[c]));
            if (factor % 2)
                _mm_storeu_si128((__m128i *)(o + 8 * (factor - 1)), _mm_shuffle_epi8(eight, last));
        }
    }
    return i;
}

// Factor 1: the masked copy alone, `out` being `shown` itself.
__attribute__((target("avx2"))) int Row1Avx2(const uint16_t *from, uint16_t *shown, int w, uint16_t mask,
                                             unsigned &changed)
{
    const __m256i m = _mm256_set1_epi16((short)mask);
    int i = 0;
    for (; from && i + 16 <= w; i += 16)
        Next16(from + i, shown + i, m, changed);
    return i;
}

// Factors 2 and 3 straight into their rows: each vector of the row
// enlarged across is stored in every row at once. Faster at these factors
// than a cached line copied down; returns the pixels done.
__attribute__((target("avx2"))) int DoubleAvx2(const uint16_t *shown, uint16_t *const *rows, int w)
{
    int i = 0;
    for (; i + 16 <= w; i += 16) {
        // Quarters 0 2 1 3: each half's low and high quarter doubled in turn.
        __m256i q = _mm256_permute4x64_epi64(_mm256_loadu_si256((const __m256i *)(shown + i)), 0xD8);
        __m256i lo = _mm256_unpacklo_epi16(q, q), hi = _mm256_unpackhi_epi16(q, q);
        for (int r = 0; r < 2; r++) {
            _mm256_storeu_si256((__m256i *)(rows[r] + 2 * i), lo);
            _mm256_storeu_si256((__m256i *)(rows[r] + 2 * i + 16), hi);
        }
    }
    return i;
}

// Output pixel j of a group of 24 is input pixel j / 3.
__attribute__((target("avx2"))) int TripleAvx2(const uint16_t *shown, uint16_t *const *rows, int w)
{
    const __m256i pair = _mm256_setr_epi8(0, 1, 0, 1, 0, 1, 2, 3, 2, 3, 2, 3, 4, 5, 4, 5, 4, 5, 6, 7, 6, 7, 6,
                                          7, 8, 9, 8, 9, 8, 9, 10, 11);
    const __m128i last = _mm_setr_epi8(10, 11, 10, 11, 12, 13, 12, 13, 12, 13, 14, 15, 14, 15, 14, 15);
    int i = 0;
    for (; i + 8 <= w; i += 8) {
        const __m128i eight = _mm_loadu_si128((const __m128i *)(shown + i));
        const __m256i a = _mm256_shuffle_epi8(_mm256_broadcastsi128_si256(eight), pair);
        const __m128i b = _mm_shuffle_epi8(eight, last);
        for (int r = 0; r < 3; r++) {
            _mm256_storeu_si256((__m256i *)(rows[r] + 3 * i), a);
            _mm_storeu_si128((__m128i *)(rows[r] + 3 * i + 16), b);
        }
    }
    return i;
}

int RowSimd(const uint16_t *from, uint16_t *shown, uint16_t *out, int w, int factor, uint16_t mask,
            unsigned &changed)
{
    static const bool avx2 = __builtin_cpu_supports("avx2");
    if (factor == 1)
        return avx2 && out == shown ? Row1Avx2(from, shown, w, mask, changed) : 0;
    if (avx2 && factor == 4)
        return RowAvx2<4>(from, shown, out, w, mask, changed);
    if (factor == 2)
        return Row2Sse2(from, shown, out, w, mask, changed);
    if (factor == 4)
        return Row4Sse2(from, shown, out, w, mask, changed);
    return 0;
}

#endif

}  // namespace

bool EnlargeRow16(const uint16_t *from, uint16_t *shown, uint16_t *out, int w, int factor, uint16_t mask)
{
    int done = 0;
    unsigned changed = from ? 0 : 1;
#ifdef DELVORN_ENLARGE_X86
    done = RowSimd(from, shown, out, w, factor, mask, changed);
#endif
    RowPlain(from, shown, out, done, w, factor, mask, changed);
    return changed != 0;
}

RowBand EnlargePicture(BITMAP *from, BITMAP *shown, BITMAP *to, int x, int y, int factor, bool everyRow)
{
    int first = -1, last = -1;
    if (!shown) {
        // The target's own pixels are the shown picture: the masked copy alone.
        const uint16_t mask = (uint16_t)bitmap_mask_color(to);
        for (int row = 0; row < from->h; row++) {
            uint16_t *line = (uint16_t *)bmp_write_line(to, y + row) + x;
            if (EnlargeRow16((const uint16_t *)from->line[row], line, line, from->w, 1, mask) || everyRow) {
                first = first < 0 ? row : first;
                last = row;
            }
        }
        bmp_unwrite_line(to);
        return first < 0 ? RowBand{y, 0} : RowBand{y + first, last - first + 1};
    }
    const uint16_t mask = (uint16_t)bitmap_mask_color(shown);
    // Each row is enlarged across into a line that stays in the cache, then
    // copied down: the picture's rows are written one after the other, at
    // the speed of a plain copy, which many rows written at once are not.
    // A row that shows what it showed before is not written again.
#ifdef DELVORN_ENLARGE_X86
    static const bool avx2 = __builtin_cpu_supports("avx2");
    if ((factor == 2 || factor == 3) && avx2) {
        uint16_t *rows[3];
        for (int row = 0; row < shown->h; row++) {
            uint16_t *line = (uint16_t *)shown->line[row];
            if (!EnlargeRow16(from ? (const uint16_t *)from->line[row] : nullptr, line, line, shown->w, 1,
                              mask) &&
                !everyRow)
                continue;
            first = first < 0 ? row : first;
            last = row;
            for (int r = 0; r < factor; r++)
                rows[r] = (uint16_t *)bmp_write_line(to, y + factor * row + r) + x;
            int i = factor == 2 ? DoubleAvx2(line, rows, shown->w) : TripleAvx2(line, rows, shown->w);
            for (; i < shown->w; i++)
                for (int r = 0; r < factor; r++)
                    for (int k = 0; k < factor; k++)
                        rows[r][factor * i + k] = line[i];
        }
        bmp_unwrite_line(to);
        return first < 0 ? RowBand{y, 0} : RowBand{y + first * factor, (last - first + 1) * factor};
    }
#endif
    static std::vector<uint16_t> line;
    line.resize((size_t)shown->w * factor);  // grows once, for the first picture
    for (int row = 0; row < shown->h; row++) {
        if (!EnlargeRow16(from ? (const uint16_t *)from->line[row] : nullptr, (uint16_t *)shown->line[row],
                          line.data(), shown->w, factor, mask) &&
            !everyRow)
            continue;
        first = first < 0 ? row : first;
        last = row;
        for (int r = 0; r < factor; r++)
            std::memcpy((uint16_t *)bmp_write_line(to, y + row * factor + r) + x, line.data(),
                        sizeof(uint16_t) * line.size());
    }
    bmp_unwrite_line(to);
    return first < 0 ? RowBand{y, 0} : RowBand{y + first * factor, (last - first + 1) * factor};
}

// masked_sprite.cpp: masked sprite drawing on memory bitmaps, with SSE2
// where the processor has it (every x86-64 does); filling and copying whole
// memory bitmaps a row at a time.
#include "base/masked_sprite.h"

#include <cstdint>
#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// One row: destination keeps its pixel wherever the source has the mask colour.
void Row16(uint16_t *d, const uint16_t *s, int n, uint16_t mask)
{
    int i = 0;
#if defined(__SSE2__)
    const __m128i m = _mm_set1_epi16((short)mask);
    for (; i + 8 <= n; i += 8) {
        __m128i src = _mm_loadu_si128((const __m128i *)(s + i));
        __m128i dst = _mm_loadu_si128((const __m128i *)(d + i));
        __m128i skip = _mm_cmpeq_epi16(src, m);
        _mm_storeu_si128((__m128i *)(d + i),
                         _mm_or_si128(_mm_and_si128(skip, dst), _mm_andnot_si128(skip, src)));
    }
#endif
    for (; i < n; i++)
        if (s[i] != mask)
            d[i] = s[i];
}

void Row32(uint32_t *d, const uint32_t *s, int n, uint32_t mask)
{
    int i = 0;
#if defined(__SSE2__)
    const __m128i m = _mm_set1_epi32((int)mask);
    for (; i + 4 <= n; i += 4) {
        __m128i src = _mm_loadu_si128((const __m128i *)(s + i));
        __m128i dst = _mm_loadu_si128((const __m128i *)(d + i));
        __m128i skip = _mm_cmpeq_epi32(src, m);
        _mm_storeu_si128((__m128i *)(d + i),
                         _mm_or_si128(_mm_and_si128(skip, dst), _mm_andnot_si128(skip, src)));
    }
#endif
    for (; i < n; i++)
        if (s[i] != mask)
            d[i] = s[i];
}

}  // namespace

void DrawMaskedSprite(BITMAP *target, BITMAP *sprite, int x, int y)
{
    if (!target || !sprite)
        return;
    int depth = bitmap_color_depth(sprite);
    if (!is_memory_bitmap(target) || !is_memory_bitmap(sprite) || bitmap_color_depth(target) != depth ||
        (depth != 15 && depth != 16 && depth != 32)) {
        draw_sprite(target, sprite, x, y);
        return;
    }
    // The part of the sprite inside the clipping rectangle (the whole target without one).
    int left = target->clip ? target->cl : 0, top = target->clip ? target->ct : 0;
    int right = target->clip ? target->cr : target->w, bottom = target->clip ? target->cb : target->h;
    int sx = 0, sy = 0, w = sprite->w, h = sprite->h;
    if (x < left) {
        sx = left - x;
        w -= sx;
        x = left;
    }
    if (y < top) {
        sy = top - y;
        h -= sy;
        y = top;
    }
    if (x + w > right)
        w = right - x;
    if (y + h > bottom)
        h = bottom - y;
    if (w <= 0 || h <= 0)
        return;

    uint32_t mask = (uint32_t)bitmap_mask_color(sprite);
    for (int r = 0; r < h; r++) {
        if (depth == 32)
            Row32((uint32_t *)target->line[y + r] + x, (const uint32_t *)sprite->line[sy + r] + sx, w, mask);
        else
            Row16((uint16_t *)target->line[y + r] + x, (const uint16_t *)sprite->line[sy + r] + sx, w,
                  (uint16_t)mask);
    }
}

void FillPicture(BITMAP *picture, int colour)
{
    if (!picture)
        return;
    int depth = bitmap_color_depth(picture);
    if (!is_memory_bitmap(picture) || (depth != 15 && depth != 16 && depth != 32)) {
        clear_to_color(picture, colour);
        return;
    }
    int left = picture->clip ? picture->cl : 0, top = picture->clip ? picture->ct : 0;
    int right = picture->clip ? picture->cr : picture->w, bottom = picture->clip ? picture->cb : picture->h;
    for (int y = top; y < bottom; y++) {
        if (depth == 32)
            std::fill((uint32_t *)picture->line[y] + left, (uint32_t *)picture->line[y] + right,
                      (uint32_t)colour);
        else
            std::fill((uint16_t *)picture->line[y] + left, (uint16_t *)picture->line[y] + right,
                      (uint16_t)colour);
    }
}

void CopyPicture(BITMAP *source, BITMAP *target, int w, int h)
{
    if (!source || !target)
        return;
    int depth = bitmap_color_depth(source);
    // The quick way only where blit's clipping comes down to the smaller size.
    bool plain = is_memory_bitmap(source) && is_memory_bitmap(target) &&
                 bitmap_color_depth(target) == depth &&
                 (!target->clip || (target->cl == 0 && target->ct == 0));
    if (!plain) {
        blit(source, target, 0, 0, 0, 0, w, h);
        return;
    }
    int right = target->clip ? target->cr : target->w, bottom = target->clip ? target->cb : target->h;
    w = std::min(w, std::min(source->w, right));
    h = std::min(h, std::min(source->h, bottom));
    if (w <= 0 || h <= 0)
        return;
    size_t bytes = (size_t)w * (size_t)((depth + 7) / 8);
    for (int y = 0; y < h; y++)
        std::memmove(target->line[y], source->line[y], bytes);
}

// drawdib.cpp: DrawDib calls. Converts an uncompressed packed DIB (8 bits with
// palette, 16, 24 or 32 bits, either row order) into an Allegro bitmap of
// any colour depth, clipped to the bitmap's clipping rectangle.
#include <allegro.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#if (defined(__x86_64__) || defined(__i386__)) && defined(__SSE2__)
#include <immintrin.h>
#define DRAWDIB_X86 1
#endif

#include "vfw.h"

struct DrawDibImpl {
  bool started = false;
  bool begun = false;
};

namespace {

struct Mask {
  uint32_t mask = 0;
  int shift = 0, bits = 0;
  explicit Mask(uint32_t m = 0) : mask(m) {
    if (!m) return;
    while (!(m & 1)) m >>= 1, ++shift;
    while (m & 1) m >>= 1, ++bits;
  }
  int Channel(uint32_t v) const {
    if (!bits) return 0;
    uint32_t c = (v & mask) >> shift;
    if (bits >= 8) return int(c >> (bits - 8));
    return int((c * 255) / ((1u << bits) - 1));
  }
};

// Packs 8-bit channels into a pixel of the depth, with Allegro's channel
// positions read once per draw rather than once per pixel.
template <int DEPTH>
struct Packer {
  int rs, gs, bs;
  Packer() {
    rs = DEPTH == 15   ? _rgb_r_shift_15
         : DEPTH == 16 ? _rgb_r_shift_16
         : DEPTH == 24 ? _rgb_r_shift_24
                       : _rgb_r_shift_32;
    gs = DEPTH == 15   ? _rgb_g_shift_15
         : DEPTH == 16 ? _rgb_g_shift_16
         : DEPTH == 24 ? _rgb_g_shift_24
                       : _rgb_g_shift_32;
    bs = DEPTH == 15   ? _rgb_b_shift_15
         : DEPTH == 16 ? _rgb_b_shift_16
         : DEPTH == 24 ? _rgb_b_shift_24
                       : _rgb_b_shift_32;
  }
  int operator()(int r, int g, int b) const {
    if (DEPTH == 8) return makecol8(r, g, b);
    if (DEPTH == 15) return ((r >> 3) << rs) | ((g >> 3) << gs) | ((b >> 3) << bs);
    if (DEPTH == 16) return ((r >> 3) << rs) | ((g >> 2) << gs) | ((b >> 3) << bs);
    return (r << rs) | (g << gs) | (b << bs);
  }
};

enum SourceKind { SRC_PAL8, SRC_MASK16, SRC_RGB24, SRC_RGB32, SRC_MASK32 };

// Unscaled rows of 24-bit BGR or 32-bit BGRX video into 5-6-5 and 8-8-8
// pixels, red high (most displays) or red low (Allegro's default without
// one): a full frame is 300,000 pixels, so these convert many at a time.
// Each gives exactly what the packing of Packer gives.
enum Layout { LAYOUT_OTHER, LAYOUT_RED_HIGH, LAYOUT_RED_LOW };

Layout LayoutOf(int depth) {
  if (depth == 16 && _rgb_g_shift_16 == 5) {
    if (_rgb_r_shift_16 == 11 && _rgb_b_shift_16 == 0) return LAYOUT_RED_HIGH;
    if (_rgb_r_shift_16 == 0 && _rgb_b_shift_16 == 11) return LAYOUT_RED_LOW;
  }
  if (depth == 32 && _rgb_g_shift_32 == 8) {
    if (_rgb_r_shift_32 == 16 && _rgb_b_shift_32 == 0) return LAYOUT_RED_HIGH;
    if (_rgb_r_shift_32 == 0 && _rgb_b_shift_32 == 16) return LAYOUT_RED_LOW;
  }
  return LAYOUT_OTHER;
}

inline uint16_t Pixel16(int r, int g, int b) {
  return uint16_t(((r >> 3) << _rgb_r_shift_16) | ((g >> 2) << _rgb_g_shift_16) | ((b >> 3) << _rgb_b_shift_16));
}

inline uint32_t Pixel32(int r, int g, int b) {
  return uint32_t(r) << _rgb_r_shift_32 | uint32_t(g) << _rgb_g_shift_32 | uint32_t(b) << _rgb_b_shift_32;
}

#if DRAWDIB_X86
bool HaveSsse3() {
  static const bool have = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("ssse3") != 0;
  }();
  return have;
}

bool HaveAvx2() {
  static const bool have = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") != 0;
  }();
  return have;
}

// 0x00HHMMLL pixels to 5-6-5 (HH in the top five bits), sign-extended so that
// a signed pack keeps all 16 bits.
inline __m128i Pack565(__m128i x) {
  __m128i v = _mm_or_si128(_mm_or_si128(_mm_and_si128(_mm_srli_epi32(x, 8), _mm_set1_epi32(0xF800)),
                                        _mm_and_si128(_mm_srli_epi32(x, 5), _mm_set1_epi32(0x07E0))),
                           _mm_and_si128(_mm_srli_epi32(x, 3), _mm_set1_epi32(0x001F)));
  return _mm_srai_epi32(_mm_slli_epi32(v, 16), 16);
}

// The same with the low byte going to the top: BGRX to red-low 5-6-5.
inline __m128i Pack565Swapped(__m128i x) {
  __m128i v = _mm_or_si128(_mm_or_si128(_mm_and_si128(_mm_slli_epi32(x, 8), _mm_set1_epi32(0xF800)),
                                        _mm_and_si128(_mm_srli_epi32(x, 5), _mm_set1_epi32(0x07E0))),
                           _mm_and_si128(_mm_srli_epi32(x, 19), _mm_set1_epi32(0x001F)));
  return _mm_srai_epi32(_mm_slli_epi32(v, 16), 16);
}

// Eight BGR pixels (24 bytes, read as bytes 0-15 and 8-23) as two sets of four
// 0x00RRGGBB, or 0x00BBGGRR for red low.
__attribute__((target("ssse3"))) inline void Bgr8(const uint8_t *s, bool redLow, __m128i *first, __m128i *second) {
  const __m128i lo = redLow ? _mm_setr_epi8(2, 1, 0, -1, 5, 4, 3, -1, 8, 7, 6, -1, 11, 10, 9, -1)
                            : _mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
  const __m128i hi = redLow ? _mm_setr_epi8(6, 5, 4, -1, 9, 8, 7, -1, 12, 11, 10, -1, 15, 14, 13, -1)
                            : _mm_setr_epi8(4, 5, 6, -1, 7, 8, 9, -1, 10, 11, 12, -1, 13, 14, 15, -1);
  *first = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i *>(s)), lo);
  *second = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i *>(s + 8)), hi);
}

__attribute__((target("ssse3"))) int Bgr24To16Ssse3(const uint8_t *s, uint16_t *d, int n, bool redLow) {
  int i = 0;
  for (; i + 8 <= n; i += 8) {
    __m128i a, b;
    Bgr8(s + i * 3, redLow, &a, &b);
    _mm_storeu_si128(reinterpret_cast<__m128i *>(d + i), _mm_packs_epi32(Pack565(a), Pack565(b)));
  }
  return i;
}

__attribute__((target("ssse3"))) int Bgr24To32Ssse3(const uint8_t *s, uint32_t *d, int n, bool redLow) {
  int i = 0;
  for (; i + 8 <= n; i += 8) {
    __m128i a, b;
    Bgr8(s + i * 3, redLow, &a, &b);
    _mm_storeu_si128(reinterpret_cast<__m128i *>(d + i), a);
    _mm_storeu_si128(reinterpret_cast<__m128i *>(d + i + 4), b);
  }
  return i;
}

// Decoded video is BGRX; the X byte is left out, as the packing leaves it out.
__attribute__((target("ssse3"))) int Bgrx32To32Ssse3(const uint8_t *s, uint32_t *d, int n, bool redLow) {
  const __m128i order = redLow ? _mm_setr_epi8(2, 1, 0, -1, 6, 5, 4, -1, 10, 9, 8, -1, 14, 13, 12, -1)
                               : _mm_setr_epi8(0, 1, 2, -1, 4, 5, 6, -1, 8, 9, 10, -1, 12, 13, 14, -1);
  int i = 0;
  for (; i + 4 <= n; i += 4) {
    __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i *>(s + i * 4));
    _mm_storeu_si128(reinterpret_cast<__m128i *>(d + i), _mm_shuffle_epi8(x, order));
  }
  return i;
}

// Sixteen BGR pixels at a time: each 128-bit lane does what Bgr8 does, the
// low lanes for pixels 0-7 and the high lanes for pixels 8-15.
__attribute__((target("avx2"))) inline void Bgr16Avx2(const uint8_t *s, bool redLow, __m256i *a, __m256i *b) {
  const __m256i lo = redLow ? _mm256_setr_epi8(2, 1, 0, -1, 5, 4, 3, -1, 8, 7, 6, -1, 11, 10, 9, -1, 2, 1, 0, -1, 5, 4,
                                               3, -1, 8, 7, 6, -1, 11, 10, 9, -1)
                            : _mm256_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1, 0, 1, 2, -1, 3, 4,
                                               5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
  const __m256i hi = redLow ? _mm256_setr_epi8(6, 5, 4, -1, 9, 8, 7, -1, 12, 11, 10, -1, 15, 14, 13, -1, 6, 5, 4, -1, 9,
                                               8, 7, -1, 12, 11, 10, -1, 15, 14, 13, -1)
                            : _mm256_setr_epi8(4, 5, 6, -1, 7, 8, 9, -1, 10, 11, 12, -1, 13, 14, 15, -1, 4, 5, 6, -1, 7,
                                               8, 9, -1, 10, 11, 12, -1, 13, 14, 15, -1);
  const __m256i x =
      _mm256_loadu2_m128i(reinterpret_cast<const __m128i *>(s + 24), reinterpret_cast<const __m128i *>(s));
  const __m256i y =
      _mm256_loadu2_m128i(reinterpret_cast<const __m128i *>(s + 32), reinterpret_cast<const __m128i *>(s + 8));
  *a = _mm256_shuffle_epi8(x, lo);  // pixels 0-3 and 8-11
  *b = _mm256_shuffle_epi8(y, hi);  // pixels 4-7 and 12-15
}

__attribute__((target("avx2"))) inline __m256i Pack565Avx2(__m256i x) {
  __m256i v = _mm256_or_si256(_mm256_or_si256(_mm256_and_si256(_mm256_srli_epi32(x, 8), _mm256_set1_epi32(0xF800)),
                                              _mm256_and_si256(_mm256_srli_epi32(x, 5), _mm256_set1_epi32(0x07E0))),
                              _mm256_and_si256(_mm256_srli_epi32(x, 3), _mm256_set1_epi32(0x001F)));
  return _mm256_srai_epi32(_mm256_slli_epi32(v, 16), 16);
}

__attribute__((target("avx2"))) int Bgr24To16Avx2(const uint8_t *s, uint16_t *d, int n, bool redLow) {
  int i = 0;
  for (; i + 16 <= n; i += 16) {
    __m256i a, b;
    // Frames come from memory, not from the caches: ask for the data ahead.
    _mm_prefetch(reinterpret_cast<const char *>(s + i * 3 + 4096), _MM_HINT_T0);
    Bgr16Avx2(s + i * 3, redLow, &a, &b);
    // The in-lane pack puts pixels 0-7 in the low lane and 8-15 in the high one.
    _mm256_storeu_si256(reinterpret_cast<__m256i *>(d + i), _mm256_packs_epi32(Pack565Avx2(a), Pack565Avx2(b)));
  }
  return i;
}

__attribute__((target("avx2"))) int Bgr24To32Avx2(const uint8_t *s, uint32_t *d, int n, bool redLow) {
  int i = 0;
  for (; i + 16 <= n; i += 16) {
    __m256i a, b;
    _mm_prefetch(reinterpret_cast<const char *>(s + i * 3 + 4096), _MM_HINT_T0);
    Bgr16Avx2(s + i * 3, redLow, &a, &b);
    _mm256_storeu_si256(reinterpret_cast<__m256i *>(d + i), _mm256_permute2x128_si256(a, b, 0x20));
    _mm256_storeu_si256(reinterpret_cast<__m256i *>(d + i + 8), _mm256_permute2x128_si256(a, b, 0x31));
  }
  return i;
}

int Bgrx32To16Sse2(const uint8_t *s, uint16_t *d, int n, bool redLow) {
  int i = 0;
  for (; i + 8 <= n; i += 8) {
    __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i *>(s + i * 4));
    __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i *>(s + i * 4 + 16));
    __m128i packed =
        redLow ? _mm_packs_epi32(Pack565Swapped(a), Pack565Swapped(b)) : _mm_packs_epi32(Pack565(a), Pack565(b));
    _mm_storeu_si128(reinterpret_cast<__m128i *>(d + i), packed);
  }
  return i;
}
#endif

void Bgr24To16(const uint8_t *s, uint16_t *d, int n, bool redLow) {
  int i = 0;
#if DRAWDIB_X86
  if (HaveAvx2()) i = Bgr24To16Avx2(s, d, n, redLow);
  if (HaveSsse3()) i += Bgr24To16Ssse3(s + i * 3, d + i, n - i, redLow);
#endif
  for (; i < n; ++i) d[i] = Pixel16(s[i * 3 + 2], s[i * 3 + 1], s[i * 3]);
}

void Bgr24To32(const uint8_t *s, uint32_t *d, int n, bool redLow) {
  int i = 0;
#if DRAWDIB_X86
  if (HaveAvx2()) i = Bgr24To32Avx2(s, d, n, redLow);
  if (HaveSsse3()) i += Bgr24To32Ssse3(s + i * 3, d + i, n - i, redLow);
#endif
  for (; i < n; ++i) d[i] = Pixel32(s[i * 3 + 2], s[i * 3 + 1], s[i * 3]);
}

void Bgrx32To16(const uint8_t *s, uint16_t *d, int n, bool redLow) {
  int i = 0;
#if DRAWDIB_X86
  i = Bgrx32To16Sse2(s, d, n, redLow);
#endif
  for (; i < n; ++i) d[i] = Pixel16(s[i * 4 + 2], s[i * 4 + 1], s[i * 4]);
}

void Bgrx32To32(const uint8_t *s, uint32_t *d, int n, bool redLow) {
  int i = 0;
#if DRAWDIB_X86
  if (HaveSsse3()) i = Bgrx32To32Ssse3(s, d, n, redLow);
#endif
  for (; i < n; ++i) d[i] = Pixel32(s[i * 4 + 2], s[i * 4 + 1], s[i * 4]);
}

// Draws the rows through a row converter when the source and the bitmap's
// layout allow one; false leaves the drawing to the general path.
bool DrawRowsFast(BITMAP *bmp, SourceKind kind, int depth, int x0, int x1, int y0, int y1, int yDst, int firstSrcX,
                  const std::vector<const uint8_t *> &rows) {
  Layout layout = LayoutOf(depth);
  if (layout == LAYOUT_OTHER || (kind != SRC_RGB24 && kind != SRC_RGB32)) return false;
  const bool redLow = layout == LAYOUT_RED_LOW;
  const int n = x1 - x0;
  // Rows go in the order memory holds them (bottom-up pictures from the last
  // row), so that a frame straight from the file streams in rather than
  // being fetched row by row backwards.
  const bool backwards = y1 - y0 > 1 && rows[size_t(y1 - 1 - yDst)] < rows[size_t(y0 - yDst)];
  for (int i = y0; i < y1; ++i) {
    const int y = backwards ? y0 + y1 - 1 - i : i;
    uintptr_t addr = bmp_write_line(bmp, y);
    const uint8_t *src = rows[size_t(y - yDst)] + size_t(firstSrcX) * (kind == SRC_RGB24 ? 3 : 4);
    if (kind == SRC_RGB32 && depth == 16)
      Bgrx32To16(src, reinterpret_cast<uint16_t *>(addr) + x0, n, redLow);
    else if (kind == SRC_RGB32)
      Bgrx32To32(src, reinterpret_cast<uint32_t *>(addr) + x0, n, redLow);
    else if (depth == 16)
      Bgr24To16(src, reinterpret_cast<uint16_t *>(addr) + x0, n, redLow);
    else
      Bgr24To32(src, reinterpret_cast<uint32_t *>(addr) + x0, n, redLow);
  }
  bmp_unwrite_line(bmp);
  return true;
}

// Writes one clipped rectangle; Colour maps a source pixel to the destination colour.
template <int DEPTH, class Colour>
void DrawRows(BITMAP *bmp, int x0, int x1, int y0, int y1, int yDst, const std::vector<int> &srcX,
              const std::vector<const uint8_t *> &srcRows, Colour colour) {
  for (int y = y0; y < y1; ++y) {
    const uint8_t *row = srcRows[size_t(y - yDst)];
    uintptr_t addr = bmp_write_line(bmp, y);
    for (int x = x0; x < x1; ++x) {
      int c = colour(row, srcX[size_t(x - x0)]);
      if (DEPTH == 8)
        bmp_write8(addr + x, c);
      else if (DEPTH == 15 || DEPTH == 16)
        bmp_write16(addr + x * 2, c);
      else if (DEPTH == 24)
        bmp_write24(addr + x * 3, c);
      else
        bmp_write32(addr + x * 4, c);
    }
  }
  bmp_unwrite_line(bmp);
}

template <int DEPTH>
void DrawDepth(BITMAP *bmp, SourceKind kind, const int *lut, const Mask *m, int x0, int x1, int y0, int y1, int yDst,
               const std::vector<int> &srcX, const std::vector<const uint8_t *> &rows) {
  const Packer<DEPTH> MakeCol;
  switch (kind) {
    case SRC_PAL8:
      DrawRows<DEPTH>(bmp, x0, x1, y0, y1, yDst, srcX, rows, [lut](const uint8_t *r, int sx) { return lut[r[sx]]; });
      break;
    case SRC_MASK16:
      DrawRows<DEPTH>(bmp, x0, x1, y0, y1, yDst, srcX, rows, [m, MakeCol](const uint8_t *r, int sx) {
        uint32_t v = uint32_t(r[sx * 2] | r[sx * 2 + 1] << 8);
        return MakeCol(m[0].Channel(v), m[1].Channel(v), m[2].Channel(v));
      });
      break;
    case SRC_RGB24:
      DrawRows<DEPTH>(bmp, x0, x1, y0, y1, yDst, srcX, rows, [MakeCol](const uint8_t *r, int sx) {
        const uint8_t *p = r + sx * 3;
        return MakeCol(p[2], p[1], p[0]);
      });
      break;
    case SRC_RGB32:
      DrawRows<DEPTH>(bmp, x0, x1, y0, y1, yDst, srcX, rows, [MakeCol](const uint8_t *r, int sx) {
        const uint8_t *p = r + sx * 4;
        return MakeCol(p[2], p[1], p[0]);
      });
      break;
    case SRC_MASK32:
      DrawRows<DEPTH>(bmp, x0, x1, y0, y1, yDst, srcX, rows, [m, MakeCol](const uint8_t *r, int sx) {
        const uint8_t *p = r + sx * 4;
        uint32_t v = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
        return MakeCol(m[0].Channel(v), m[1].Channel(v), m[2].Channel(v));
      });
      break;
  }
}

}  // namespace

extern "C" {

HDRAWDIB DrawDibOpen(void) { return new (std::nothrow) DrawDibImpl; }

BOOL DrawDibClose(HDRAWDIB hdd) {
  if (!hdd) return FALSE;
  delete hdd;
  return TRUE;
}

BOOL DrawDibStart(HDRAWDIB hdd, DWORD) {
  if (!hdd) return FALSE;
  hdd->started = true;
  return TRUE;
}

BOOL DrawDibStop(HDRAWDIB hdd) {
  if (!hdd) return FALSE;
  hdd->started = false;
  return TRUE;
}

BOOL DrawDibBegin(HDRAWDIB hdd, HDC, int, int, LPBITMAPINFOHEADER lpbi, int, int, UINT) {
  if (!hdd || !lpbi) return FALSE;
  hdd->begun = true;
  return TRUE;
}

BOOL DrawDibDraw(HDRAWDIB hdd, HDC hdc, int xDst, int yDst, int dxDst, int dyDst, LPBITMAPINFOHEADER lpbi,
                 LPVOID lpBits, int xSrc, int ySrc, int dxSrc, int dySrc, UINT) {
  BITMAP *bmp = hdc;
  if (!hdd || !bmp || !lpbi || !lpBits) return FALSE;
  const int64_t w = lpbi->biWidth, h = lpbi->biHeight < 0 ? -int64_t(lpbi->biHeight) : lpbi->biHeight;
  const int bits = lpbi->biBitCount;
  if (w <= 0 || h <= 0 || w > 65536 || h > 65536) return FALSE;
  const uint8_t *masks = reinterpret_cast<const uint8_t *>(lpbi) + lpbi->biSize;
  SourceKind kind;
  Mask m[3];
  if (lpbi->biCompression == BI_RGB && bits == 8)
    kind = SRC_PAL8;
  else if (lpbi->biCompression == BI_RGB && bits == 16)
    kind = SRC_MASK16, m[0] = Mask(0x7c00), m[1] = Mask(0x3e0), m[2] = Mask(0x1f);
  else if (lpbi->biCompression == BI_RGB && bits == 24)
    kind = SRC_RGB24;
  else if (lpbi->biCompression == BI_RGB && bits == 32)
    kind = SRC_RGB32;
  else if (lpbi->biCompression == BI_BITFIELDS && (bits == 16 || bits == 32)) {
    kind = bits == 16 ? SRC_MASK16 : SRC_MASK32;
    uint32_t v[3];
    std::memcpy(v, masks, 12);
    for (int i = 0; i < 3; ++i) m[i] = Mask(v[i]);
  } else {
    return FALSE;
  }

  // The source rectangle, kept inside the picture.
  int64_t sx0 = xSrc < 0 ? 0 : xSrc, sy0 = ySrc < 0 ? 0 : ySrc;
  int64_t sw = dxSrc <= 0 ? w : dxSrc, sh = dySrc <= 0 ? h : dySrc;
  if (sx0 >= w || sy0 >= h) return TRUE;
  if (sx0 + sw > w) sw = w - sx0;
  if (sy0 + sh > h) sh = h - sy0;
  int64_t dw = dxDst < 0 ? sw : dxDst, dh = dyDst < 0 ? sh : dyDst;
  if (dw <= 0 || dh <= 0) return TRUE;

  // The destination rectangle, kept inside the clipping rectangle.
  int cl = bmp->clip ? bmp->cl : 0, ct = bmp->clip ? bmp->ct : 0;
  int cr = bmp->clip ? bmp->cr : bmp->w, cb = bmp->clip ? bmp->cb : bmp->h;
  int64_t x0 = xDst > cl ? xDst : cl, y0 = yDst > ct ? yDst : ct;
  int64_t x1 = int64_t(xDst) + dw < cr ? int64_t(xDst) + dw : cr;
  int64_t y1 = int64_t(yDst) + dh < cb ? int64_t(yDst) + dh : cb;
  if (x0 >= x1 || y0 >= y1) return TRUE;

  const int64_t stride = ((w * bits + 31) / 32) * 4;
  const uint8_t *base = static_cast<const uint8_t *>(lpBits);
  const bool bottomUp = lpbi->biHeight > 0;
  std::vector<int> srcX(size_t(x1 - x0));
  // Unscaled drawing (the usual case) needs no division per pixel and row.
  for (int64_t x = x0; x < x1; ++x) srcX[size_t(x - x0)] = int(sx0 + (dw == sw ? x - xDst : (x - xDst) * sw / dw));
  // Rows are indexed from yDst so DrawRows can look them up directly.
  std::vector<const uint8_t *> rows(size_t(y1 - yDst), nullptr);
  for (int64_t y = y0; y < y1; ++y) {
    int64_t sy = sy0 + (dh == sh ? y - yDst : (y - yDst) * sh / dh);
    rows[size_t(y - yDst)] = base + (bottomUp ? h - 1 - sy : sy) * stride;
  }

  const int depth = bitmap_color_depth(bmp);
  int lut[256] = {};
  if (kind == SRC_PAL8) {
    const RGBQUAD *pal = reinterpret_cast<const RGBQUAD *>(masks);
    int colours = lpbi->biClrUsed && lpbi->biClrUsed <= 256 ? int(lpbi->biClrUsed) : 256;
    for (int i = 0; i < colours; ++i) lut[i] = makecol_depth(depth, pal[i].rgbRed, pal[i].rgbGreen, pal[i].rgbBlue);
  }
  int X0 = int(x0), X1 = int(x1), Y0 = int(y0), Y1 = int(y1);
  if (dw == sw && DrawRowsFast(bmp, kind, depth, X0, X1, Y0, Y1, yDst, srcX[0], rows)) return TRUE;
  switch (depth) {
    case 8:
      DrawDepth<8>(bmp, kind, lut, m, X0, X1, Y0, Y1, yDst, srcX, rows);
      break;
    case 15:
      DrawDepth<15>(bmp, kind, lut, m, X0, X1, Y0, Y1, yDst, srcX, rows);
      break;
    case 16:
      DrawDepth<16>(bmp, kind, lut, m, X0, X1, Y0, Y1, yDst, srcX, rows);
      break;
    case 24:
      DrawDepth<24>(bmp, kind, lut, m, X0, X1, Y0, Y1, yDst, srcX, rows);
      break;
    case 32:
      DrawDepth<32>(bmp, kind, lut, m, X0, X1, Y0, Y1, yDst, srcX, rows);
      break;
    default:
      return FALSE;
  }
  return TRUE;
}

HDC win_get_dc(BITMAP *bmp) { return bmp; }

void win_release_dc(BITMAP *, HDC) {}

}  // extern "C"

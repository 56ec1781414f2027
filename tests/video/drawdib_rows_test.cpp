// DrawDibDraw's unscaled video rows: every pixel of a random 24- or 32-bit
// frame must land as makecol would make it, at 15, 16 and 32 bits, with
// widths that leave a remainder, either row order, and clipped on the left.
#include <allegro.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

#include "vfw/vfw.h"

namespace {

struct Frame {
  std::vector<uint8_t> bytes;  // header then pixels, as a packed DIB
  int w, h, bits;
  bool topDown;

  Frame(int width, int height, int bitCount, bool down, unsigned seed)
      : w(width), h(height), bits(bitCount), topDown(down) {
    int stride = ((w * bits + 31) / 32) * 4;
    bytes.assign(sizeof(BITMAPINFOHEADER) + (size_t)stride * h, 0);
    BITMAPINFOHEADER bi = {};
    bi.biSize = sizeof bi;
    bi.biWidth = w;
    bi.biHeight = down ? -h : h;
    bi.biPlanes = 1;
    bi.biBitCount = (WORD)bits;
    bi.biCompression = BI_RGB;
    std::memcpy(bytes.data(), &bi, sizeof bi);
    std::mt19937 rng(seed);
    for (size_t i = sizeof bi; i < bytes.size(); i++) bytes[i] = (uint8_t)rng();
  }
  BITMAPINFOHEADER *Header() { return reinterpret_cast<BITMAPINFOHEADER *>(bytes.data()); }
  uint8_t *Bits() { return bytes.data() + sizeof(BITMAPINFOHEADER); }
  // Colour of picture pixel (x, y), y counted from the top.
  void Pixel(int x, int y, int *r, int *g, int *b) {
    int stride = ((w * bits + 31) / 32) * 4;
    const uint8_t *p = Bits() + (size_t)(topDown ? y : h - 1 - y) * stride + (size_t)x * (bits / 8);
    *b = p[0], *g = p[1], *r = p[2];
  }
};

// Draws the frame at (x, y) of a sentinel-filled 60x12 bitmap and counts the
// pixels that differ from what they should be.
int Wrong(Frame &f, int depth, int x, int y) {
  BITMAP *target = create_bitmap_ex(depth, 60, 12);
  const int sentinel = makecol_depth(depth, 255, 0, 255);
  clear_to_color(target, sentinel);
  HDRAWDIB dib = DrawDibOpen();
  EXPECT_TRUE(DrawDibDraw(dib, win_get_dc(target), x, y, -1, -1, f.Header(), f.Bits(), 0, 0, f.w, f.h, 0));
  DrawDibClose(dib);
  int wrong = 0;
  for (int ty = 0; ty < target->h; ty++)
    for (int tx = 0; tx < target->w; tx++) {
      int want = sentinel;
      int fx = tx - x, fy = ty - y;
      if (fx >= 0 && fy >= 0 && fx < f.w && fy < f.h) {
        int r, g, b;
        f.Pixel(fx, fy, &r, &g, &b);
        want = makecol_depth(depth, r, g, b);
      }
      wrong += getpixel(target, tx, ty) != want;
    }
  destroy_bitmap(target);
  return wrong;
}

void ExpectEveryPixelRight() {
  unsigned seed = 1;
  for (int bits : {24, 32})
    for (bool topDown : {false, true})
      for (int width : {1, 8, 13, 37}) {
        Frame f(width, 5, bits, topDown, seed++);
        for (int depth : {15, 16, 32}) {
          EXPECT_EQ(Wrong(f, depth, 3, 2), 0)
              << bits << "-bit frame " << width << " wide at depth " << depth << (topDown ? ", top-down" : "");
          EXPECT_EQ(Wrong(f, depth, -5, 9), 0)
              << bits << "-bit frame " << width << " wide at depth " << depth << ", clipped";
        }
      }
}

// Both channel orders the rows handle: red in the low bits (Allegro's default
// without a display) and red in the high bits (most displays).
TEST(DrawDibRows, EveryPixelAsMakecolMakesIt) {
  install_allegro(SYSTEM_NONE, &errno, atexit);
  int *shifts[] = {&_rgb_r_shift_16, &_rgb_g_shift_16, &_rgb_b_shift_16,
                   &_rgb_r_shift_32, &_rgb_g_shift_32, &_rgb_b_shift_32};
  int saved[6];
  for (int i = 0; i < 6; i++) saved[i] = *shifts[i];
  const int redLow[6] = {0, 5, 11, 0, 8, 16}, redHigh[6] = {11, 5, 0, 16, 8, 0};
  for (const int *layout : {redLow, redHigh}) {
    for (int i = 0; i < 6; i++) *shifts[i] = layout[i];
    SCOPED_TRACE(layout == redLow ? "red low" : "red high");
    ExpectEveryPixelRight();
  }
  for (int i = 0; i < 6; i++) *shifts[i] = saved[i];
}

}  // namespace

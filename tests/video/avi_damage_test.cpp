// Damaged files: truncated and corrupted copies of good files either fail to
// open or play until their data runs out; nothing reads outside the file.
#include <allegro.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <type_traits>

#include <unistd.h>

#include "allegro_env.h"
#include "avi_writer.h"
#include "mivolen/mivolen.h"
#ifndef _WIN32
#include "vfw/vfw.h"
#endif

extern "C" {
#include <libavutil/log.h>
}

namespace {

// Uses everything a reader offers; any fault shows up as a crash or a sanitizer report.
void Exercise(const std::string &path, BITMAP *target) {
  CAviFile avi;
  if (!avi.Open(path.c_str())) return;
  for (int a = 0; a < avi.GetAudioStreamCount(); ++a) {
    ASSERT_NE(avi.GetAudioFormat(unsigned(a)), nullptr);
    avi.ExtractAudioStream(unsigned(a));
  }
  for (int v = 0; v < avi.GetVideoStreamCount(); ++v) {
    LPBITMAPINFOHEADER fmt = avi.GetVideoFormat(unsigned(v));
    ASSERT_NE(fmt, nullptr);
    if (!avi.StartVideoRetrieve(unsigned(v))) continue;
    HDRAWDIB dd = DrawDibOpen();
    for (long k = -1; k < 14; ++k) {
      LPBITMAPINFOHEADER f = nullptr;
      avi.GetVideoFrame(unsigned(v), k, &f);
      if (f && target) {
        BYTE *bits = reinterpret_cast<BYTE *>(f) + f->biSize +
                     (f->biBitCount <= 8 ? (f->biClrUsed ? f->biClrUsed : 256u) * 4 : 0);
        DrawDibDraw(dd, target, 0, 0, -1, -1, f, bits, 0, 0, fmt->biWidth, fmt->biHeight, 0);
      }
    }
    LPBITMAPINFOHEADER f = nullptr;
    avi.GetVideoFrameAtTime(unsigned(v), 150, &f);
    DrawDibClose(dd);
    EXPECT_TRUE(avi.EndVideoRetrieve(unsigned(v)));
  }
  Mivolen m;
  int r = m.Open(path.c_str());
  EXPECT_TRUE(r == 0 || r == -1 || r == -2 || r == -3);
}

class DamageTest : public ::testing::Test {
 protected:
  std::string path = TempPath("damaged.avi");
  BITMAP *target = nullptr;
  void SetUp() override {
    av_log_set_level(AV_LOG_QUIET);
    StartAllegro();
    target = create_bitmap_ex(32, 40, 30);
  }
  void TearDown() override {
    destroy_bitmap(target);
    std::remove(path.c_str());
  }
  void Check(const std::vector<uint8_t> &bytes) {
    WriteBytes(path, bytes);
    Exercise(path, target);
  }
};

std::vector<uint8_t> GoodFile(bool index) {
  AviSpec spec;
  spec.index = index;
  spec.video.push_back(Video24(6, 32, 24));
  spec.video.push_back(Video8(4, 16, 8));
  spec.audio.push_back(Pcm(2, 16, 8000, 2000));
  spec.audio.push_back(Pcm(1, 8, 8000, 900));
  return BuildAvi(spec);
}

std::vector<uint8_t> CodedFile() {
  AviSpec spec;
  TestVideo v;
  EncodeQuadrants(v, 12, "FMP4", 4);
  spec.video.push_back(v);
  spec.audio.push_back(Pcm(2, 16, 8000, 1000));
  return BuildAvi(spec);
}

TEST_F(DamageTest, TruncatedCopiesOpenOrFailCleanly) {
  for (bool index : {true, false}) {
    std::vector<uint8_t> good = GoodFile(index);
    for (size_t len = 0; len < good.size(); len += len < 600 ? 7 : 211)
      Check(std::vector<uint8_t>(good.begin(), good.begin() + long(len)));
  }
  std::vector<uint8_t> coded = CodedFile();
  for (size_t len = 0; len < coded.size(); len += 97)
    Check(std::vector<uint8_t>(coded.begin(), coded.begin() + long(len)));
}

TEST_F(DamageTest, FileCutShortKeepsTheFramesItStillHolds) {
  for (bool whileOpen : {false, true}) {
    SCOPED_TRACE(whileOpen ? "cut while open" : "cut before");
    std::vector<uint8_t> good = GoodFile(true);
    // Cut off the index and the last part of the movi data.
    const size_t cut = good.size() * 3 / 5;
    if (!whileOpen) good.resize(cut);
    WriteBytes(path, good);
    CAviFile avi;
    ASSERT_TRUE(avi.Open(path.c_str()));
    ASSERT_TRUE(avi.StartVideoRetrieve(0));
    LPBITMAPINFOHEADER f = nullptr;
    if (whileOpen) {
      avi.GetVideoFrame(0, 5, &f);
      ASSERT_NE(f, nullptr);
      // Another program rewrites the file: the frame's pages are gone, asking again must not touch them.
      ASSERT_EQ(truncate(path.c_str(), off_t(cut)), 0);
      avi.GetVideoFrame(0, 5, &f);
      EXPECT_EQ(f, nullptr);
    }
    avi.GetVideoFrame(0, 0, &f);
    EXPECT_NE(f, nullptr);
    avi.GetVideoFrame(0, 5, &f);
    EXPECT_EQ(f, nullptr);
  }
}

TEST_F(DamageTest, CorruptedCopiesOpenOrFailCleanly) {
  std::mt19937 rng(1234);
  for (const std::vector<uint8_t> &good : {GoodFile(true), GoodFile(false), CodedFile()}) {
    for (int copy = 0; copy < 150; ++copy) {
      std::vector<uint8_t> bad = good;
      int hits = 1 + int(rng() % 8);
      for (int i = 0; i < hits; ++i) {
        // Mostly the headers and index, where the lengths and offsets live.
        size_t at = (copy % 3 == 0 || bad.size() < 2048) ? rng() % bad.size() : rng() % 2048;
        if (rng() % 2) at = bad.size() - 1 - (rng() % std::min<size_t>(bad.size(), 400));
        switch (rng() % 4) {
          case 0:
            bad[at] = uint8_t(rng());
            break;
          case 1:
            bad[at] = 0xff;
            break;
          case 2:
            bad[at] = 0;
            break;
          default:
            bad[at] ^= uint8_t(1u << (rng() % 8));
            break;
        }
      }
      Check(bad);
    }
  }
}

TEST_F(DamageTest, HostileSizesAndCountsAreRefused) {
  std::vector<uint8_t> good = GoodFile(true);
  // Every 32-bit field in the headers set to extreme values, one at a time.
  for (size_t at = 4; at + 4 <= 600 && at + 4 <= good.size(); at += 2) {
    for (uint32_t v : {0u, 1u, 0x7fffffffu, 0x80000000u, 0xffffffffu, 0xfffffff0u}) {
      std::vector<uint8_t> bad = good;
      bad[at] = uint8_t(v), bad[at + 1] = uint8_t(v >> 8), bad[at + 2] = uint8_t(v >> 16),
      bad[at + 3] = uint8_t(v >> 24);
      Check(bad);
    }
  }
}

// Each object owns its handles; a copy would release them a second time.
static_assert(!std::is_copy_constructible<CAviFile>::value && !std::is_copy_assignable<CAviFile>::value, "");
static_assert(!std::is_copy_constructible<Mivolen>::value && !std::is_copy_assignable<Mivolen>::value, "");

TEST_F(DamageTest, IndexEntriesRepeatingTheSameDataCannotInflateTheStream) {
  AviSpec spec;
  spec.audio.push_back(Pcm(2, 16, 8000, 4000));
  spec.audio[0].chunkBytes = 16000;  // one chunk holding everything
  std::vector<uint8_t> bytes = BuildAvi(spec);
  size_t idx1 = 0;
  for (size_t i = 12; i + 4 <= bytes.size(); ++i)
    if (std::memcmp(&bytes[i], "idx1", 4) == 0) idx1 = i;
  ASSERT_GT(idx1, 0u);
  std::vector<uint8_t> entry(bytes.begin() + long(idx1) + 8, bytes.begin() + long(idx1) + 24);
  bytes.resize(idx1 + 8);
  const uint32_t copies = 20000;  // would claim 320 MB from a file of 330 KB
  for (uint32_t i = 0; i < copies; ++i) bytes.insert(bytes.end(), entry.begin(), entry.end());
  uint32_t idxSize = copies * 16, riffSize = uint32_t(bytes.size() - 8);
  std::memcpy(&bytes[idx1 + 4], &idxSize, 4);
  std::memcpy(&bytes[4], &riffSize, 4);
  WriteBytes(path, bytes);
  CAviFile avi;
  ASSERT_TRUE(avi.Open(path.c_str()));
  ASSERT_NE(avi.ExtractAudioStream(0), nullptr);
  EXPECT_LE(avi.GetAudioDataSize(0), long(bytes.size()));
  EXPECT_EQ(std::memcmp(avi.ExtractAudioStream(0), spec.audio[0].data.data(), 16000), 0);
}

TEST_F(DamageTest, FramesLargerThanTheirChunksAreRefused) {
  AviSpec spec;
  spec.video.push_back(Video24(3, 64, 48));
  for (std::vector<uint8_t> &f : spec.video[0].frames) f.resize(f.size() / 2);
  WriteBytes(path, BuildAvi(spec));
  CAviFile avi;
  ASSERT_TRUE(avi.Open(path.c_str()));
  EXPECT_FALSE(avi.StartVideoRetrieve(0));
  Mivolen m;
  EXPECT_EQ(m.Open(path.c_str()), -2);
}

TEST_F(DamageTest, AudioFormatWithoutChannelsOrRateIsNoAudioAndLogged) {
  AviSpec spec;
  spec.video.push_back(Video24(2, 16, 16));
  spec.video[0].rate = 20;
  spec.audio.push_back(Pcm(2, 16, 8000, 800));
  std::vector<uint8_t> bytes = BuildAvi(spec);
  // Zero the channel count and sample rate of the audio format block.
  size_t strf = 0;
  for (size_t i = 12; i + 4 <= bytes.size(); ++i)
    if (std::memcmp(&bytes[i], "strf", 4) == 0) strf = i;
  ASSERT_GT(strf, 0u);
  std::memset(&bytes[strf + 8 + 2], 0, 6);
  WriteBytes(path, bytes);
  // Audio that cannot be played is reported as none, and said in the log.
  std::vector<std::string> lines;
  MivolenSetLogHook(
      [](const char *line, void *user) { static_cast<std::vector<std::string> *>(user)->push_back(line); }, &lines);
  Mivolen m;
  int opened = m.Open(path.c_str());
  MivolenSetLogHook(nullptr, nullptr);
  ASSERT_EQ(opened, 0);
  EXPECT_FALSE(m.HasAudio());
  EXPECT_EQ(m.BitsPerSample(), -1);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].find("without sound"), std::string::npos) << lines[0];
  if (!StartAllegro()) return;
  EXPECT_EQ(m.Play(target, false, false), 0);
}

}  // namespace

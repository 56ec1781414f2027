// Mivolen: Open results and video facts, the clocked steps, what lands on the
// target bitmap at 16 and 32 bits, the play loops, and the audio conversion.
#include <allegro.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "allegro_env.h"
#include "audio_decoder.h"
#include "audio_fill.h"
#include "avi_writer.h"
#include "mivolen/mivolen.h"
#ifndef _WIN32
#include "vfw/vfw.h"
#endif

extern "C" {
#include <libavutil/log.h>
}

namespace {

class PlayerTest : public ::testing::Test {
 protected:
  std::vector<std::string> paths;
  std::vector<BITMAP *> bitmaps;
  void SetUp() override { av_log_set_level(AV_LOG_QUIET); }
  void TearDown() override {
    for (BITMAP *b : bitmaps) destroy_bitmap(b);
    for (const std::string &p : paths) std::remove(p.c_str());
  }
  std::string Write(const std::string &name, const AviSpec &spec) {
    std::string p = TempPath(name);
    WriteBytes(p, BuildAvi(spec));
    paths.push_back(p);
    return p;
  }
  BITMAP *Target(int depth, int w, int h) {
    StartAllegro();
    BITMAP *b = create_bitmap_ex(depth, w, h);
    bitmaps.push_back(b);
    clear_to_color(b, makecol_depth(depth, 1, 2, 3));
    return b;
  }
};

const int kSentinel[3] = {255, 0, 255};

void Fill(BITMAP *b) {
  clear_to_color(b, makecol_depth(bitmap_color_depth(b), kSentinel[0], kSentinel[1], kSentinel[2]));
}

bool IsSentinel(BITMAP *b, int x, int y) {
  return getpixel(b, x, y) == makecol_depth(bitmap_color_depth(b), kSentinel[0], kSentinel[1], kSentinel[2]);
}

// Frame k of a 64x48 quadrant video drawn at (x, y) of the target.
void ExpectFrameAt(BITMAP *b, int k, int x, int y, int tolerance = 0) {
  int depth = bitmap_color_depth(b);
  const int qx[4] = {16, 48, 16, 48}, qy[4] = {12, 12, 36, 36};
  for (int q = 0; q < 4; ++q) {
    int px = x + qx[q], py = y + qy[q];
    if (px < 0 || py < 0 || px >= b->w || py >= b->h) continue;
    Rgb want = QuadrantColour(k, q);
    int c = getpixel(b, px, py);
    if (tolerance == 0) {
      EXPECT_EQ(c, makecol_depth(depth, want.r, want.g, want.b)) << "frame " << k << " quadrant " << q;
    } else {
      EXPECT_NEAR(getr_depth(depth, c), want.r, tolerance) << "frame " << k << " quadrant " << q;
      EXPECT_NEAR(getg_depth(depth, c), want.g, tolerance) << "frame " << k << " quadrant " << q;
      EXPECT_NEAR(getb_depth(depth, c), want.b, tolerance) << "frame " << k << " quadrant " << q;
    }
  }
}

// Which of the first `frames` quadrant frames is drawn at (x, y), or -1.
int DrawnFrame(BITMAP *b, int x, int y, int frames) {
  int depth = bitmap_color_depth(b);
  for (int k = 0; k < frames; ++k) {
    bool all = true;
    for (int q = 0; q < 4; ++q) {
      Rgb c = QuadrantColour(k, q);
      all = all && getpixel(b, x + (q & 1 ? 48 : 16), y + (q & 2 ? 36 : 12)) == makecol_depth(depth, c.r, c.g, c.b);
    }
    if (all) return k;
  }
  return -1;
}

TEST_F(PlayerTest, OpenResultsAndVideoFacts) {
  Mivolen m;
  EXPECT_EQ(m.Width(), -1);
  EXPECT_EQ(m.Height(), -1);
  EXPECT_EQ(m.BitsPerPixel(), -1);
  EXPECT_FALSE(m.HasAudio());
  EXPECT_EQ(m.BitsPerSample(), -1);
  EXPECT_EQ(m.SamplesPerSecond(), -1);

  EXPECT_EQ(m.Open(TempPath("missing.avi").c_str()), -1);
  AviSpec audioOnly;
  audioOnly.audio.push_back(Pcm(1, 8, 8000, 800));
  EXPECT_EQ(m.Open(Write("audio.avi", audioOnly).c_str()), -2);
  AviSpec unknown;
  unknown.video.push_back(Video24(2, 16, 16));
  unknown.video[0].compression = 0x5a5a5a5a;
  EXPECT_EQ(m.Open(Write("zzzz.avi", unknown).c_str()), -2);

  AviSpec stereo;
  stereo.video.push_back(Video24(4, 64, 48, true));
  stereo.audio.push_back(Pcm(2, 16, 22050, 1000));
  ASSERT_EQ(m.Open(Write("stereo.avi", stereo).c_str()), 0);
  EXPECT_EQ(m.Width(), 64);
  EXPECT_EQ(m.Height(), 48) << "top-down video has a positive height";
  EXPECT_EQ(m.BitsPerPixel(), 24);
  EXPECT_TRUE(m.HasAudio());
  EXPECT_EQ(m.BitsPerSample(), 16);
  EXPECT_EQ(m.SamplesPerSecond(), 22050);
  EXPECT_EQ(m.Channels(), 2);

  AviSpec mono;
  mono.video.push_back(Video8(2, 32, 16));
  mono.audio.push_back(Pcm(1, 8, 11025, 1000));
  ASSERT_EQ(m.Open(Write("mono.avi", mono).c_str()), 0) << "a new Open closes the previous file";
  EXPECT_EQ(m.Width(), 32);
  EXPECT_EQ(m.BitsPerPixel(), 8);
  EXPECT_EQ(m.BitsPerSample(), 8);
  EXPECT_EQ(m.Channels(), 1);

  AviSpec silent;
  silent.video.push_back(Video24(2, 16, 16));
  ASSERT_EQ(m.Open(Write("silent.avi", silent).c_str()), 0);
  EXPECT_FALSE(m.HasAudio());
  EXPECT_EQ(m.BitsPerSample(), -1);

  // A video stream without frames has a format and a decoder: it opens and ends at once.
#ifdef _WIN32
  // Whether Windows has an MJPEG decompressor depends on the machine.
  for (uint32_t compression : {0u}) {
#else
  for (uint32_t compression : {0u, 0x47504a4du /* MJPG */}) {
#endif
    AviSpec empty;
    empty.video.push_back(Video24(0, 16, 16));
    empty.video[0].compression = compression;
    ASSERT_EQ(m.Open(Write("empty.avi", empty).c_str()), 0) << "compression " << compression;
    EXPECT_EQ(m.Width(), 16);
    if (!StartAllegro()) continue;  // stepping needs Allegro's timer
    BITMAP *target = Target(32, 32, 32);
    EXPECT_EQ(m.PlayStart(), 0);
    EXPECT_FALSE(m.PlayStep(target, true, false));
    m.PlayEnd();
  }

  EXPECT_EQ(m.Close(), 0);
  EXPECT_EQ(m.Width(), -1);
  EXPECT_FALSE(m.HasAudio());
  EXPECT_EQ(m.Close(), 0);
}

TEST_F(PlayerTest, NothingPlaysWithoutAnOpenFile) {
  Mivolen m;
  EXPECT_EQ(m.PlayStart(), 0);
  EXPECT_EQ(m.GetFrameNumber(), -1);
  EXPECT_FALSE(m.PlayStep(nullptr, 0, 0, true, false));
  EXPECT_EQ(m.PlayEnd(), 0);
}

TEST_F(PlayerTest, AudioBuffersTurnSignedIntoUnsignedAndPadWithSilence) {
  const uint8_t pcm16[6] = {0x34, 0x12, 0x00, 0x80, 0xff, 0x7f};
  uint8_t out[10];
  FillStreamBuffer(out, sizeof out, pcm16, sizeof pcm16, 16);
  const uint8_t want16[10] = {0x34, 0x92, 0x00, 0x00, 0xff, 0xff, 0x00, 0x80, 0x00, 0x80};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(out[i], want16[i]) << "byte " << i;

  const uint8_t pcm8[3] = {0x00, 0x7f, 0xff};
  FillStreamBuffer(out, 5, pcm8, sizeof pcm8, 8);
  const uint8_t want8[5] = {0x00, 0x7f, 0xff, 0x80, 0x80};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(out[i], want8[i]) << "byte " << i;

  // More file data than the buffer holds: only the buffer is written.
  uint8_t guard[6] = {1, 1, 1, 1, 0xaa, 0xaa};
  FillStreamBuffer(guard, 4, pcm16, sizeof pcm16, 16);
  EXPECT_EQ(guard[4], 0xaa);
  EXPECT_EQ(guard[3], 0x00);
}

TEST_F(PlayerTest, StepDrawsOncePerFrameUnlessForced) {
  NEED_TIMER();
  AviSpec spec;
  spec.video.push_back(Video24(3));
  spec.video[0].rate = 5;  // 200 ms a frame
  Mivolen m;
  ASSERT_EQ(m.Open(Write("step.avi", spec).c_str()), 0);
  BITMAP *b = Target(32, 64, 48);
  EXPECT_EQ(m.GetFrameNumber(), -1);
  EXPECT_EQ(m.GetPlayingTime(), -1);
  ASSERT_EQ(m.PlayStart(), 0);
  Fill(b);
  int before = m.GetFrameNumber();
  ASSERT_TRUE(m.PlayStep(b, 0, 0, false, false));
  int first = m.GetFrameNumber();
  EXPECT_FALSE(IsSentinel(b, 10, 10));
  // Which frame was drawn is only certain when the clock did not move on meanwhile.
  if (before == first) ExpectFrameAt(b, first, 0, 0);
  Fill(b);
  ASSERT_TRUE(m.PlayStep(b, 0, 0, false, false));
  if (m.GetFrameNumber() == first) {
    EXPECT_TRUE(IsSentinel(b, 10, 10)) << "same frame period: no redraw";
  }
  ASSERT_TRUE(m.PlayStep(b, 0, 0, true, false));
  EXPECT_FALSE(IsSentinel(b, 10, 10)) << "forced redraw";

  while (m.GetFrameNumber() == first) rest(1);
  EXPECT_GE(m.GetPlayingTime(), 200);
  Fill(b);
  before = m.GetFrameNumber();
  ASSERT_TRUE(m.PlayStep(b, 0, 0, false, false));
  if (before == m.GetFrameNumber()) ExpectFrameAt(b, before, 0, 0);
  EXPECT_FALSE(IsSentinel(b, 10, 10));

  while (m.GetFrameNumber() >= 0) rest(1);
  EXPECT_EQ(m.GetPlayingTime(), -1) << "past the end";
  EXPECT_FALSE(m.PlayStep(b, 0, 0, false, false));
  EXPECT_EQ(m.PlayEnd(), 0);
  EXPECT_EQ(m.GetFrameNumber(), -1);
  EXPECT_EQ(m.GetPlayingTime(), -1);
}

TEST_F(PlayerTest, FramesLandWhereAskedAt16And32Bits) {
  NEED_TIMER();
  struct Case {
    const char *name;
    TestVideo video;
  } cases[] = {{"24-bit", Video24(2)}, {"top-down 24-bit", Video24(2, 64, 48, true)}, {"8-bit", Video8(2)}};
  for (Case &c : cases) {
    for (int depth : {16, 32}) {
      for (bool direct : {false, true}) {
        SCOPED_TRACE(std::string(c.name) + " at " + std::to_string(depth) + (direct ? " direct" : " plain"));
        AviSpec spec;
        spec.video.push_back(c.video);
        spec.video[0].rate = 2;
        Mivolen m;
        ASSERT_EQ(m.Open(Write("pixels.avi", spec).c_str()), 0);
        set_color_depth(depth);
        BITMAP *b = Target(depth, 200, 150);
        ASSERT_EQ(direct ? m.PlayStart_Direct() : m.PlayStart(), 0);
        ASSERT_TRUE(m.PlayStep(b, 30, 20, false, false));
        ExpectFrameAt(b, 0, 30, 20);
        EXPECT_EQ(getpixel(b, 29, 20), makecol_depth(depth, 1, 2, 3)) << "nothing outside the frame";
        EXPECT_EQ(getpixel(b, 30 + 64, 20), makecol_depth(depth, 1, 2, 3));
        // Centred on a target smaller than the video: the offsets are negative.
        BITMAP *small = Target(depth, 20, 10);
        ASSERT_TRUE(m.PlayStep(small, true, false));
        EXPECT_EQ(getpixel(small, 0, 0), getpixel(b, 30 + 22, 20 + 19));
        EXPECT_EQ(getpixel(small, 19, 9), getpixel(b, 30 + 22 + 19, 20 + 19 + 9));
        m.PlayEnd();
      }
    }
  }
  set_color_depth(8);
}

TEST_F(PlayerTest, CompressedVideoPlaysOntoTheTarget) {
  NEED_TIMER();
  AviSpec spec;
  TestVideo v;
  ASSERT_TRUE(EncodeQuadrants(v, 3, "MJPG", 1));
  v.rate = 2;
  spec.video.push_back(v);
  Mivolen m;
  ASSERT_EQ(m.Open(Write("mjpg.avi", spec).c_str()), 0);
  BITMAP *b = Target(32, 64, 48);
  ASSERT_EQ(m.PlayStart(), 0);
  ASSERT_TRUE(m.PlayStep(b, false, false));
  ExpectFrameAt(b, 0, 0, 0, 24);
  m.PlayEnd();
}

TEST_F(PlayerTest, PlayRunsToTheEndAndRestartTurnsTheClockBack) {
  NEED_TIMER();
  AviSpec spec;
  spec.video.push_back(Video24(3, 64, 48));
  spec.video[0].rate = 10;  // 300 ms in all; frames long enough for a busy machine
  spec.audio.push_back(Pcm(2, 16, 8000, 2400));
  Mivolen m;
  ASSERT_EQ(m.Open(Write("play.avi", spec).c_str()), 0);
  BITMAP *b = Target(32, 100, 100);
  // Keys are not read when stopOnKey is false, so this plays to the end.
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(m.Play(b, false, false), 0);
  // 300 ms of video; Allegro's timer thread may run a few per cent fast.
  EXPECT_GE(std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count(),
            250);
  // The last frame, unless the machine stalled through all of it.
  EXPECT_GE(DrawnFrame(b, 18, 26, 3), 0);
  EXPECT_EQ(m.GetFrameNumber(), -1);

  ASSERT_EQ(m.PlayStart(), 0);
  int before;
  while ((before = m.GetPlayingTime()) >= 0 && before < 200) rest(1);
  m.PlayRestart();
  int after = m.GetPlayingTime();
  EXPECT_TRUE(after >= 0 && (before < 0 || after < before)) << before << " ms, then " << after << " ms";
  m.PlayEnd();

  m.DisableSound();
  EXPECT_EQ(m.Play_Direct(b, 0, 0, true, false), 0);
  EXPECT_TRUE(m.HasAudio()) << "the file still has sound, it is just not played";
  EXPECT_GE(DrawnFrame(b, 0, 0, 3), 0);
}

// Voices Allegro can still hand out: an audio stream holds one.
int FreeVoices() {
  SAMPLE *s = create_sample(8, 0, 1000, 16);
  std::vector<int> taken;
  for (int v; (v = allocate_voice(s)) >= 0;) taken.push_back(v);
  for (int v : taken) deallocate_voice(v);
  destroy_sample(s);
  return int(taken.size());
}

TEST_F(PlayerTest, DisableSoundPlaysWithoutAnAudioStream) {
  NEED_TIMER();
  AviSpec spec;
  spec.video.push_back(Video24(2, 16, 16));
  spec.audio.push_back(Pcm(2, 16, 8000, 1600));
  Mivolen m;
  ASSERT_EQ(m.Open(Write("voices.avi", spec).c_str()), 0);
  int idle = FreeVoices();
  ASSERT_EQ(m.PlayStart(), 0);
  int withSound = FreeVoices();
  m.PlayEnd();
  EXPECT_EQ(FreeVoices(), idle) << "PlayEnd gives the voice back";
  if (withSound == idle) GTEST_SKIP() << "no sound driver gives audio streams here";
  EXPECT_EQ(withSound, idle - 1);
  m.DisableSound();
  ASSERT_EQ(m.PlayStart(), 0);
  EXPECT_EQ(FreeVoices(), idle);
  EXPECT_TRUE(m.HasAudio());
  m.PlayEnd();
  m.EnableSound();
  ASSERT_EQ(m.PlayStart(), 0);
  EXPECT_EQ(FreeVoices(), idle - 1);
  m.PlayEnd();
}

TEST_F(PlayerTest, ShortAudioEndsInSilenceAndPlaybackGoesOn) {
  NEED_TIMER();
  AviSpec spec;
  spec.video.push_back(Video24(4, 16, 16));
  spec.video[0].rate = 40;
  spec.audio.push_back(Pcm(1, 16, 8000, 100));  // far less than one stream buffer
  Mivolen m;
  ASSERT_EQ(m.Open(Write("short.avi", spec).c_str()), 0);
  BITMAP *b = Target(16, 16, 16);
  ASSERT_EQ(m.PlayStart(), 0);
  int steps = 0;
  while (m.PlayStep(b, false, false)) ++steps;
  EXPECT_GT(steps, 0);
  // Once a step has seen the end, the clock reads the video's length, however
  // late it is asked, until the next start or restart.
  rest(20);
  EXPECT_EQ(m.GetPlayingTime(), 100);
  EXPECT_FALSE(m.PlayStep(b, false, false));
  EXPECT_EQ(m.GetPlayingTime(), 100);
  m.PlayRestart();
  EXPECT_LT(m.GetPlayingTime(), 100);
  EXPECT_TRUE(m.PlayStep(b, false, false));
  m.PlayEnd();
}

#ifndef _WIN32
TEST_F(PlayerTest, CompressedAudioIsDecodedToSixteenBitSamples) {
  struct Case {
    const char *codec;
    int channels;
  } cases[] = {{"mp3", 2}, {"aac", 2}, {"adpcm_ms", 1}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.codec);
    AviSpec spec;
    spec.video.push_back(Video24(4, 16, 16));
    TestAudio a;
    ASSERT_TRUE(EncodeSine(a, c.codec, c.channels, 22050, 22050, 441));
    spec.audio.push_back(a);
    std::string p = Write("coded_audio.avi", spec);
    Mivolen m;
    ASSERT_EQ(m.Open(p.c_str()), 0);
    EXPECT_TRUE(m.HasAudio());
    EXPECT_EQ(m.BitsPerSample(), 16);
    EXPECT_EQ(m.SamplesPerSecond(), 22050);
    EXPECT_EQ(m.Channels(), c.channels);

    // What the player reads: the sine again, 50 samples a period, in every channel.
    PAVIFILE file;
    PAVISTREAM stream;
    ASSERT_EQ(AVIFileOpenA(&file, p.c_str(), 0, nullptr), AVIERR_OK);
    ASSERT_EQ(AVIFileGetStream(file, &stream, streamtypeAUDIO, 0), AVIERR_OK);
    AudioDecoder *d = AudioDecoderOpen(stream, nullptr, 0);
    AVIStreamRelease(stream);
    AVIFileRelease(file);
    ASSERT_NE(d, nullptr);
    std::vector<int16_t> pcm(size_t(30000 * c.channels));
    int frames = AudioDecoderRead(d, pcm.data(), 30000);
    EXPECT_GE(frames, 22050);  // encoders add a little at the start and end
    EXPECT_LT(frames, 24000);
    int crossings = 0, peak = 0;
    for (int i = 4000; i < 14000; ++i) {
      int now = pcm[size_t(i * c.channels)], before = pcm[size_t((i - 1) * c.channels)];
      crossings += (before < 0) != (now < 0);
      peak = std::max(peak, std::abs(now));
      EXPECT_NEAR(pcm[size_t(i * c.channels + c.channels - 1)], now, 8);  // lossy stereo coding: nearly equal
    }
    EXPECT_NEAR(crossings, 400, 4);
    EXPECT_NEAR(peak, 16384, 3000);
    AudioDecoderRewind(d);
    std::vector<int16_t> again(pcm.size());
    EXPECT_EQ(AudioDecoderRead(d, again.data(), 30000), frames);
    EXPECT_TRUE(again == pcm) << "a rewind gives the same samples";
    AudioDecoderClose(d);

    if (!StartAllegro()) continue;
    BITMAP *b = Target(32, 16, 16);
    EXPECT_EQ(m.Play(b, false, false), 0);
  }
}
#endif

}  // namespace

// CAviFile and the file layer beneath it: streams, formats, sample timing,
// frames of every stored kind, and whole audio streams.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <unistd.h>

#include "avi_writer.h"
#include "mivolen/mivolen.h"
#ifndef _WIN32
#include "vfw/vfw.h"
#endif

extern "C" {
#include <libavutil/log.h>
#ifndef _WIN32
#include <libavcodec/avcodec.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
#endif
}

namespace {

class AviFileTest : public ::testing::Test {
 protected:
  std::vector<std::string> paths;
  // Tests calling the stream functions themselves start the library as
  // callers of Video for Windows must.
  void SetUp() override {
    av_log_set_level(AV_LOG_QUIET);
    AVIFileInit();
  }
  void TearDown() override {
    AVIFileExit();
    for (const std::string &p : paths) std::remove(p.c_str());
  }
  std::string Write(const std::string &name, const AviSpec &spec) {
    std::string p = TempPath(name);
    WriteBytes(p, BuildAvi(spec));
    paths.push_back(p);
    return p;
  }
};

// Colour of DIB pixel (x, y) counted from the top, for 8/24/32-bit DIBs.
Rgb DibPixel(const BITMAPINFOHEADER *bi, int x, int y) {
  const uint8_t *base = reinterpret_cast<const uint8_t *>(bi) + bi->biSize;
  const uint8_t *palette = base;
  if (bi->biBitCount == 8) base += (bi->biClrUsed ? bi->biClrUsed : 256) * 4;
  int h = bi->biHeight < 0 ? -bi->biHeight : bi->biHeight;
  int stride = ((bi->biWidth * bi->biBitCount + 31) / 32) * 4;
  const uint8_t *row = base + (bi->biHeight > 0 ? h - 1 - y : y) * stride;
  if (bi->biBitCount == 8) {
    const uint8_t *p = palette + row[x] * 4;
    return {p[2], p[1], p[0]};
  }
  const uint8_t *p = row + x * (bi->biBitCount / 8);
  return {p[2], p[1], p[0]};
}

void ExpectQuadrants(const BITMAPINFOHEADER *bi, int k, int tolerance) {
  ASSERT_NE(bi, nullptr);
  int w = bi->biWidth, h = bi->biHeight < 0 ? -bi->biHeight : bi->biHeight;
  const int xs[4] = {w / 4, 3 * w / 4, w / 4, 3 * w / 4}, ys[4] = {h / 4, h / 4, 3 * h / 4, 3 * h / 4};
  for (int q = 0; q < 4; ++q) {
    Rgb want = QuadrantColour(k, q), got = DibPixel(bi, xs[q], ys[q]);
    EXPECT_NEAR(got.r, want.r, tolerance) << "frame " << k << " quadrant " << q;
    EXPECT_NEAR(got.g, want.g, tolerance) << "frame " << k << " quadrant " << q;
    EXPECT_NEAR(got.b, want.b, tolerance) << "frame " << k << " quadrant " << q;
  }
}

// Every pixel of frame k, exactly: lossless codecs must give back what went in.
int WrongPixels(const BITMAPINFOHEADER *bi, int k) {
  int w = bi->biWidth, h = bi->biHeight < 0 ? -bi->biHeight : bi->biHeight, wrong = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      Rgb want = QuadrantColour(k, (y >= h / 2 ? 2 : 0) + (x >= w / 2 ? 1 : 0)), got = DibPixel(bi, x, y);
      wrong += got.r != want.r || got.g != want.g || got.b != want.b;
    }
  return wrong;
}

TEST_F(AviFileTest, OpensUncompressedVideoWithStereoAudioAndReportsFormats) {
  AviSpec spec;
  spec.video.push_back(Video24(10));
  spec.audio.push_back(Pcm(2, 16, 8000, 8000));
  std::string p = Write("v24.avi", spec);
  CAviFile avi;
  ASSERT_TRUE(avi.Open(p.c_str()));
  EXPECT_EQ(avi.GetVideoStreamCount(), 1);
  EXPECT_EQ(avi.GetAudioStreamCount(), 1);
  LPBITMAPINFOHEADER v = avi.GetVideoFormat(0);
  ASSERT_NE(v, nullptr);
  EXPECT_EQ(v->biWidth, 64);
  EXPECT_EQ(v->biHeight, 48);
  EXPECT_EQ(v->biBitCount, 24);
  LPWAVEFORMATEX a = avi.GetAudioFormat(0);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->nChannels, 2);
  EXPECT_EQ(a->nSamplesPerSec, 8000u);
  EXPECT_EQ(a->wBitsPerSample, 16);
  EXPECT_EQ(a->nBlockAlign, 4);
  // An index equal to the count is out of range.
  EXPECT_EQ(avi.GetVideoFormat(1), nullptr);
  EXPECT_EQ(avi.GetAudioFormat(1), nullptr);
}

TEST_F(AviFileTest, OpenFailsOnMissingAndNonAviFiles) {
  CAviFile avi;
  EXPECT_FALSE(avi.Open(TempPath("does_not_exist.avi").c_str()));
  EXPECT_FALSE(avi.Open(nullptr));
  std::string p = TempPath("text.avi");
  paths.push_back(p);
  WriteBytes(p, std::vector<uint8_t>(100, 'x'));
  EXPECT_FALSE(avi.Open(p.c_str()));
  EXPECT_EQ(avi.GetVideoStreamCount(), 0);
  EXPECT_FALSE(avi.Open("/tmp"));  // a directory is no file
}

TEST_F(AviFileTest, ExposesOnlyTheFirstFiveStreamsOfAKind) {
  AviSpec spec;
  spec.video.push_back(Video24(3));
  for (int i = 0; i < 6; ++i) spec.audio.push_back(Pcm(1, 8, 8000 + i * 1000, 2000));
  std::string p = Write("six.avi", spec);
  CAviFile avi;
  ASSERT_TRUE(avi.Open(p.c_str()));
  EXPECT_EQ(avi.GetAudioStreamCount(), 5);
  for (unsigned i = 0; i < 5; ++i) {
    ASSERT_NE(avi.GetAudioFormat(i), nullptr);
    EXPECT_EQ(avi.GetAudioFormat(i)->nSamplesPerSec, 8000u + i * 1000) << "streams keep file order";
  }
  EXPECT_EQ(avi.GetAudioFormat(5), nullptr);
}

TEST_F(AviFileTest, AudioOnlyFileOpensWithoutVideo) {
  AviSpec spec;
  spec.audio.push_back(Pcm(1, 8, 11025, 5000));
  std::string p = Write("audio.avi", spec);
  CAviFile avi;
  ASSERT_TRUE(avi.Open(p.c_str()));
  EXPECT_EQ(avi.GetVideoStreamCount(), 0);
  EXPECT_EQ(avi.GetAudioStreamCount(), 1);
  EXPECT_FALSE(avi.StartVideoRetrieve(0));
  EXPECT_EQ(avi.GetVideoFrameNum(0, 0), -1);
  BYTE *data = avi.ExtractAudioStream(0);
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(avi.GetAudioDataSize(0), 5000);
  EXPECT_EQ(std::memcmp(data, spec.audio[0].data.data(), 5000), 0);
}

TEST_F(AviFileTest, FrameNumbersFollowTheStreamRate) {
  AviSpec spec;
  spec.video.push_back(Video24(10));  // 10 frames at 10 per second: 1000 ms
  std::string p = Write("timing.avi", spec);
  CAviFile avi;
  ASSERT_TRUE(avi.Open(p.c_str()));
  ASSERT_TRUE(avi.StartVideoRetrieve(0));
  EXPECT_EQ(avi.GetVideoFrameNum(0, 0), 0);
  EXPECT_EQ(avi.GetVideoFrameNum(0, 99), 0);
  EXPECT_EQ(avi.GetVideoFrameNum(0, 100), 1);
  EXPECT_EQ(avi.GetVideoFrameNum(0, 999), 9);
  EXPECT_EQ(avi.GetVideoFrameNum(0, 1000), 10) << "the exact end time gives the sample past the last";
  EXPECT_EQ(avi.GetVideoFrameNum(0, 1001), -1);
  EXPECT_EQ(avi.GetVideoFrameNum(1, 0), -1);
  LPBITMAPINFOHEADER f = reinterpret_cast<LPBITMAPINFOHEADER>(1);
  avi.GetVideoFrameAtTime(0, 1001, &f);
  EXPECT_EQ(f, nullptr);
  EXPECT_TRUE(avi.EndVideoRetrieve(0));
}

TEST_F(AviFileTest, TimeAndSampleConversionsAgreeAtOddRates) {
  AviSpec spec;
  spec.video.push_back(Video24(30, 16, 16));
  spec.video[0].rate = 30000;
  spec.video[0].scale = 1001;
  std::string p = Write("ntsc.avi", spec);
  PAVIFILE file;
  ASSERT_EQ(AVIFileOpenA(&file, p.c_str(), 0, nullptr), AVIERR_OK);
  PAVISTREAM s;
  ASSERT_EQ(AVIFileGetStream(file, &s, streamtypeVIDEO, 0), AVIERR_OK);
  for (LONG n = 0; n <= 30; ++n) {
    LONG t = AVIStreamSampleToTime(s, n);
    EXPECT_EQ(AVIStreamTimeToSample(s, t), n) << "at " << t << " ms";
    if (n > 0) {
      EXPECT_EQ(AVIStreamTimeToSample(s, t - 1), n - 1);
    }
  }
  EXPECT_EQ(AVIStreamSampleToTime(s, 30), 1001);
  AVIStreamRelease(s);
  AVIFileRelease(file);
}

TEST_F(AviFileTest, DeliversUncompressedFramesOfEveryLayout) {
  struct Case {
    const char *name;
    TestVideo video;
  } cases[] = {{"bottom-up 24", Video24(6)},
               {"top-down 24", Video24(6, 64, 48, true)},
               {"8-bit", Video8(6)},
               {"odd width 24", Video24(6, 37, 21)}};
  for (Case &c : cases) {
    SCOPED_TRACE(c.name);
    AviSpec spec;
    spec.video.push_back(c.video);
    spec.audio.push_back(Pcm(1, 8, 8000, 800));  // one chunk, between frames 0 and 1
    std::string p = Write("frames.avi", spec);
    CAviFile avi;
    ASSERT_TRUE(avi.Open(p.c_str()));
    ASSERT_TRUE(avi.StartVideoRetrieve(0));
    // Frames are shown where the file holds them, each header just before its
    // pixels: going back must find the earlier frame whole again.
    for (int k : {3, 0, 5, 5, 1, 2, 1, 0}) {
      LPBITMAPINFOHEADER f = nullptr;
      avi.GetVideoFrame(0, k, &f);
      ASSERT_NE(f, nullptr) << "frame " << k;
      EXPECT_EQ(WrongPixels(f, k), 0) << "frame " << k;
      if (k == 1) {
        EXPECT_EQ(std::memcmp(avi.ExtractAudioStream(0), spec.audio[0].data.data(), 800), 0);
      }
    }
    LPBITMAPINFOHEADER f = nullptr;
    avi.GetVideoFrameAtTime(0, 250, &f);
    ExpectQuadrants(f, 2, 0);
    avi.GetVideoFrame(0, 6, &f);
    EXPECT_EQ(f, nullptr);
    EXPECT_TRUE(avi.EndVideoRetrieve(0));
    avi.Release();
    std::vector<uint8_t> after(BuildAvi(spec).size() + 1);
    FILE *file = std::fopen(p.c_str(), "rb");
    ASSERT_NE(file, nullptr);
    after.resize(std::fread(after.data(), 1, after.size(), file));
    std::fclose(file);
    EXPECT_TRUE(after == BuildAvi(spec)) << "the file itself never changes";
  }
}

TEST_F(AviFileTest, FilesWithoutIndexAreScanned) {
  AviSpec spec;
  spec.index = false;
  spec.video.push_back(Video24(5));
  spec.audio.push_back(Pcm(2, 16, 8000, 3000));
  std::string p = Write("noindex.avi", spec);
  CAviFile avi;
  ASSERT_TRUE(avi.Open(p.c_str()));
  ASSERT_TRUE(avi.StartVideoRetrieve(0));
  LPBITMAPINFOHEADER f = nullptr;
  avi.GetVideoFrame(0, 4, &f);
  ExpectQuadrants(f, 4, 0);
  BYTE *data = avi.ExtractAudioStream(0);
  ASSERT_NE(data, nullptr);
  ASSERT_EQ(avi.GetAudioDataSize(0), 12000);
  EXPECT_EQ(std::memcmp(data, spec.audio[0].data.data(), 12000), 0);
}

TEST_F(AviFileTest, EveryKindOfIndexGivesTheStoredOrder) {
  struct Case {
    const char *name;
    bool idx1, absolute, odml;
  } cases[] = {{"idx1 from movi", true, false, false},
               {"idx1 from file start", true, true, false},
               {"OpenDML", false, false, true},
               {"OpenDML before idx1", true, false, true}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    AviSpec spec;
    spec.index = c.idx1, spec.absoluteIdx1 = c.absolute, spec.odml = c.odml;
    spec.reverseMovi = true;  // a scan would see the frames backwards
    spec.video.push_back(Video24(4, 16, 8));
    spec.audio.push_back(Pcm(1, 16, 8000, 1000));
    spec.audio[0].chunkBytes = 300;
    std::string p = Write("indexed.avi", spec);
    CAviFile avi;
    ASSERT_TRUE(avi.Open(p.c_str()));
    ASSERT_TRUE(avi.StartVideoRetrieve(0));
    for (int k = 0; k < 4; ++k) {
      LPBITMAPINFOHEADER f = nullptr;
      avi.GetVideoFrame(0, k, &f);
      ExpectQuadrants(f, k, 0);
    }
    BYTE *data = avi.ExtractAudioStream(0);
    ASSERT_NE(data, nullptr);
    ASSERT_EQ(avi.GetAudioDataSize(0), 2000);
    EXPECT_EQ(std::memcmp(data, spec.audio[0].data.data(), 2000), 0);
  }
}

TEST_F(AviFileTest, ExtractAudioStreamReadsOnceAndKeepsTheBuffer) {
  AviSpec spec;
  spec.video.push_back(Video24(2, 16, 16));
  spec.audio.push_back(Pcm(2, 16, 8000, 4001));
  spec.audio.push_back(Pcm(1, 8, 8000, 777));
  spec.audio[1].shortFormat = true;
  std::string p = Write("extract.avi", spec);
  CAviFile avi;
  ASSERT_TRUE(avi.Open(p.c_str()));
  BYTE *first = avi.ExtractAudioStream(0);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(avi.ExtractAudioStream(0), first);
  EXPECT_EQ(avi.GetAudioDataSize(0), 4001 * 4);
  EXPECT_EQ(std::memcmp(first, spec.audio[0].data.data(), 4001 * 4), 0);
  BYTE *mono = avi.ExtractAudioStream(1);
  ASSERT_NE(mono, nullptr);
  EXPECT_EQ(avi.GetAudioDataSize(1), 777);
  EXPECT_EQ(std::memcmp(mono, spec.audio[1].data.data(), 777), 0);
  EXPECT_EQ(avi.GetAudioFormat(1)->cbSize, 0) << "a short format block reads as a whole record";
  EXPECT_EQ(avi.ExtractAudioStream(2), nullptr);
  EXPECT_EQ(avi.ExtractAudioStream(99), nullptr);
}

TEST_F(AviFileTest, StreamReadsWholeSamplesAndNothingPastTheEnd) {
  AviSpec spec;
  spec.audio.push_back(Pcm(2, 16, 8000, 1000));
  spec.audio[0].chunkBytes = 444;  // chunks of 111 samples: reads cross chunk borders
  std::string p = Write("read.avi", spec);
  PAVIFILE file;
  ASSERT_EQ(AVIFileOpenA(&file, p.c_str(), 0, nullptr), AVIERR_OK);
  PAVISTREAM s;
  ASSERT_EQ(AVIFileGetStream(file, &s, streamtypeAUDIO, 0), AVIERR_OK);
  AVIFileRelease(file);  // the stream keeps the file open
  EXPECT_EQ(AVIStreamLength(s), 1000);
  LONG bytes = 0, samples = 0;
  ASSERT_EQ(AVIStreamRead(s, 100, 300, nullptr, 0, &bytes, &samples), AVIERR_OK);
  EXPECT_EQ(bytes, 1200);
  EXPECT_EQ(samples, 300);
  std::vector<uint8_t> buf(1203);
  ASSERT_EQ(AVIStreamRead(s, 100, 300, buf.data(), LONG(buf.size()), &bytes, &samples), AVIERR_OK);
  EXPECT_EQ(bytes, 1200);
  EXPECT_EQ(std::memcmp(buf.data(), spec.audio[0].data.data() + 400, 1200), 0);
  ASSERT_EQ(AVIStreamRead(s, 900, 8192, buf.data(), LONG(buf.size()), &bytes, &samples), AVIERR_OK);
  EXPECT_EQ(samples, 100);
  ASSERT_EQ(AVIStreamRead(s, 1000, 8192, buf.data(), LONG(buf.size()), &bytes, &samples), AVIERR_OK);
  EXPECT_EQ(bytes, 0);
  EXPECT_EQ(samples, 0);
  EXPECT_NE(AVIStreamRead(s, -5, 10, buf.data(), LONG(buf.size()), &bytes, &samples), AVIERR_OK);
  AVIStreamRelease(s);
}

TEST_F(AviFileTest, CompressedFramesDecodeInAnyOrder) {
  // MPEG-4 part 2 and H.264 with B-frames, in open groups (MPEG-4): the file's
  // order is not the order they are shown in. "rle " is QuickTime's RLE.
  for (const char *fourcc : {"MJPG", "FMP4", "H264", "cvid", "CRAM", "RLE8", "rle "}) {
    SCOPED_TRACE(fourcc);
    AviSpec spec;
    TestVideo v;
    ASSERT_TRUE(EncodeQuadrants(v, 12, fourcc, 5));
    spec.video.push_back(v);
    std::string p = Write("coded.avi", spec);
    CAviFile avi;
    ASSERT_TRUE(avi.Open(p.c_str()));
    ASSERT_TRUE(avi.StartVideoRetrieve(0));
    // First past a key frame, then backward, forward, across key frames, and
    // the last frames, which only come out of the decoder at the end.
    for (int k : {7, 3, 0, 1, 2, 11, 11, 4, 10, 5, 6, 9, 8}) {
      LPBITMAPINFOHEADER f = nullptr;
      avi.GetVideoFrame(0, k, &f);
      ExpectQuadrants(f, k, 24);
    }
    EXPECT_TRUE(avi.EndVideoRetrieve(0));
  }
}

TEST_F(AviFileTest, CodecsGetTheirExtraDataWhereverTheFormatKeepsIt) {
  struct Case {
    const char *fourcc;
    bool afterHeader;  // false: counted into biSize, as FFmpeg writes it
  } cases[] = {{"HFYU", false}, {"ULRG", false}, {"FFV1", false}, {"FFV1", true}};
  for (const Case &c : cases) {
    SCOPED_TRACE(std::string(c.fourcc) + (c.afterHeader ? " after the header" : " inside biSize"));
    AviSpec spec;
    TestVideo v;
    ASSERT_TRUE(EncodeQuadrants(v, 6, c.fourcc, 3));
    ASSERT_FALSE(v.extradata.empty());
    v.extradataAfterHeader = c.afterHeader;
    spec.video.push_back(v);
    std::string p = Write("extra.avi", spec);
    CAviFile avi;
    ASSERT_TRUE(avi.Open(p.c_str()));
    ASSERT_TRUE(avi.StartVideoRetrieve(0));
    for (int k : {0, 1, 5, 2}) {
      LPBITMAPINFOHEADER f = nullptr;
      avi.GetVideoFrame(0, k, &f);
      ASSERT_NE(f, nullptr) << "frame " << k;
      EXPECT_EQ(WrongPixels(f, k), 0) << "frame " << k;
    }
    EXPECT_TRUE(avi.EndVideoRetrieve(0));
  }
}

// FFmpeg's messages exist only where the library decodes with FFmpeg.
#ifndef _WIN32
// What FFmpeg itself makes of a coded picture: its decoder, then swscale
// with its default settings, into 32-bit BGR; top row first.
std::vector<uint8_t> FfmpegPicture(const TestVideo &v, size_t k) {
  std::vector<uint8_t> bgr(size_t(v.width * v.height * 4));
  const AVCodec *codec = avcodec_find_decoder(AV_CODEC_ID_FFV1);
  AVCodecContext *ctx = avcodec_alloc_context3(codec);
  ctx->extradata = static_cast<uint8_t *>(av_mallocz(v.extradata.size() + AV_INPUT_BUFFER_PADDING_SIZE));
  std::memcpy(ctx->extradata, v.extradata.data(), v.extradata.size());
  ctx->extradata_size = int(v.extradata.size());
  ctx->width = v.width, ctx->height = v.height;
  AVPacket *pkt = av_packet_alloc();
  AVFrame *f = av_frame_alloc();
  av_new_packet(pkt, int(v.frames[k].size()));
  std::memcpy(pkt->data, v.frames[k].data(), v.frames[k].size());
  if (avcodec_open2(ctx, codec, nullptr) == 0 && avcodec_send_packet(ctx, pkt) == 0 &&
      avcodec_receive_frame(ctx, f) == 0) {
    SwsContext *sws = sws_alloc_context();
    av_opt_set_int(sws, "srcw", f->width, 0), av_opt_set_int(sws, "srch", f->height, 0);
    av_opt_set_int(sws, "src_format", f->format, 0);
    av_opt_set_int(sws, "dstw", f->width, 0), av_opt_set_int(sws, "dsth", f->height, 0);
    av_opt_set_int(sws, "dst_format", AV_PIX_FMT_BGR0, 0);
    uint8_t *dst[4] = {bgr.data(), nullptr, nullptr, nullptr};
    int stride[4] = {v.width * 4, 0, 0, 0};
    if (sws_init_context(sws, nullptr, nullptr) >= 0) sws_scale(sws, f->data, f->linesize, 0, f->height, dst, stride);
    sws_freeContext(sws);
  }
  av_frame_free(&f);
  av_packet_free(&pkt);
  avcodec_free_context(&ctx);
  return bgr;
}

TEST_F(AviFileTest, OddHeightChromaIsFilledInAsFfmpegDoesIt) {
  // Colours change from row to row, so how the last row of a 4:2:0 picture
  // of odd height gets its chroma shows everywhere.
  TestVideo v;
  v.width = 64, v.height = 45;
  std::vector<std::vector<uint8_t>> rgb(2, std::vector<uint8_t>(size_t(64 * 45 * 3)));
  for (size_t k = 0; k < rgb.size(); ++k)
    for (int i = 0; i < 64 * 45; ++i) {
      int y = i / 64 + int(k) * 7, x = i % 64;
      uint8_t *p = &rgb[k][size_t(i) * 3];
      p[0] = uint8_t(y * 53 + x), p[1] = uint8_t(255 - y * 29), p[2] = uint8_t(y * 101 + x * 3);
    }
  ASSERT_TRUE(EncodePictures(v, rgb, "F420", 1));
  AviSpec spec;
  spec.video.push_back(v);
  CAviFile avi;
  ASSERT_TRUE(avi.Open(Write("odd.avi", spec).c_str()));
  ASSERT_TRUE(avi.StartVideoRetrieve(0));
  for (size_t k : {1u, 0u}) {
    std::vector<uint8_t> want = FfmpegPicture(v, k);
    LPBITMAPINFOHEADER f = nullptr;
    avi.GetVideoFrame(0, LONG(k), &f);
    ASSERT_NE(f, nullptr);
    double squares = 0;
    for (int y = 0; y < 45; ++y)
      for (int x = 0; x < 64; ++x)
        for (int c = 0; c < 3; ++c) {
          Rgb got = DibPixel(f, x, y);
          int mine = c == 0 ? got.b : c == 1 ? got.g : got.r, theirs = want[size_t((y * 64 + x) * 4 + c)];
          squares += (mine - theirs) * (mine - theirs);
        }
    double mse = squares / (64 * 45 * 3);
    EXPECT_TRUE(mse == 0 || 10 * std::log10(255.0 * 255.0 / mse) >= 45)
        << "frame " << k << ": mean square error " << mse;
  }
}

// What fd 2 receives while body runs.
template <class Body>
std::string StderrDuring(Body body) {
  std::fflush(stderr);
  FILE *sink = std::tmpfile();
  int saved = dup(2);
  dup2(fileno(sink), 2);
  body();
  std::fflush(stderr);
  dup2(saved, 2);
  close(saved);
  std::string text;
  std::rewind(sink);
  for (int c; (c = std::fgetc(sink)) != EOF;) text += char(c);
  std::fclose(sink);
  return text;
}

void KeepLine(const char *line, void *user) { static_cast<std::vector<std::string> *>(user)->push_back(line); }

TEST_F(AviFileTest, DecoderWarningsGoToTheLogHookAndNeverToStderr) {
  AviSpec spec;
  TestVideo v;
  ASSERT_TRUE(EncodeQuadrants(v, 4, "MJPG", 1));
  for (std::vector<uint8_t> &f : v.frames) f.resize(f.size() / 2);  // every picture cut short
  spec.video.push_back(v);
  std::string p = Write("cut.avi", spec);
  av_log_set_level(AV_LOG_INFO);  // FFmpeg's default, at which its own callback prints
  for (bool hooked : {false, true}) {
    SCOPED_TRACE(hooked ? "with a hook" : "without a hook");
    std::vector<std::string> lines;
    if (hooked) MivolenSetLogHook(KeepLine, &lines);
    std::string printed = StderrDuring([&] {
      CAviFile avi;
      ASSERT_TRUE(avi.Open(p.c_str()));
      ASSERT_TRUE(avi.StartVideoRetrieve(0));
      for (int k = 0; k < 4; ++k) {
        LPBITMAPINFOHEADER f = nullptr;
        avi.GetVideoFrame(0, k, &f);
      }
      avi.EndVideoRetrieve(0);
    });
    MivolenSetLogHook(nullptr, nullptr);
    EXPECT_EQ(printed, "");
    EXPECT_EQ(lines.empty(), !hooked);
    for (const std::string &line : lines) {
      EXPECT_FALSE(line.empty());
      EXPECT_EQ(line.find('\n'), std::string::npos) << line;
    }
  }
  av_log_set_level(AV_LOG_QUIET);
}
#endif

TEST_F(AviFileTest, UnknownCompressionCannotBeRetrieved) {
  AviSpec spec;
  spec.video.push_back(Video24(2, 16, 16));
  spec.video[0].compression = 0x5a5a5a5a;  // "ZZZZ"
  std::string p = Write("zzzz.avi", spec);
  CAviFile avi;
  ASSERT_TRUE(avi.Open(p.c_str()));
  EXPECT_FALSE(avi.StartVideoRetrieve(0));
}

TEST_F(AviFileTest, ReleaseAllowsAnotherOpen) {
  AviSpec a, b;
  a.video.push_back(Video24(2, 16, 16));
  b.video.push_back(Video24(2, 32, 8));
  std::string pa = Write("a.avi", a), pb = Write("b.avi", b);
  CAviFile avi;
  ASSERT_TRUE(avi.Open(pa.c_str()));
  ASSERT_TRUE(avi.StartVideoRetrieve(0));
  avi.Release();  // without EndVideoRetrieve: the reader goes too
  EXPECT_EQ(avi.GetVideoStreamCount(), 0);
  ASSERT_TRUE(avi.Open(pb.c_str()));
  EXPECT_EQ(avi.GetVideoFormat(0)->biWidth, 32);
  // Opening again without Release lets the first file go rather than piling up streams.
  ASSERT_TRUE(avi.Open(pa.c_str()));
  EXPECT_EQ(avi.GetVideoStreamCount(), 1);
  EXPECT_EQ(avi.GetVideoFormat(0)->biWidth, 16);
}

}  // namespace

// avi_writer.h: builds small AVI files for the video tests: uncompressed or
// libavcodec-encoded video, PCM audio, with or without an idx1 index.
#ifndef TESTS_VIDEO_AVI_WRITER_H
#define TESTS_VIDEO_AVI_WRITER_H

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct Rgb {
  int r, g, b;
};

struct TestVideo {
  int width = 64, height = 48, bits = 24;
  uint32_t compression = 0;  // 0: uncompressed DIB, else a fourcc
  uint32_t rate = 10, scale = 1;
  bool topDown = false;
  std::vector<uint8_t> palette;  // 8-bit: 256 BGRX entries
  // The codec's extra data: counted into biSize as FFmpeg writes it, or after a 40-byte header.
  std::vector<uint8_t> extradata;
  bool extradataAfterHeader = false;
  std::vector<std::vector<uint8_t>> frames;
  std::vector<bool> keys;  // empty: every frame is a key frame
};

struct TestAudio {
  int channels = 2, rate = 8000, bits = 16;
  std::vector<uint8_t> data;
  size_t chunkBytes = 1600;
  bool shortFormat = false;  // a 16-byte format block without cbSize
  // Compressed audio: one packet per chunk, under this format tag, with the
  // extra bytes after the wave format; blocks of a fixed size when blockAlign
  // is the stream's sample size (ADPCM), else one sample per chunk (MP3).
  int formatTag = 1;
  std::vector<std::vector<uint8_t>> packets;
  std::vector<uint8_t> extra;
  int blockAlign = 0, frameSamples = 0, bytesPerSecond = 0;
  bool fixedBlocks = false;
};

struct AviSpec {
  std::vector<TestVideo> video;
  std::vector<TestAudio> audio;
  bool index = true;          // an idx1 index
  bool absoluteIdx1 = false;  // idx1 offsets from the file start rather than the movi list
  bool odml = false;          // OpenDML indexes: indx in each stream header, ix## chunks
  bool reverseMovi = false;   // chunks stored back to front; only an index gives their order
};

std::vector<uint8_t> BuildAvi(const AviSpec &spec);
void WriteBytes(const std::string &path, const std::vector<uint8_t> &bytes);
std::string TempPath(const std::string &name);

// The four quadrant colours of test frame k (top-left, top-right, bottom-left, bottom-right).
Rgb QuadrantColour(int k, int quadrant);
// Frame k as a picture of four solid quadrants.
std::vector<uint8_t> QuadrantFrame24(int w, int h, int k, bool topDown);
std::vector<uint8_t> QuadrantFrame8(int w, int h, int k, bool topDown);
std::vector<uint8_t> QuadrantPalette();  // colours of QuadrantFrame8: index 4k+q
// Frames encoded with libavcodec ("MJPG", "FMP4" and "H264" with B-frames,
// "cvid", "CRAM", QuickTime's "rle ", and the lossless "HFYU", "ULRG" and
// "FFV1" level 3, which carry extra data; "F420" is FFV1 in 4:2:0), or "RLE8"
// written here; keys and extra data filled in.
bool EncodeQuadrants(TestVideo &v, int frames, const char *fourcc, int gop);
// The same for any pictures: rows of packed RGB, v.width by v.height, top row first.
bool EncodePictures(TestVideo &v, const std::vector<std::vector<uint8_t>> &rgb, const char *fourcc, int gop);
#ifndef MIVOLEN_TEST_NO_ENCODER
struct AVCodecContext;
struct AVFrame;
// Runs an opened encoder over `count` pictures or blocks of sound that fill
// draws into each frame; its packets (and key flags) go to the vectors.
void EncodeFrames(AVCodecContext *ctx, int count, const std::function<void(int, AVFrame *)> &fill,
                  std::vector<std::vector<uint8_t>> &packets, std::vector<bool> *keys);
#endif
// A sine of `hz` in every channel, encoded with libavcodec ("mp3", "aac", "adpcm_ms").
bool EncodeSine(TestAudio &a, const char *codec, int channels, int rate, int samples, int hz);

TestVideo Video24(int frames, int w = 64, int h = 48, bool topDown = false);
TestVideo Video8(int frames, int w = 64, int h = 48);
// PCM whose sample n of channel c is a ramp that identifies it.
TestAudio Pcm(int channels, int bits, int rate, int samples);

#endif

// avi_writer.cpp: the test AVI writer and its frame and audio makers.
#include "avi_writer.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <stdexcept>

// The Windows build has no libavcodec: there only the hand-made RLE8 is encoded.
#ifndef MIVOLEN_TEST_NO_ENCODER
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/channel_layout.h>
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}
#endif

namespace {

struct Out {
  std::vector<uint8_t> b;
  void U8(uint8_t v) { b.push_back(v); }
  void U16(uint16_t v) { U8(uint8_t(v)), U8(uint8_t(v >> 8)); }
  void U32(uint32_t v) { U16(uint16_t(v)), U16(uint16_t(v >> 16)); }
  void Fcc(const char *s) { b.insert(b.end(), s, s + 4); }
  void Bytes(const std::vector<uint8_t> &v) { b.insert(b.end(), v.begin(), v.end()); }
  size_t Begin(const char *id) {  // returns where the size goes
    Fcc(id);
    U32(0);
    return b.size() - 4;
  }
  void End(size_t at) {
    uint32_t size = uint32_t(b.size() - at - 4);
    std::memcpy(&b[at], &size, 4);
    if (size & 1) U8(0);
  }
};

uint32_t FourCC(const char *s) {
  return uint32_t(uint8_t(s[0])) | uint32_t(uint8_t(s[1])) << 8 | uint32_t(uint8_t(s[2])) << 16 |
         uint32_t(uint8_t(s[3])) << 24;
}

std::string ChunkId(int stream, const char *kind) {
  char id[5];
  std::snprintf(id, sizeof id, "%02x%s", stream, kind);
  return id;
}

}  // namespace

Rgb QuadrantColour(int k, int q) {
  static const Rgb base[4] = {{200, 30, 30}, {30, 200, 30}, {30, 30, 200}, {220, 220, 40}};
  Rgb c = base[q];
  // Frames differ clearly, also after lossy coding.
  int shift = (k * 37) % 120;
  return {(c.r + shift) % 256, (c.g + 2 * shift) % 256, (c.b + 3 * shift) % 256};
}

static int QuadrantOf(int x, int y, int w, int h) { return (y >= h / 2 ? 2 : 0) + (x >= w / 2 ? 1 : 0); }

std::vector<uint8_t> QuadrantFrame24(int w, int h, int k, bool topDown) {
  int stride = ((w * 24 + 31) / 32) * 4;
  std::vector<uint8_t> f(size_t(stride * h), 0);
  for (int y = 0; y < h; ++y) {
    int row = topDown ? y : h - 1 - y;
    for (int x = 0; x < w; ++x) {
      Rgb c = QuadrantColour(k, QuadrantOf(x, y, w, h));
      uint8_t *p = &f[size_t(row * stride + x * 3)];
      p[0] = uint8_t(c.b), p[1] = uint8_t(c.g), p[2] = uint8_t(c.r);
    }
  }
  return f;
}

std::vector<uint8_t> QuadrantPalette() {
  std::vector<uint8_t> pal(1024, 0);
  for (int i = 0; i < 256; ++i) {
    Rgb c = QuadrantColour(i / 4, i % 4);
    pal[size_t(i * 4)] = uint8_t(c.b), pal[size_t(i * 4 + 1)] = uint8_t(c.g), pal[size_t(i * 4 + 2)] = uint8_t(c.r);
  }
  return pal;
}

std::vector<uint8_t> QuadrantFrame8(int w, int h, int k, bool topDown) {
  int stride = ((w * 8 + 31) / 32) * 4;
  std::vector<uint8_t> f(size_t(stride * h), 0);
  for (int y = 0; y < h; ++y) {
    int row = topDown ? y : h - 1 - y;
    for (int x = 0; x < w; ++x) f[size_t(row * stride + x)] = uint8_t((k % 64) * 4 + QuadrantOf(x, y, w, h));
  }
  return f;
}

TestVideo Video24(int frames, int w, int h, bool topDown) {
  TestVideo v;
  v.width = w, v.height = h, v.bits = 24, v.topDown = topDown;
  for (int k = 0; k < frames; ++k) v.frames.push_back(QuadrantFrame24(w, h, k, topDown));
  return v;
}

TestVideo Video8(int frames, int w, int h) {
  TestVideo v;
  v.width = w, v.height = h, v.bits = 8;
  v.palette = QuadrantPalette();
  for (int k = 0; k < frames; ++k) v.frames.push_back(QuadrantFrame8(w, h, k, false));
  return v;
}

TestAudio Pcm(int channels, int bits, int rate, int samples) {
  TestAudio a;
  a.channels = channels, a.bits = bits, a.rate = rate;
  for (int n = 0; n < samples; ++n)
    for (int c = 0; c < channels; ++c) {
      if (bits == 16) {
        int16_t v = int16_t((n * 7 + c * 1000) % 60000 - 30000);
        a.data.push_back(uint8_t(v)), a.data.push_back(uint8_t(uint16_t(v) >> 8));
      } else {
        a.data.push_back(uint8_t(n + c * 50));
      }
    }
  a.chunkBytes = size_t(rate / 10) * size_t(channels * bits / 8);
  return a;
}

// MS RLE8 by hand (FFmpeg has no encoder for it): runs of one index per row,
// rows bottom-up, each ended by 0 0 and the picture by 0 1.
static std::vector<uint8_t> Rle8(const std::vector<uint8_t> &pixels, int w, int h) {
  int stride = ((w + 3) / 4) * 4;
  std::vector<uint8_t> out;
  for (int row = 0; row < h; ++row) {
    const uint8_t *p = &pixels[size_t(row * stride)];
    for (int x = 0; x < w;) {
      int n = 1;
      while (x + n < w && n < 255 && p[x + n] == p[x]) ++n;
      out.push_back(uint8_t(n)), out.push_back(p[x]);
      x += n;
    }
    out.push_back(0), out.push_back(row == h - 1 ? 1 : 0);
  }
  return out;
}

bool EncodeQuadrants(TestVideo &v, int frames, const char *fourcc, int gop) {
  std::string tag(fourcc);
  if (tag == "RLE8") {
    v.compression = FourCC(fourcc);
    v.frames.clear(), v.keys.clear();
    v.compression = 1;  // BI_RLE8
    v.bits = 8;
    v.palette = QuadrantPalette();
    for (int k = 0; k < frames; ++k) {
      v.frames.push_back(Rle8(QuadrantFrame8(v.width, v.height, k, false), v.width, v.height));
      v.keys.push_back(true);
    }
    return true;
  }
  std::vector<std::vector<uint8_t>> rgb(size_t(frames), std::vector<uint8_t>(size_t(v.width * v.height * 3)));
  for (int k = 0; k < frames; ++k)
    for (int y = 0; y < v.height; ++y)
      for (int x = 0; x < v.width; ++x) {
        Rgb q = QuadrantColour(k, QuadrantOf(x, y, v.width, v.height));
        uint8_t *p = &rgb[size_t(k)][size_t((y * v.width + x) * 3)];
        p[0] = uint8_t(q.r), p[1] = uint8_t(q.g), p[2] = uint8_t(q.b);
      }
  return EncodePictures(v, rgb, fourcc, gop);
}

bool EncodePictures(TestVideo &v, const std::vector<std::vector<uint8_t>> &rgb, const char *fourcc, int gop) {
  std::string tag(fourcc);
  v.compression = FourCC(tag == "F420" ? "FFV1" : fourcc);
  v.frames.clear(), v.keys.clear();
#ifdef MIVOLEN_TEST_NO_ENCODER
  (void)rgb, (void)gop;
  return false;
#else
  struct Choice {
    const char *tag;
    AVCodecID id;
    AVPixelFormat format;
    int bits;
    int bFrames;
  } choices[] = {{"MJPG", AV_CODEC_ID_MJPEG, AV_PIX_FMT_YUVJ420P, 24, 0},
                 {"FMP4", AV_CODEC_ID_MPEG4, AV_PIX_FMT_YUV420P, 24, 2},
                 {"H264", AV_CODEC_ID_H264, AV_PIX_FMT_YUV420P, 24, 2},
                 {"cvid", AV_CODEC_ID_CINEPAK, AV_PIX_FMT_RGB24, 24, 0},
                 {"CRAM", AV_CODEC_ID_MSVIDEO1, AV_PIX_FMT_RGB555LE, 16, 0},
                 {"HFYU", AV_CODEC_ID_HUFFYUV, AV_PIX_FMT_RGB24, 24, 0},
                 {"ULRG", AV_CODEC_ID_UTVIDEO, AV_PIX_FMT_GBRP, 24, 0},
                 {"FFV1", AV_CODEC_ID_FFV1, AV_PIX_FMT_BGR0, 32, 0},
                 {"F420", AV_CODEC_ID_FFV1, AV_PIX_FMT_YUV420P, 24, 0},
                 {"rle ", AV_CODEC_ID_QTRLE, AV_PIX_FMT_RGB24, 24, 0}};
  const Choice *c = nullptr;
  for (const Choice &ch : choices)
    if (tag == ch.tag) c = &ch;
  if (!c) return false;
  const AVCodec *codec = avcodec_find_encoder(c->id);
  if (!codec) return false;
  AVCodecContext *ctx = avcodec_alloc_context3(codec);
  ctx->width = v.width, ctx->height = v.height;
  ctx->time_base = {int(v.scale), int(v.rate)};
  ctx->pix_fmt = c->format;
  ctx->gop_size = gop;
  ctx->max_b_frames = c->bFrames;
  ctx->bit_rate = 2000000;
  // Always use the B-frames, so the decoder must reorder; key frames only every gop frames.
  if (c->id == AV_CODEC_ID_H264) av_opt_set(ctx->priv_data, "x264-params", "b-adapt=0:scenecut=0", 0);
  if (c->id == AV_CODEC_ID_FFV1) ctx->level = 3;  // keeps its settings in the extra data
  if (avcodec_open2(ctx, codec, nullptr) < 0) {
    avcodec_free_context(&ctx);
    return false;
  }
  v.extradata.assign(ctx->extradata, ctx->extradata + ctx->extradata_size);
  v.bits = ctx->bits_per_coded_sample ? ctx->bits_per_coded_sample : c->bits;
  SwsContext *sws = sws_getContext(v.width, v.height, AV_PIX_FMT_RGB24, v.width, v.height, c->format, SWS_POINT,
                                   nullptr, nullptr, nullptr);
  EncodeFrames(
      ctx, int(rgb.size()),
      [&](int k, AVFrame *f) {
        const uint8_t *src[4] = {rgb[size_t(k)].data(), nullptr, nullptr, nullptr};
        int srcStride[4] = {v.width * 3, 0, 0, 0};
        sws_scale(sws, src, srcStride, 0, v.height, f->data, f->linesize);
      },
      v.frames, &v.keys);
  sws_freeContext(sws);
  avcodec_free_context(&ctx);
  return v.frames.size() == rgb.size();
#endif
}

#ifndef MIVOLEN_TEST_NO_ENCODER
void EncodeFrames(AVCodecContext *ctx, int count, const std::function<void(int, AVFrame *)> &fill,
                  std::vector<std::vector<uint8_t>> &packets, std::vector<bool> *keys) {
  AVFrame *f = av_frame_alloc();
  if (ctx->codec_type == AVMEDIA_TYPE_AUDIO) {
    f->format = ctx->sample_fmt, f->nb_samples = ctx->frame_size, f->sample_rate = ctx->sample_rate;
    av_channel_layout_copy(&f->ch_layout, &ctx->ch_layout);
  } else {
    f->format = ctx->pix_fmt, f->width = ctx->width, f->height = ctx->height;
  }
  av_frame_get_buffer(f, 0);
  AVPacket *pkt = av_packet_alloc();
  auto drain = [&]() {
    while (avcodec_receive_packet(ctx, pkt) == 0) {
      packets.emplace_back(pkt->data, pkt->data + pkt->size);
      if (keys) keys->push_back((pkt->flags & AV_PKT_FLAG_KEY) != 0);
      av_packet_unref(pkt);
    }
  };
  for (int k = 0; k < count; ++k) {
    av_frame_make_writable(f);
    fill(k, f);
    f->pts = int64_t(k) * (ctx->codec_type == AVMEDIA_TYPE_AUDIO ? ctx->frame_size : 1);
    avcodec_send_frame(ctx, f);
    drain();
  }
  avcodec_send_frame(ctx, nullptr);
  drain();
  av_packet_free(&pkt);
  av_frame_free(&f);
}
#endif

bool EncodeSine(TestAudio &a, const char *codecName, int channels, int rate, int samples, int hz) {
#ifdef MIVOLEN_TEST_NO_ENCODER
  (void)a, (void)codecName, (void)channels, (void)rate, (void)samples, (void)hz;
  return false;
#else
  const AVCodec *codec = avcodec_find_encoder_by_name(std::string(codecName) == "mp3" ? "libmp3lame" : codecName);
  if (!codec) return false;
  AVCodecContext *ctx = avcodec_alloc_context3(codec);
  av_channel_layout_default(&ctx->ch_layout, channels);
  ctx->sample_rate = rate;
  ctx->sample_fmt = AV_SAMPLE_FMT_S16;
  for (const AVSampleFormat *f = codec->sample_fmts; f && *f != AV_SAMPLE_FMT_NONE; ++f)
    if (*f == AV_SAMPLE_FMT_S16 || *f == AV_SAMPLE_FMT_S16P || *f == AV_SAMPLE_FMT_FLTP) ctx->sample_fmt = *f;
  ctx->bit_rate = 64000;
  if (avcodec_open2(ctx, codec, nullptr) < 0) {
    avcodec_free_context(&ctx);
    return false;
  }
  a = TestAudio();
  a.channels = channels, a.rate = rate;
  a.bits = ctx->bits_per_coded_sample;
  a.formatTag = codec->id == AV_CODEC_ID_MP3 ? 0x55 : codec->id == AV_CODEC_ID_AAC ? 0xff : 0x02;
  a.fixedBlocks = codec->id == AV_CODEC_ID_ADPCM_MS;
  a.blockAlign = a.fixedBlocks ? ctx->block_align : ctx->frame_size;
  a.frameSamples = ctx->frame_size;
  a.bytesPerSecond = int(ctx->bit_rate / 8);
  a.extra.assign(ctx->extradata, ctx->extradata + ctx->extradata_size);
  const bool planar = av_sample_fmt_is_planar(ctx->sample_fmt);
  const int frameSize = ctx->frame_size;
  EncodeFrames(
      ctx, (samples + frameSize - 1) / frameSize,
      [&](int k, AVFrame *f) {
        for (int i = 0; i < frameSize; ++i) {
          int n = k * frameSize + i;
          double v = n < samples ? 0.5 * std::sin(2 * M_PI * hz * n / rate) : 0;
          for (int c = 0; c < channels; ++c) {
            int at = planar ? i : i * channels + c;
            uint8_t *plane = f->extended_data[planar ? c : 0];
            if (f->format == AV_SAMPLE_FMT_FLTP)
              reinterpret_cast<float *>(plane)[at] = float(v);
            else
              reinterpret_cast<int16_t *>(plane)[at] = int16_t(v * 32767);
          }
        }
      },
      a.packets, nullptr);
  avcodec_free_context(&ctx);
  return !a.packets.empty();
#endif
}

// An OpenDML super index with one entry, filled in once the movi data is
// written; returns where that entry starts.
static size_t SuperIndex(Out &o, const char *chunkId) {
  size_t at = o.Begin("indx");
  o.U16(4), o.U8(0), o.U8(0), o.U32(1);
  o.Fcc(chunkId);
  o.U32(0), o.U32(0), o.U32(0);
  size_t entry = o.b.size();
  for (int i = 0; i < 4; ++i) o.U32(0);
  o.End(at);
  return entry;
}

std::vector<uint8_t> BuildAvi(const AviSpec &spec) {
  Out o;
  std::vector<size_t> superIndex;  // per stream, its super index entry
  size_t riff = o.Begin("RIFF");
  o.Fcc("AVI ");
  size_t hdrl = o.Begin("LIST");
  o.Fcc("hdrl");
  size_t avih = o.Begin("avih");
  const TestVideo *v0 = spec.video.empty() ? nullptr : &spec.video[0];
  o.U32(v0 ? uint32_t(1000000ull * v0->scale / v0->rate) : 0);
  o.U32(0), o.U32(0), o.U32(spec.index ? 0x10 : 0);
  o.U32(v0 ? uint32_t(v0->frames.size()) : 0), o.U32(0);
  o.U32(uint32_t(spec.video.size() + spec.audio.size())), o.U32(0);
  o.U32(v0 ? uint32_t(v0->width) : 0), o.U32(v0 ? uint32_t(v0->height) : 0);
  for (int i = 0; i < 4; ++i) o.U32(0);
  o.End(avih);

  for (const TestVideo &v : spec.video) {
    size_t strl = o.Begin("LIST");
    o.Fcc("strl");
    size_t strh = o.Begin("strh");
    o.Fcc("vids");
    o.U32(v.compression ? v.compression : 0);
    o.U32(0), o.U16(0), o.U16(0), o.U32(0);
    o.U32(v.scale), o.U32(v.rate), o.U32(0), o.U32(uint32_t(v.frames.size()));
    o.U32(0), o.U32(0xffffffff), o.U32(0);
    o.U16(0), o.U16(0), o.U16(uint16_t(v.width)), o.U16(uint16_t(v.height));
    o.End(strh);
    size_t strf = o.Begin("strf");
    o.U32(40 + uint32_t(v.extradataAfterHeader ? 0 : v.extradata.size()));
    o.U32(uint32_t(v.width)), o.U32(uint32_t(v.topDown ? -v.height : v.height));
    o.U16(1), o.U16(uint16_t(v.bits)), o.U32(v.compression);
    o.U32(uint32_t(((v.width * v.bits + 31) / 32) * 4 * v.height));
    o.U32(0), o.U32(0), o.U32(v.bits == 8 ? 256 : 0), o.U32(0);
    o.Bytes(v.extradata);
    if (v.bits == 8) o.Bytes(v.palette);
    o.End(strf);
    superIndex.push_back(spec.odml ? SuperIndex(o, "00db") : 0);
    o.End(strl);
  }
  for (const TestAudio &a : spec.audio) {
    size_t strl = o.Begin("LIST");
    o.Fcc("strl");
    const bool coded = !a.packets.empty();
    uint16_t align = coded ? uint16_t(a.blockAlign) : uint16_t(a.channels * a.bits / 8);
    // Coded audio is counted as FFmpeg writes it: in frames of frameSamples, or in blocks.
    uint32_t scale = coded ? uint32_t(a.frameSamples) : 1, length = uint32_t(a.data.size() / (align ? align : 1));
    if (coded) length = uint32_t(a.packets.size());
    size_t strh = o.Begin("strh");
    o.Fcc("auds");
    o.U32(0), o.U32(0), o.U16(0), o.U16(0), o.U32(0);
    o.U32(scale), o.U32(uint32_t(a.rate)), o.U32(0), o.U32(length);
    o.U32(0), o.U32(0xffffffff), o.U32(coded && !a.fixedBlocks ? 0 : align);
    o.U16(0), o.U16(0), o.U16(0), o.U16(0);
    o.End(strh);
    size_t strf = o.Begin("strf");
    o.U16(uint16_t(a.formatTag)), o.U16(uint16_t(a.channels)), o.U32(uint32_t(a.rate));
    o.U32(coded ? uint32_t(a.bytesPerSecond) : uint32_t(a.rate) * align), o.U16(align), o.U16(uint16_t(a.bits));
    if (!a.shortFormat) o.U16(uint16_t(a.extra.size()));
    o.Bytes(a.extra);
    o.End(strf);
    superIndex.push_back(spec.odml ? SuperIndex(o, "00wb") : 0);
    o.End(strl);
  }
  o.End(hdrl);

  // Chunks in stream order first; the movi list may store them reversed, the
  // indexes always list them in order.
  struct Entry {
    int stream;
    std::string id;
    const uint8_t *data;
    uint32_t size;
    bool key;
    uint32_t offset = 0;  // of the chunk header, from the movi list type
  };
  std::vector<Entry> entries;
  size_t frames = 0;
  for (const TestVideo &v : spec.video) frames = std::max(frames, v.frames.size());
  std::vector<size_t> audioPos(spec.audio.size(), 0);
  auto audioChunk = [&](size_t s) {
    const TestAudio &a = spec.audio[s];
    if (!a.packets.empty()) {
      if (audioPos[s] < a.packets.size())
        entries.push_back({int(spec.video.size() + s), ChunkId(int(spec.video.size() + s), "wb"),
                           a.packets[audioPos[s]].data(), uint32_t(a.packets[audioPos[s]].size()), true});
      ++audioPos[s];
      return;
    }
    size_t n = std::min(a.chunkBytes, a.data.size() - audioPos[s]);
    if (n)
      entries.push_back({int(spec.video.size() + s), ChunkId(int(spec.video.size() + s), "wb"),
                         a.data.data() + audioPos[s], uint32_t(n), true});
    audioPos[s] += n;
  };
  for (size_t k = 0; k < frames; ++k) {
    for (size_t s = 0; s < spec.video.size(); ++s) {
      const TestVideo &v = spec.video[s];
      if (k >= v.frames.size()) continue;
      bool key = v.keys.empty() || v.keys[k];
      entries.push_back({int(s), ChunkId(int(s), v.compression ? "dc" : "db"), v.frames[k].data(),
                         uint32_t(v.frames[k].size()), key});
    }
    for (size_t s = 0; s < spec.audio.size(); ++s) audioChunk(s);
  }
  for (size_t s = 0; s < spec.audio.size(); ++s)
    while (audioPos[s] < std::max(spec.audio[s].data.size(), spec.audio[s].packets.size())) audioChunk(s);

  size_t movi = o.Begin("LIST");
  size_t moviType = o.b.size();
  o.Fcc("movi");
  std::vector<size_t> order(entries.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = spec.reverseMovi ? order.size() - 1 - i : i;
  for (size_t i : order) {
    Entry &e = entries[i];
    e.offset = uint32_t(o.b.size() - moviType);
    size_t at = o.Begin(e.id.c_str());
    o.b.insert(o.b.end(), e.data, e.data + e.size);
    o.End(at);
  }
  if (spec.odml) {
    // One standard index per stream, its entries counting from the movi list type.
    for (size_t s = 0; s < superIndex.size(); ++s) {
      size_t ix = o.b.size();
      char id[5];
      std::snprintf(id, sizeof id, "ix%02x", int(s));
      size_t at = o.Begin(id);
      uint32_t n = 0;
      for (const Entry &e : entries) n += e.stream == int(s);
      o.U16(2), o.U8(0), o.U8(1), o.U32(n);
      o.Fcc(entries.empty() ? "00db" : ChunkId(int(s), "db").c_str());
      o.U32(uint32_t(moviType)), o.U32(0), o.U32(0);
      for (const Entry &e : entries)
        if (e.stream == int(s)) o.U32(e.offset + 8), o.U32(e.size | (e.key ? 0 : 0x80000000u));
      o.End(at);
      uint32_t size = uint32_t(o.b.size() - ix - 8);
      std::memcpy(&o.b[superIndex[s]], &ix, 4);  // low half of the 64-bit offset
      std::memcpy(&o.b[superIndex[s] + 8], &size, 4);
      std::memcpy(&o.b[superIndex[s] + 12], &n, 4);
    }
  }
  o.End(movi);
  if (spec.index) {
    size_t idx1 = o.Begin("idx1");
    for (const Entry &e : entries) {
      o.Fcc(e.id.c_str());
      o.U32(e.key ? 0x10u : 0u), o.U32(e.offset + (spec.absoluteIdx1 ? uint32_t(moviType) : 0)), o.U32(e.size);
    }
    o.End(idx1);
  }
  o.End(riff);
  return o.b;
}

void WriteBytes(const std::string &path, const std::vector<uint8_t> &bytes) {
  FILE *f = std::fopen(path.c_str(), "wb");
  if (!f) throw std::runtime_error("cannot write " + path);
  if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

std::string TempPath(const std::string &name) {
  // Memory-backed when possible: the damage tests write thousands of files.
  static const std::string dir = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
  return dir + "/mivolen_test_" + std::to_string(getpid()) + "_" + name;
}

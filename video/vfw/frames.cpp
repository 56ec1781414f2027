// frames.cpp: frame readers. Uncompressed DIB frames are handed out where
// the file holds them (or copied out when that cannot be done); compressed
// ones are decoded with libavcodec into 32-bit DIBs, decoding forward from the
// nearest key frame when asked out of order.
#include <cstdlib>
#include <cstring>
#include <deque>

#include "avi_internal.h"
#include "ffmpeg_log.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libswscale/swscale.h>
}

namespace {

const int64_t kMaxDimension = 16384;
const int64_t kMaxImageBytes = 512ll << 20;
const int64_t kMaxPixels = 8192 * 4320;  // beyond any video we mean to play

// The JPEG ("J") formats are the plain ones at full range. swscale warns about
// them and, since it stores the plain format, would rebuild a cached context
// on every frame; so the plain format is asked for with the range set.
AVPixelFormat PlainFormat(AVPixelFormat f, bool *fullRange) {
  switch (f) {
    case AV_PIX_FMT_YUVJ420P:
      *fullRange = true;
      return AV_PIX_FMT_YUV420P;
    case AV_PIX_FMT_YUVJ422P:
      *fullRange = true;
      return AV_PIX_FMT_YUV422P;
    case AV_PIX_FMT_YUVJ444P:
      *fullRange = true;
      return AV_PIX_FMT_YUV444P;
    case AV_PIX_FMT_YUVJ440P:
      *fullRange = true;
      return AV_PIX_FMT_YUV440P;
    case AV_PIX_FMT_YUVJ411P:
      *fullRange = true;
      return AV_PIX_FMT_YUV411P;
    default:
      return f;
  }
}

uint32_t Rd32(const uint8_t *p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

}  // namespace

struct GetFrameImpl {
  PAVISTREAM stream = nullptr;
  std::vector<uint8_t> out;         // the packed DIB handed to the caller (raw frames: its header first)
  std::vector<int64_t> shownChunk;  // per frame: the last non-empty chunk at or before it (-1: none)
  int64_t current = -1;             // frame chunk held in held
  LPVOID held = nullptr;            // the packed DIB of current
  // Uncompressed frames. A 640x480 frame is 900 KiB, and copying it costs
  // about as much as drawing it, so where the file's data allows it the
  // header is written just before the pixels in a private view of the file.
  bool raw = false;
  size_t headerBytes = 0, imageBytes = 0;
  std::unique_ptr<AviView> view;
  uint64_t headerAt = 0;  // where the header sits in view, while headerSaved holds what it covers
  std::vector<uint8_t> headerSaved;
  // Compressed frames.
  AVCodecContext *ctx = nullptr;
  AVFrame *frame = nullptr;
  AVPacket *packet = nullptr;
  SwsContext *sws = nullptr;
  int swsWidth = 0, swsHeight = 0;  // what sws was made for
  AVPixelFormat swsFormat = AV_PIX_FMT_NONE;
  bool swsFullRange = false;
  int64_t nextPacket = 0;       // next chunk to send to the decoder
  int64_t lastOut = -1;         // chunk of the last picture the decoder gave back
  std::deque<int64_t> pending;  // chunks sent whose pictures have not come back yet
  std::vector<uint8_t> scratch;
  bool drained = false;
  bool sendPalette = true;
  uint8_t palette[AVPALETTE_SIZE] = {};
  bool hasPalette = false;

  ~GetFrameImpl() {
    TakeHeaderBack();
    sws_freeContext(sws);
    av_packet_free(&packet);
    av_frame_free(&frame);
    avcodec_free_context(&ctx);
    AVIStreamRelease(stream);
  }

  bool OpenRaw(const std::vector<uint8_t> &fmt, const BITMAPINFOHEADER &bi) {
    int64_t w = bi.biWidth, h = bi.biHeight < 0 ? -int64_t(bi.biHeight) : bi.biHeight;
    int bits = bi.biBitCount;
    if (w <= 0 || h <= 0 || w > kMaxDimension || h > kMaxDimension) return false;
    if (bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
    if (bi.biCompression == BI_BITFIELDS && bits != 16 && bits != 32) return false;
    size_t hdr = bi.biSize >= 40 && bi.biSize <= fmt.size() ? bi.biSize : 40;
    size_t table = 0;  // bytes of colour table or masks after the header
    DWORD colours = 0;
    if (bits == 8) {
      colours = bi.biClrUsed && bi.biClrUsed <= 256 ? bi.biClrUsed : 256;
      table = colours * 4;
    } else if (bi.biCompression == BI_BITFIELDS) {
      table = 12;
    }
    int64_t stride = ((w * bits + 31) / 32) * 4;
    // A picture larger than every chunk could never be shown; refusing it early
    // also keeps a tiny hostile file from claiming a huge frame buffer.
    uint32_t largest = 0;
    for (const AviChunk &c : stream->Layout().chunks) largest = c.size > largest ? c.size : largest;
    // A stream without any frame opens (and shows nothing), as a compressed one does.
    if (stride * h > kMaxImageBytes || (largest && stride * h > int64_t(largest))) return false;
    imageBytes = size_t(stride * h);
    headerBytes = 40 + table;
    out.assign(headerBytes, 0);
    BITMAPINFOHEADER o = bi;
    o.biSize = 40;
    o.biSizeImage = DWORD(imageBytes);
    o.biClrUsed = colours;
    std::memcpy(out.data(), &o, 40);
    if (hdr + table <= fmt.size()) std::memcpy(out.data() + 40, fmt.data() + hdr, table);
    raw = true;
    if (largest) view = stream->file->source->PrivateView();
    return true;
  }

  // Puts back the bytes the header of the frame shown in place covered.
  void TakeHeaderBack() {
    if (headerSaved.empty()) return;
    // Bytes a shrunken file no longer has cannot be touched, nor need putting back.
    if (view->Holds(headerAt + headerSaved.size()))
      std::memcpy(view->Data() + headerAt, headerSaved.data(), headerSaved.size());
    view->EndWrite(headerAt, headerSaved.size());
    headerSaved.clear();
  }

  // Chunk c's frame with the header written just before its pixels, or null
  // when there is no room for it. Chunks start at any even offset, so the
  // header grows by up to 3 bytes (biSize says by how many) to stay aligned.
  LPVOID ShowInPlace(const AviChunk &c) {
    if (!view || c.offset < headerBytes + 3 || !view->Holds(c.offset + imageBytes)) return nullptr;
    const size_t pad = size_t((c.offset - headerBytes) % 4), n = headerBytes + pad;
    const uint64_t at = c.offset - n;
    if (!view->BeginWrite(at, n)) return nullptr;
    uint8_t *header = view->Data() + at;
    headerSaved.assign(header, header + n);
    headerAt = at;
    const DWORD size = DWORD(40 + pad);
    std::memcpy(header, out.data(), 40);
    std::memcpy(header, &size, 4);  // biSize
    std::memset(header + 40, 0, pad);
    std::memcpy(header + 40 + pad, out.data() + 40, headerBytes - 40);
    return header;
  }

  LPVOID ReadRaw(const AviChunk &c) {
    if (c.size < imageBytes) return nullptr;
    if (LPVOID f = ShowInPlace(c)) return f;
    out.resize(headerBytes + imageBytes);
    if (!stream->file->source->ReadAt(c.offset, out.data() + headerBytes, imageBytes)) return nullptr;
    return out.data();
  }

  bool OpenCodec(const std::vector<uint8_t> &fmt, const BITMAPINFOHEADER &bi, DWORD handler) {
    RouteFfmpegLog();
    int64_t w = bi.biWidth, h = bi.biHeight < 0 ? -int64_t(bi.biHeight) : bi.biHeight;
    // The player makes a bitmap of this size, so the header is held to what the decoder may deliver.
    if (w <= 0 || h <= 0 || w > kMaxDimension || h > kMaxDimension || w * h > kMaxPixels) return false;
    const AVCodecTag *tags[] = {avformat_get_riff_video_tags(), nullptr};
    AVCodecID id = av_codec_get_id(tags, bi.biCompression);
    if (id == AV_CODEC_ID_NONE) id = av_codec_get_id(tags, handler);
    const AVCodec *codec = id == AV_CODEC_ID_NONE ? nullptr : avcodec_find_decoder(id);
    if (!codec) return false;
    ctx = avcodec_alloc_context3(codec);
    frame = av_frame_alloc();
    packet = av_packet_alloc();
    if (!ctx || !frame || !packet) return false;
    ctx->width = int(w);
    ctx->height = int(h);
    ctx->codec_tag = bi.biCompression;
    ctx->bits_per_coded_sample = bi.biBitCount;
    ctx->thread_count = 1;
    ctx->max_pixels = kMaxPixels;
    size_t hdr = bi.biSize >= 40 && bi.biSize <= fmt.size() ? bi.biSize : 40;
    // Writers count the codec's extra data into biSize (40 + extra) or put it
    // after a 40-byte header; either way it is everything past those 40 bytes.
    if (fmt.size() > 40) {
      size_t n = fmt.size() - 40;
      ctx->extradata = static_cast<uint8_t *>(av_mallocz(n + AV_INPUT_BUFFER_PADDING_SIZE));
      if (!ctx->extradata) return false;
      std::memcpy(ctx->extradata, fmt.data() + 40, n);
      ctx->extradata_size = int(n);
    }
    if (bi.biBitCount <= 8 && bi.biBitCount > 0) {
      DWORD colours = bi.biClrUsed && bi.biClrUsed <= 256 ? bi.biClrUsed : 1u << bi.biBitCount;
      for (DWORD i = 0; i < colours && hdr + i * 4 + 4 <= fmt.size(); ++i) {
        uint32_t c = 0xff000000u | (Rd32(&fmt[hdr + i * 4]) & 0xffffffu);
        std::memcpy(palette + i * 4, &c, 4);
      }
      hasPalette = true;
    }
    if (avcodec_open2(ctx, codec, nullptr) < 0) return false;
    return true;
  }

  void Restart(int64_t key) {
    avcodec_flush_buffers(ctx);
    nextPacket = key;
    lastOut = -1;
    pending.clear();
    drained = false;
    sendPalette = true;
  }

  bool Convert() {
    int w = frame->width, h = frame->height;
    if (w <= 0 || h <= 0 || w > kMaxDimension || h > kMaxDimension) return false;
    bool fullRange = frame->color_range == AVCOL_RANGE_JPEG;
    AVPixelFormat format = PlainFormat(AVPixelFormat(frame->format), &fullRange);
    if (!sws || w != swsWidth || h != swsHeight || format != swsFormat || fullRange != swsFullRange) {
      sws_freeContext(sws);
      sws = sws_getContext(w, h, format, w, h, AV_PIX_FMT_BGR0, SWS_POINT, nullptr, nullptr, nullptr);
      if (!sws) return false;
      swsWidth = w, swsHeight = h, swsFormat = format, swsFullRange = fullRange;
      int *inverse, *table, srcRange, dstRange, brightness, contrast, saturation;
      if (fullRange && sws_getColorspaceDetails(sws, &inverse, &srcRange, &table, &dstRange, &brightness, &contrast,
                                                &saturation) >= 0)
        sws_setColorspaceDetails(sws, inverse, 1, table, dstRange, brightness, contrast, saturation);
    }
    out.assign(40 + size_t(w) * size_t(h) * 4, 0);
    BITMAPINFOHEADER o = {};
    o.biSize = 40;
    o.biWidth = w;
    o.biHeight = -h;  // top-down, as the decoder delivers it
    o.biPlanes = 1;
    o.biBitCount = 32;
    o.biCompression = BI_RGB;
    o.biSizeImage = DWORD(size_t(w) * size_t(h) * 4);
    std::memcpy(out.data(), &o, 40);
    // swscale may write past the end of a row, so it fills a roomier scratch picture first.
    const size_t row = size_t(w) * 4, stride = (row + 63) & ~size_t(63);
    scratch.resize(stride * size_t(h) + 4096);
    uint8_t *dst[4] = {scratch.data(), nullptr, nullptr, nullptr};
    int dstStride[4] = {int(stride), 0, 0, 0};
    if (sws_scale(sws, frame->data, frame->linesize, 0, h, dst, dstStride) != h) return false;
    for (int y = 0; y < h; ++y)
      std::memcpy(out.data() + 40 + size_t(y) * row, scratch.data() + size_t(y) * stride, row);
    return true;
  }

  // Sends the next packet (or the end of the stream); false when nothing is left to send.
  bool Feed() {
    const AviStreamLayout &L = stream->Layout();
    int64_t count = int64_t(L.chunks.size());
    while (nextPacket < count && L.chunks[size_t(nextPacket)].size == 0) ++nextPacket;
    if (nextPacket >= count) {
      if (drained) return false;
      drained = true;
      avcodec_send_packet(ctx, nullptr);
      return true;
    }
    int64_t c = nextPacket++;
    if (av_new_packet(packet, int(L.chunks[size_t(c)].size)) < 0) return false;
    if (!stream->file->source->ReadAt(L.chunks[size_t(c)].offset, packet->data, L.chunks[size_t(c)].size)) {
      av_packet_unref(packet);
      return false;
    }
    if (sendPalette && hasPalette) {
      uint8_t *side = av_packet_new_side_data(packet, AV_PKT_DATA_PALETTE, AVPALETTE_SIZE);
      if (side) std::memcpy(side, palette, AVPALETTE_SIZE);
    }
    sendPalette = false;
    packet->pts = packet->dts = c;
    if (L.chunks[size_t(c)].key) packet->flags |= AV_PKT_FLAG_KEY;
    if (avcodec_send_packet(ctx, packet) >= 0) pending.push_back(c);
    av_packet_unref(packet);
    return true;
  }

  LPVOID Decode(int64_t target) {
    const AviStreamLayout &L = stream->Layout();
    int64_t key = target;
    while (key > 0 && !(L.chunks[size_t(key)].key && L.chunks[size_t(key)].size)) --key;
    if (!(target > lastOut && key <= nextPacket && !drained)) Restart(key);
    // Each pass either takes a picture back or sends a packet, and there are
    // only so many packets, so this ends.
    for (;;) {
      int r = avcodec_receive_frame(ctx, frame);
      if (r == 0) {
        int64_t shown = pending.empty() ? lastOut : pending.front();
        if (!pending.empty()) pending.pop_front();
        lastOut = shown;
        bool ok = shown < target || Convert();
        av_frame_unref(frame);
        if (!ok) return nullptr;
        if (shown >= target) {
          current = target;
          return out.data();
        }
      } else if (r == AVERROR(EAGAIN)) {
        if (!Feed()) return nullptr;
      } else {
        drained = true;  // end of stream or a broken decoder: start over next time
        return nullptr;
      }
    }
  }

  LPVOID Get(LONG pos) {
    const AviStreamLayout &L = stream->Layout();
    int64_t idx = int64_t(pos) - int64_t(L.start);
    if (idx < 0 || idx >= int64_t(L.chunks.size())) return nullptr;
    int64_t target = shownChunk[size_t(idx)];  // an empty chunk repeats the frame before it
    if (target < 0) return nullptr;
    // A frame shown in place is shown again, in case the file has shrunk since.
    if (target == current && headerSaved.empty()) return held;
    current = -1;
    held = nullptr;
    if (raw) {
      TakeHeaderBack();
      held = ReadRaw(L.chunks[size_t(target)]);
    } else {
      held = Decode(target);
    }
    if (held) current = target;
    return held;
  }
};

extern "C" {

PGETFRAME AVIStreamGetFrameOpen(PAVISTREAM pavi, LPBITMAPINFOHEADER lpbiWanted) {
  // Only the decompressor's own format is offered.
  if (!pavi || lpbiWanted) return nullptr;
  const AviStreamLayout &L = pavi->Layout();
  if (L.type != streamtypeVIDEO || L.format.size() < 40) return nullptr;
  try {
    std::unique_ptr<GetFrameImpl> g(new GetFrameImpl);
    AviStreamAddRef(pavi);
    g->stream = pavi;
    BITMAPINFOHEADER bi;
    std::memcpy(&bi, L.format.data(), 40);
    bool ok = (bi.biCompression == BI_RGB || bi.biCompression == BI_BITFIELDS) ? g->OpenRaw(L.format, bi)
                                                                               : g->OpenCodec(L.format, bi, L.handler);
    if (!ok) return nullptr;
    g->shownChunk.resize(L.chunks.size());
    int64_t last = -1;
    for (size_t i = 0; i < L.chunks.size(); ++i) {
      if (L.chunks[i].size) last = int64_t(i);
      g->shownChunk[i] = last;
    }
    return g.release();
  } catch (...) {
    return nullptr;
  }
}

LPVOID AVIStreamGetFrame(PGETFRAME pg, LONG lPos) {
  if (!pg) return nullptr;
  try {
    return pg->Get(lPos);
  } catch (...) {
    return nullptr;
  }
}

HRESULT AVIStreamGetFrameClose(PGETFRAME pg) {
  if (!pg) return AVIERR_BADPARAM;
  delete pg;
  return AVIERR_OK;
}

}  // extern "C"

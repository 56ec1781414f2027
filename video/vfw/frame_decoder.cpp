// frame_decoder.cpp: decoding runs and display order. Each packet is sent
// with its position in the file as timestamp, which the decoder hands back
// with the picture it holds. A key frame's picture is shown after the
// pictures that follow it in the file but are shown before it (the "leading"
// B-frames of an open group); its rank is its position plus their number.
// That number is learnt by decoding from the key frame before it, or on the
// way past it; after a restart at a key frame its leading pictures cannot be
// decoded, and decoders drop them or give them damaged, so they are skipped.
#include "frame_decoder.h"

#include <algorithm>
#include <cstring>

#include "avi_internal.h"
#include "codec_tags.h"
#include "ffmpeg_log.h"

extern "C" {
#include <libavutil/imgutils.h>
}

namespace {

const int64_t kMaxDimension = 16384;
const int64_t kMaxPixels = 8192 * 4320;  // beyond any video we mean to play
const size_t kMaxKept = 16;              // leading pictures of one key frame kept while its rank is learnt
const int64_t kMaxLead = 64;             // positions past a key frame within which its picture must come

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

FrameDecoder::~FrameDecoder() {
  DropKept();
  sws_freeContext(sws);
  av_packet_free(&packet);
  av_frame_free(&frame);
  avcodec_free_context(&ctx);
}

bool FrameDecoder::Open(PAVISTREAM s, const std::vector<uint8_t> &fmt, const BITMAPINFOHEADER &bi, DWORD handler) {
  RouteFfmpegLog();
  stream = s;
  int64_t w = bi.biWidth, h = bi.biHeight < 0 ? -int64_t(bi.biHeight) : bi.biHeight;
  // The player makes a bitmap of this size, so the header is held to what the decoder may deliver.
  if (w <= 0 || h <= 0 || w > kMaxDimension || h > kMaxDimension || w * h > kMaxPixels) return false;
  AVCodecID id = VideoCodecId(bi.biCompression, handler);
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

  const std::vector<AviChunk> &chunks = stream->Layout().chunks;
  rankOf.assign(chunks.size(), -1);
  for (size_t c = 0; c < chunks.size(); ++c) {
    if (chunks[c].size) {
      if (chunks[c].key || chunkAt.empty()) keys.push_back(int64_t(chunkAt.size()));
      chunkAt.push_back(int64_t(c));
    }
    rankOf[c] = int64_t(chunkAt.size()) - 1;  // an empty chunk shows the picture before it again
  }
  keyIndex.assign(chunkAt.size(), -1);
  for (size_t k = 0; k < keys.size(); ++k) keyIndex[size_t(keys[k])] = int(k);
  // A decoder without delay gives each picture back at once: nothing leads.
  // The first key frame has nothing before it to lead into.
  leading.assign(keys.size(), (codec->capabilities & AV_CODEC_CAP_DELAY) ? -1 : 0);
  if (!leading.empty()) leading[0] = 0;
  return true;
}

void FrameDecoder::DropKept() {
  for (AVFrame *f : kept) av_frame_free(&f);
  kept.clear();
}

void FrameDecoder::Restart(int64_t start, int64_t key) {
  avcodec_flush_buffers(ctx);
  feed = runStart = start;
  sentEnd = false;
  finished = false;
  anchorKey = key;
  anchored = false;
  lastRank = -1;
  leadSeen = 0;
  DropKept();
  sent.clear();
  sendPalette = true;
}

bool FrameDecoder::Feed() {
  if (feed >= int64_t(chunkAt.size())) {
    if (sentEnd) return false;
    sentEnd = true;
    avcodec_send_packet(ctx, nullptr);  // the end: the decoder hands out what it still holds
    return true;
  }
  const AviChunk &c = stream->Layout().chunks[size_t(chunkAt[size_t(feed)])];
  if (av_new_packet(packet, int(c.size)) < 0) return false;
  if (!stream->file->source->ReadAt(c.offset, packet->data, c.size)) {
    av_packet_unref(packet);
    return false;
  }
  if (sendPalette && hasPalette) {
    uint8_t *side = av_packet_new_side_data(packet, AV_PKT_DATA_PALETTE, AVPALETTE_SIZE);
    if (side) std::memcpy(side, palette, AVPALETTE_SIZE);
  }
  sendPalette = false;
  packet->pts = packet->dts = feed;
  if (c.key) packet->flags |= AV_PKT_FLAG_KEY;
  int r = avcodec_send_packet(ctx, packet);
  av_packet_unref(packet);
  if (r == AVERROR(EAGAIN)) return true;  // taken again once a picture is out
  if (r >= 0) sent.push_back(feed);
  ++feed;  // a packet the decoder refuses is skipped
  return true;
}

int64_t FrameDecoder::TagOf(const AVFrame *f) {
  int64_t fallback = -1;
  if (!sent.empty()) {
    fallback = sent.front();
    sent.pop_front();
  }
  if (f->pts != AV_NOPTS_VALUE) return f->pts;
  if (f->pkt_dts != AV_NOPTS_VALUE) return f->pkt_dts;
  return fallback;
}

int FrameDecoder::Take(int64_t tag, int64_t wanted) {
  if (anchored) {
    int64_t rank = nextRank++;
    lastRank = rank;
    if (tag >= 0 && tag < int64_t(keyIndex.size()) && keyIndex[size_t(tag)] >= 0)
      leading[size_t(keyIndex[size_t(tag)])] = int(std::max<int64_t>(0, rank - tag));
    if (rank < wanted) return 0;
    if (rank > wanted || !Convert(frame)) return -1;
    heldRank = rank;
    return 1;
  }
  if (tag != anchorKey) {
    // Pictures from after the key frame that come before its own are its leading ones.
    if (tag > anchorKey) {
      ++leadSeen;
      if (AVFrame *copy = av_frame_clone(frame)) kept.push_back(copy);
      if (kept.size() > kMaxKept) {
        av_frame_free(&kept.front());
        kept.pop_front();
      }
    }
    return 0;
  }
  int &lead = leading[size_t(keyIndex[size_t(anchorKey)])];
  // Counted only when the run began before the key frame and so could decode them.
  if (runStart < anchorKey || lead < 0) lead = leadSeen;
  const int64_t rank = anchorKey + lead;
  anchored = true;
  nextRank = rank + 1;
  lastRank = rank;
  int result = 0;
  if (wanted == rank) {
    result = Convert(frame) ? 1 : -1;
  } else if (wanted < rank) {
    const int64_t first = rank - int64_t(kept.size());
    result = wanted >= first && Convert(kept[size_t(wanted - first)]) ? 1 : -1;
  }
  if (result == 1) heldRank = wanted;
  DropKept();
  return result;
}

LPVOID FrameDecoder::Picture(int64_t chunk) {
  if (chunk < 0 || chunk >= int64_t(rankOf.size()) || rankOf[size_t(chunk)] < 0) return nullptr;
  const int64_t wanted = rankOf[size_t(chunk)];
  if (wanted == heldRank) return out.data();
  heldRank = -1;
  // The key frame at or before the wanted place; when the wanted picture
  // leads into it, or its rank is not known yet, the run starts a key frame earlier.
  size_t k = size_t(std::upper_bound(keys.begin(), keys.end(), wanted) - keys.begin()) - 1;
  const int64_t key = keys[k];
  const bool known = leading[k] >= 0 && key + leading[k] <= wanted;
  const int64_t start = known || k == 0 ? key : keys[k - 1];
  if (!(anchored && !finished && lastRank < wanted && feed >= start)) Restart(start, key);
  // Each pass takes a picture out or sends a packet, and there are only so
  // many packets, so this ends.
  for (;;) {
    if (!anchored && feed > anchorKey + kMaxLead) break;  // the key frame's picture never came
    int r = avcodec_receive_frame(ctx, frame);
    if (r == 0) {
      int got = Take(TagOf(frame), wanted);
      av_frame_unref(frame);
      if (got > 0) return out.data();
      if (got < 0) break;
    } else if (r != AVERROR(EAGAIN) || !Feed()) {
      break;  // the end of the stream, or a broken decoder
    }
  }
  finished = true;  // a new run starts next time
  return nullptr;
}

bool FrameDecoder::Convert(const AVFrame *f) {
  int w = f->width, h = f->height;
  if (w <= 0 || h <= 0 || w > kMaxDimension || h > kMaxDimension) return false;
  bool fullRange = f->color_range == AVCOL_RANGE_JPEG;
  AVPixelFormat format = PlainFormat(AVPixelFormat(f->format), &fullRange);
  if (!sws || w != swsWidth || h != swsHeight || format != swsFormat || fullRange != swsFullRange) {
    sws_freeContext(sws);
    // swscale's default scaler (bicubic), as FFmpeg itself converts: it
    // decides how the chroma of pictures with an odd height is filled in.
    sws = sws_getContext(w, h, format, w, h, AV_PIX_FMT_BGR0, SWS_BICUBIC, nullptr, nullptr, nullptr);
    if (!sws) return false;
    swsWidth = w, swsHeight = h, swsFormat = format, swsFullRange = fullRange;
    int *inverse, *table, srcRange, dstRange, brightness, contrast, saturation;
    if (fullRange &&
        sws_getColorspaceDetails(sws, &inverse, &srcRange, &table, &dstRange, &brightness, &contrast, &saturation) >= 0)
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
  if (sws_scale(sws, f->data, f->linesize, 0, h, dst, dstStride) != h) return false;
  for (int y = 0; y < h; ++y) std::memcpy(out.data() + 40 + size_t(y) * row, scratch.data() + size_t(y) * stride, row);
  return true;
}

// audio_decoder.cpp: an audio stream's chunks, split into packets by FFmpeg's
// parser for the codec where it has one (MP3 chunks need not hold whole
// frames), decoded with libavcodec and converted by libswresample into
// interleaved 16-bit samples at the decoder's own rate.
#include "audio_decoder.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <deque>
#include <vector>

#include "avi_internal.h"
#include "codec_tags.h"
#include "ffmpeg_log.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/channel_layout.h>
#include <libswresample/swresample.h>
}

namespace {

const size_t kWaveHeader = 18;      // WAVEFORMATEX up to its extra bytes
const size_t kExtensiblePart = 22;  // what WAVEFORMATEXTENSIBLE adds before codec data
const uint16_t kTagExtensible = 0xfffe;
const int kMaxChannels = 64;

uint16_t Rd16(const uint8_t *p) { return uint16_t(p[0] | p[1] << 8); }
uint32_t Rd32(const uint8_t *p) { return uint32_t(Rd16(p)) | uint32_t(Rd16(p + 2)) << 16; }

}  // namespace

struct AudioDecoder {
  PAVISTREAM stream = nullptr;
  AVCodecID id = AV_CODEC_ID_NONE;
  const AVCodec *codec = nullptr;
  AVCodecContext *ctx = nullptr;
  AVCodecParserContext *parser = nullptr;
  bool useParser = false;
  AVFrame *frame = nullptr;
  SwrContext *swr = nullptr;
  int swrFormat = -1, swrRate = 0;  // what swr was made for
  AVChannelLayout swrLayout = {};
  int channels = 0, rate = 0;  // what comes out
  size_t chunk = 0;            // next chunk to read
  bool sentEnd = false, ended = false;
  std::vector<uint8_t> data;       // the chunk being read
  std::deque<AVPacket *> packets;  // split, not yet taken by the decoder
  std::vector<int16_t> samples;    // decoded, not yet read
  size_t samplesRead = 0;          // of samples, already handed out

  ~AudioDecoder() {
    DropPackets();
    swr_free(&swr);
    av_channel_layout_uninit(&swrLayout);
    av_frame_free(&frame);
    av_parser_close(parser);
    avcodec_free_context(&ctx);
    AVIStreamRelease(stream);
  }

  // A decoder for the stream's format, new: a flushed one may keep state
  // (AAC, AC-3) that makes a second pass sound otherwise than the first.
  bool OpenCodec() {
    avcodec_free_context(&ctx);
    ctx = avcodec_alloc_context3(codec);
    if (!ctx) return false;
    const std::vector<uint8_t> &f = stream->Layout().format;
    const unsigned tag = Rd16(f.data());
    av_channel_layout_default(&ctx->ch_layout, Rd16(f.data() + 2));
    ctx->sample_rate = int(Rd32(f.data() + 4));
    ctx->bit_rate = int64_t(Rd32(f.data() + 8)) * 8;
    ctx->block_align = Rd16(f.data() + 12);
    ctx->bits_per_coded_sample = Rd16(f.data() + 14);
    ctx->codec_tag = tag;
    // The codec's own data follows the wave header (and the extensible part).
    const size_t declared = Rd16(f.data() + 16), skip = tag == kTagExtensible ? kExtensiblePart : 0;
    const size_t extraAt = kWaveHeader + skip;
    size_t extra = declared > skip ? declared - skip : 0;
    if (extraAt + extra > f.size()) extra = f.size() > extraAt ? f.size() - extraAt : 0;
    if (extra) {
      ctx->extradata = static_cast<uint8_t *>(av_mallocz(extra + AV_INPUT_BUFFER_PADDING_SIZE));
      if (!ctx->extradata) return false;
      std::memcpy(ctx->extradata, f.data() + extraAt, extra);
      ctx->extradata_size = int(extra);
    }
    return avcodec_open2(ctx, codec, nullptr) >= 0;
  }

  void DropPackets() {
    for (AVPacket *p : packets) av_packet_free(&p);
    packets.clear();
  }

  bool Queue(const uint8_t *bytes, int size) {
    AVPacket *p = av_packet_alloc();
    if (!p || av_new_packet(p, size) < 0) {
      av_packet_free(&p);
      return false;
    }
    if (size) std::memcpy(p->data, bytes, size_t(size));
    packets.push_back(p);
    return true;
  }

  // Splits more of the stream into packets; false once everything was split.
  bool Split() {
    const AviStreamLayout &L = stream->Layout();
    while (chunk < L.chunks.size() && L.chunks[chunk].size == 0) ++chunk;
    bool last = chunk >= L.chunks.size();
    if (last && sentEnd) return false;
    if (!last && !ReadStreamChunk(stream, chunk++, data, AV_INPUT_BUFFER_PADDING_SIZE)) {
      chunk = L.chunks.size();  // an unreadable chunk ends the sound
      return true;
    }
    if (last) {
      sentEnd = true;
      data.assign(AV_INPUT_BUFFER_PADDING_SIZE, 0);
    }
    int size = last ? 0 : int(data.size() - AV_INPUT_BUFFER_PADDING_SIZE);
    if (!useParser) {
      if (!last) Queue(data.data(), size);
    } else {
      // The parser keeps the tail of each chunk until the next one completes it;
      // with no data it gives what it still holds.
      const uint8_t *in = data.data();
      do {
        uint8_t *outData = nullptr;
        int outSize = 0;
        int used = av_parser_parse2(parser, ctx, &outData, &outSize, in, size, AV_NOPTS_VALUE, AV_NOPTS_VALUE, 0);
        if (used < 0 || (used == 0 && outSize <= 0 && size > 0)) break;
        in += used, size -= used;
        if (outSize > 0) Queue(outData, outSize);
        if (last && outSize <= 0) break;
      } while (size > 0 || last);
    }
    if (last) packets.push_back(nullptr);  // the end: the decoder hands out what it holds
    return true;
  }

  bool Convert() {
    // A stream may change its layout, sample format or rate on the way.
    if (swr && (frame->format != swrFormat || frame->sample_rate != swrRate ||
                av_channel_layout_compare(&frame->ch_layout, &swrLayout) != 0))
      swr_free(&swr);
    if (!swr) {
      AVChannelLayout outLayout;
      av_channel_layout_default(&outLayout, channels);
      int r = swr_alloc_set_opts2(&swr, &outLayout, AV_SAMPLE_FMT_S16, rate, &frame->ch_layout,
                                  AVSampleFormat(frame->format), frame->sample_rate, 0, nullptr);
      av_channel_layout_uninit(&outLayout);
      if (r < 0 || swr_init(swr) < 0 || av_channel_layout_copy(&swrLayout, &frame->ch_layout) < 0) {
        swr_free(&swr);
        return false;
      }
      swrFormat = frame->format, swrRate = frame->sample_rate;
    }
    int room = swr_get_out_samples(swr, frame->nb_samples);
    if (room < 0) return false;
    size_t at = samples.size();
    samples.resize(at + size_t(room) * size_t(channels));
    uint8_t *out = reinterpret_cast<uint8_t *>(samples.data() + at);
    int got = swr_convert(swr, &out, room, const_cast<const uint8_t **>(frame->extended_data), frame->nb_samples);
    if (got < 0) got = 0;
    samples.resize(at + size_t(got) * size_t(channels));
    return true;
  }

  // Decodes one more frame into samples; false at the end of the stream.
  bool DecodeMore() {
    while (!ended) {
      int r = avcodec_receive_frame(ctx, frame);
      if (r == 0) {
        bool ok = frame->ch_layout.nb_channels > 0 && frame->sample_rate > 0 && (rate == 0 || Convert());
        if (rate == 0 && ok) {  // the first frame tells what the stream really holds
          channels = frame->ch_layout.nb_channels == 1 ? 1 : 2;
          rate = frame->sample_rate;
        }
        av_frame_unref(frame);
        if (ok) return true;
        continue;  // a frame that cannot be converted is left out
      }
      if (r != AVERROR(EAGAIN)) break;  // the end, or a decoder that gave up
      if (packets.empty() && !Split()) break;
      if (packets.empty()) continue;
      r = avcodec_send_packet(ctx, packets.front());
      if (r == AVERROR(EAGAIN)) continue;
      // A packet the decoder refuses (damaged data) is left out.
      av_packet_free(&packets.front());
      packets.pop_front();
    }
    ended = true;
    return false;
  }

  void Rewind() {
    if (!OpenCodec()) ended = true;  // out of memory: no more sound
    if (parser) {
      av_parser_close(parser);
      parser = av_parser_init(id);
    }
    useParser = parser != nullptr;
    swr_free(&swr);
    DropPackets();
    samples.clear();
    samplesRead = 0;
    chunk = 0;
    sentEnd = false;
    ended = ctx == nullptr;
  }
};

AudioDecoder *AudioDecoderOpen(PAVISTREAM stream, char *why, size_t whyBytes) {
  if (whyBytes) why[0] = 0;
  if (!stream || stream->Layout().type != streamtypeAUDIO) return nullptr;
  RouteFfmpegLog();
  try {
    std::unique_ptr<AudioDecoder> d(new AudioDecoder);
    AviStreamAddRef(stream);
    d->stream = stream;
    const std::vector<uint8_t> &f = stream->Layout().format;
    const unsigned tag = f.size() >= 2 ? Rd16(f.data()) : 0;
    d->id = AudioCodecId(f.data(), f.size());
    const AVCodec *codec = d->id == AV_CODEC_ID_NONE ? nullptr : avcodec_find_decoder(d->id);
    if (!codec) {
      std::snprintf(why, whyBytes, "no decoder for audio format 0x%04x", tag);
      return nullptr;
    }
    unsigned channels = Rd16(f.data() + 2);
    if (channels == 0 || channels > kMaxChannels) {
      std::snprintf(why, whyBytes, "%s audio with %u channels", codec->name, channels);
      return nullptr;
    }
    d->codec = codec;
    d->frame = av_frame_alloc();
    if (!d->frame || !d->OpenCodec()) {
      std::snprintf(why, whyBytes, "the %s decoder does not take this stream's format", codec->name);
      return nullptr;
    }
    // Raw AAC with its configuration in the format block has no frame headers to find.
    if (!(d->id == AV_CODEC_ID_AAC && d->ctx->extradata_size)) d->parser = av_parser_init(d->id);
    d->useParser = d->parser != nullptr;
    // The first frame tells the real rate and channel count; then back to the start.
    if (!d->DecodeMore()) {
      std::snprintf(why, whyBytes, "its %s audio does not decode", codec->name);
      return nullptr;
    }
    d->Rewind();
    return d.release();
  } catch (...) {
    return nullptr;
  }
}

void AudioDecoderClose(AudioDecoder *decoder) { delete decoder; }

int AudioDecoderChannels(const AudioDecoder *decoder) { return decoder ? decoder->channels : 0; }

int AudioDecoderRate(const AudioDecoder *decoder) { return decoder ? decoder->rate : 0; }

int AudioDecoderRead(AudioDecoder *d, int16_t *dst, int frames) {
  if (!d || frames <= 0) return 0;
  const size_t want = size_t(frames) * size_t(d->channels);
  size_t done = 0;
  try {
    while (done < want) {
      if (d->samplesRead == d->samples.size()) {
        d->samples.clear();
        d->samplesRead = 0;
        if (!d->DecodeMore()) break;
        continue;
      }
      size_t n = std::min(want - done, d->samples.size() - d->samplesRead);
      std::memcpy(dst + done, d->samples.data() + d->samplesRead, n * sizeof(int16_t));
      done += n;
      d->samplesRead += n;
    }
  } catch (...) {
    d->ended = true;  // out of memory: the sound ends here
  }
  return int(done / size_t(d->channels));
}

void AudioDecoderRewind(AudioDecoder *decoder) {
  if (decoder) decoder->Rewind();
}

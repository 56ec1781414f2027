// codec_tags.cpp: codec lookup by AVI format codes, through libavformat's tables.
#include "codec_tags.h"

#include <initializer_list>

extern "C" {
#include <libavformat/avformat.h>
}

namespace {

const uint16_t kTagPcm = 0x0001, kTagFloat = 0x0003, kTagExtensible = 0xfffe;

uint16_t Rd16(const uint8_t *p) { return uint16_t(p[0] | p[1] << 8); }

AVCodecID Lookup(const AVCodecTag *table, uint32_t tag) {
  const AVCodecTag *tables[] = {table, nullptr};
  return tag ? av_codec_get_id(tables, tag) : AV_CODEC_ID_NONE;
}

}  // namespace

AVCodecID VideoCodecId(uint32_t compression, uint32_t handler) {
  for (const AVCodecTag *table : {avformat_get_riff_video_tags(), avformat_get_mov_video_tags()})
    for (uint32_t tag : {compression, handler}) {
      AVCodecID id = Lookup(table, tag);
      if (id != AV_CODEC_ID_NONE) return id;
    }
  return AV_CODEC_ID_NONE;
}

AVCodecID AudioCodecId(const uint8_t *format, size_t size) {
  if (size < 16) return AV_CODEC_ID_NONE;
  uint16_t tag = Rd16(format), bits = Rd16(format + 14);
  // An extensible format names its real one in the first two bytes of its
  // sub-format GUID (the standard GUIDs all end in the same twelve bytes).
  if (tag == kTagExtensible && size >= 26 && Rd16(format + 16) >= 22) tag = Rd16(format + 24);
  // PCM comes in several sample sizes under one tag.
  if (tag == kTagPcm) {
    switch (bits) {
      case 8:
        return AV_CODEC_ID_PCM_U8;
      case 16:
        return AV_CODEC_ID_PCM_S16LE;
      case 24:
        return AV_CODEC_ID_PCM_S24LE;
      case 32:
        return AV_CODEC_ID_PCM_S32LE;
      default:
        return AV_CODEC_ID_NONE;
    }
  }
  if (tag == kTagFloat)
    return bits == 64 ? AV_CODEC_ID_PCM_F64LE : bits == 32 ? AV_CODEC_ID_PCM_F32LE : AV_CODEC_ID_NONE;
  return Lookup(avformat_get_riff_audio_tags(), tag);
}

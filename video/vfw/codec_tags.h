// codec_tags.h: which FFmpeg decoder reads a stream, from the codes an AVI
// file names its formats by, looked up as FFmpeg's own AVI reader does.
#ifndef MIVOLEN_CODEC_TAGS_H
#define MIVOLEN_CODEC_TAGS_H

#include <cstddef>
#include <cstdint>

extern "C" {
#include <libavcodec/codec_id.h>
}

// Video: the format's compression code, else the stream header's handler;
// AVI's own table first, then QuickTime's (QuickTime RLE and the like).
AVCodecID VideoCodecId(uint32_t compression, uint32_t handler);
// Audio from a wave format block of `size` bytes (WAVEFORMATEX, maybe extensible).
AVCodecID AudioCodecId(const uint8_t *format, size_t size);

#endif

// audio_decoder.h: audio that an Allegro stream cannot play as it is stored
// (MP3, AAC, ADPCM, 24-bit or float PCM, more than two channels), decoded
// into signed 16-bit samples of one or two channels, read from the start on.
// FFmpeg does the work on Linux; on Windows there is no decoder, and such
// audio is not played.
#ifndef MIVOLEN_AUDIO_DECODER_H
#define MIVOLEN_AUDIO_DECODER_H

#include <cstddef>
#include <cstdint>

#include "mivolen/mivolen.h"

struct AudioDecoder;

// Plain 8- or 16-bit PCM of one or two channels, which plays without decoding.
inline bool IsPlainPcm(const WAVEFORMATEX *f) {
  if (!f || f->wFormatTag != WAVE_FORMAT_PCM || f->nSamplesPerSec == 0) return false;
  if (f->nChannels != 1 && f->nChannels != 2) return false;
  unsigned bits = f->nAvgBytesPerSec / f->nSamplesPerSec / f->nChannels * 8;
  return bits == 8 || bits == 16;
}

#ifndef _WIN32
// A decoder for the stream, positioned at its start; null when its audio
// cannot be decoded, with the reason in `why`.
AudioDecoder *AudioDecoderOpen(PAVISTREAM stream, char *why, size_t whyBytes);
void AudioDecoderClose(AudioDecoder *decoder);
int AudioDecoderChannels(const AudioDecoder *decoder);  // 1 or 2
int AudioDecoderRate(const AudioDecoder *decoder);
// Up to `frames` sample frames (one sample per channel) into dst, interleaved;
// fewer only at the end of the stream.
int AudioDecoderRead(AudioDecoder *decoder, int16_t *dst, int frames);
void AudioDecoderRewind(AudioDecoder *decoder);
#else
inline AudioDecoder *AudioDecoderOpen(PAVISTREAM, char *why, size_t whyBytes) {
  if (whyBytes) why[0] = 0;
  return nullptr;
}
inline void AudioDecoderClose(AudioDecoder *) {}
inline int AudioDecoderChannels(const AudioDecoder *) { return 0; }
inline int AudioDecoderRate(const AudioDecoder *) { return 0; }
inline int AudioDecoderRead(AudioDecoder *, int16_t *, int) { return 0; }
inline void AudioDecoderRewind(AudioDecoder *) {}
#endif

#endif

// mivolen.cpp: Mivolen, the player. A 1 ms Allegro timer drives the clock;
// each step refills one audio buffer and draws the frame the clock has reached.
#include <allegro.h>

#include <cstdio>
#include <cstdlib>

#include "audio_decoder.h"
#include "audio_fill.h"
#include "log_hook.h"
#include "mivolen/mivolen.h"
#ifndef _WIN32
#include "vfw/vfw.h"
#endif

namespace {

const int kChunkSamples = 8192;
const int kVolume = 255;
const int kPan = 127;
const int kTimerMs = 1;
const int kBufferWaitMs = 1000;  // longest wait for a free stream buffer on restart
const int kMaxRestMs = 10;       // the blocking players' longest sleep: keys and sound are seen that often

}  // namespace

Mivolen::Mivolen()
    : playTime(0),
      drawDib(nullptr),
      videoFormat(nullptr),
      audioFormat(nullptr),
      audioStream(nullptr),
      chunkBytes(0),
      chunkSamples(0),
      readBuffer(nullptr),
      readBufferBytes(0),
      streamBuffer(nullptr),
      audioPos(0),
      frameBitmap(nullptr),
      lastFrame(-1),
      samplesRead(0),
      audioStreamCount(0),
      bitsPerSample(-1),
      isOpen(false),
      soundEnabled(true),
      isPlaying(false),
      audioStarted(false),
      audioDecoder(nullptr),
      endedAt(-1) {}

Mivolen::~Mivolen() {
  PlayEnd();
  Close();
}

void Mivolen::handler(void *param) { ++static_cast<Mivolen *>(param)->playTime; }

int Mivolen::Open(const char *path) {
  PlayEnd();
  if (isOpen) Close();
  if (!aviFile.Open(path)) return -1;
  // The file is let go on every failure so that a later Open starts clean.
  if (!aviFile.StartVideoRetrieve(0)) {
    aviFile.Release();
    return -2;
  }
  audioStreamCount = short(aviFile.GetAudioStreamCount());
  videoFormat = aviFile.GetVideoFormat(0);
  if (!videoFormat) {
    aviFile.EndVideoRetrieve(0);
    aviFile.Release();
    audioStreamCount = 0;
    return -3;
  }
  bitsPerSample = -1;
  if (audioStreamCount) {
    audioFormat = aviFile.GetAudioFormat(0);
    if (IsPlainPcm(audioFormat)) {
      bitsPerSample = short(audioFormat->nAvgBytesPerSec / audioFormat->nSamplesPerSec / audioFormat->nChannels * 8);
    } else {
      // Anything else is decoded to 16-bit samples, or the video has no sound.
      char why[160];
      audioDecoder = AudioDecoderOpen(aviFile.audioStreams[0], why, sizeof why);
      if (audioDecoder) {
        bitsPerSample = 16;
      } else {
        char line[256];
        std::snprintf(line, sizeof line, "%s: %s; the video plays without sound", path,
                      why[0] ? why : "audio that cannot be played");
        MivolenLogLine(line);
        audioStreamCount = 0;
        audioFormat = nullptr;
      }
    }
  }
  isOpen = true;
  return 0;
}

int Mivolen::Close() {
  PlayEnd();
  if (isOpen) {
    aviFile.EndVideoRetrieve(0);
    aviFile.Release();
    videoFormat = nullptr;
    isOpen = false;
  }
  // The audio format lived in the released file.
  AudioDecoderClose(audioDecoder);
  audioDecoder = nullptr;
  audioFormat = nullptr;
  audioStreamCount = 0;
  bitsPerSample = -1;
  return 0;
}

int Mivolen::StartCommon(bool direct) {
  if (!isOpen || isPlaying) return 0;
  if (direct) {
    if (install_param_int(handler, this, kTimerMs) < 0) return -1;
    drawDib = DrawDibOpen();
  } else {
    drawDib = DrawDibOpen();
    if (install_param_int(handler, this, kTimerMs) < 0) {
      DrawDibClose(drawDib);
      drawDib = nullptr;
      return -1;
    }
    // Without a graphics driver there are no system bitmaps; a memory bitmap does the same job.
    if (gfx_driver && screen) {
      frameBitmap = create_system_bitmap(Width(), Height());
    } else {
      int depth = get_color_depth() > 8 ? get_color_depth() : 32;
      frameBitmap = create_bitmap_ex(depth, Width(), Height());
    }
    if (!frameBitmap) {
      remove_param_int(handler, this);
      DrawDibClose(drawDib);
      drawDib = nullptr;
      return -2;
    }
  }
  DrawDibStart(drawDib, 1);
  if (!direct) DrawDibBegin(drawDib, nullptr, -1, -1, videoFormat, Width(), Height(), 0);
  lastFrame = -1;
  audioPos = 0;
  AudioInit();
  endedAt = -1;
  playTime = 0;
  isPlaying = true;
  return 0;
}

int Mivolen::PlayStart() { return StartCommon(false); }

int Mivolen::PlayStart_Direct() { return StartCommon(true); }

int Mivolen::PlayedChannels() {
  if (audioDecoder) return AudioDecoderChannels(audioDecoder);
  return audioFormat && audioFormat->nChannels != 1 ? 2 : 1;
}

int Mivolen::StreamBufferBytes() { return kChunkSamples * PlayedChannels() * (bitsPerSample / 8); }

bool Mivolen::CreateAudioStream() {
  int rate = SamplesPerSecond();
  if (rate <= 0 || (bitsPerSample != 8 && bitsPerSample != 16)) return false;
  audioStream = play_audio_stream(kChunkSamples, bitsPerSample, PlayedChannels() == 2, rate, kVolume, kPan);
  return audioStream != nullptr;
}

void Mivolen::AudioInit() {
  audioPos = 0;
  audioStarted = false;
  if (!soundEnabled || !audioStreamCount) return;
  if (audioDecoder) {
    AudioDecoderRewind(audioDecoder);
    chunkBytes = StreamBufferBytes();
    chunkSamples = kChunkSamples;
  } else {
    LONG bytes = 0, samples = 0;
    if (AVIStreamRead(aviFile.audioStreams[0], 0, kChunkSamples, nullptr, 0, &bytes, &samples) != AVIERR_OK) return;
    chunkBytes = bytes;
    chunkSamples = samples;
  }
  // A chunk is read whole and a stream buffer filled whole, whichever is larger.
  readBufferBytes = chunkBytes > StreamBufferBytes() ? chunkBytes : StreamBufferBytes();
  if (readBufferBytes <= 0) return;
  readBuffer = static_cast<BYTE *>(std::malloc(size_t(readBufferBytes)));
  if (!readBuffer) return;
  // Without a stream the video plays on silently.
  if (!CreateAudioStream()) {
    std::free(readBuffer);
    readBuffer = nullptr;
    return;
  }
  audioStarted = true;
}

void Mivolen::RefillAudio() {
  if (!audioStarted || !audioStream || !audioStreamCount || (bitsPerSample != 8 && bitsPerSample != 16)) return;
  if (BYTE *buffer = static_cast<BYTE *>(get_audio_stream_buffer(audioStream))) FillStreamChunk(buffer);
}

void Mivolen::FillStreamChunk(BYTE *buffer) {
  streamBuffer = buffer;
  LONG got = 0, samples = 0;
  if (audioDecoder) {
    samples = AudioDecoderRead(audioDecoder, reinterpret_cast<int16_t *>(readBuffer), kChunkSamples);
    got = samples * PlayedChannels() * 2;
  } else if (AVIStreamRead(aviFile.audioStreams[0], audioPos, kChunkSamples, readBuffer, chunkBytes, &got, &samples) !=
             AVIERR_OK) {
    got = samples = 0;
  }
  samplesRead = samples;
  audioPos += kChunkSamples;
  // Once the file's audio runs out the rest is silence, never old data.
  FillStreamBuffer(streamBuffer, size_t(StreamBufferBytes()), readBuffer, size_t(got), bitsPerSample);
  free_audio_stream_buffer(audioStream);
  streamBuffer = nullptr;
}

void Mivolen::AudioStreamInit() {
  if (!audioStarted || !audioStream || !audioStreamCount || (bitsPerSample != 8 && bitsPerSample != 16)) return;
  // Bounded waits: a sound driver that never takes the data must not hang the caller.
  for (int waited = 0; waited < kBufferWaitMs; ++waited) {
    void *buffer = get_audio_stream_buffer(audioStream);
    if (buffer) {
      FillStreamChunk(static_cast<BYTE *>(buffer));
      break;
    }
    rest(1);
  }
  // Wait until the next buffer is free; PlayStep fills it.
  for (int waited = 0; waited < kBufferWaitMs; ++waited) {
    if (get_audio_stream_buffer(audioStream)) break;
    rest(1);
  }
}

void Mivolen::DrawBitmap(LPBITMAPINFOHEADER format, BITMAP *bitmap, int x, int y) {
  HDC dc = win_get_dc(bitmap);
  DWORD table = 0;
  if (format->biCompression == BI_BITFIELDS)
    table = 3;
  else if (format->biBitCount <= 8)
    table = format->biClrUsed ? format->biClrUsed : 1u << format->biBitCount;
  BYTE *bits = reinterpret_cast<BYTE *>(format) + format->biSize + table * sizeof(RGBQUAD);
  DrawDibDraw(drawDib, dc, x, y, -1, -1, format, bits, 0, 0, Width(), Height(), 0);
  win_release_dc(bitmap, dc);
}

// The clock position where playback stopped: the end of the video, or the
// time of a frame that could not be had. From here on the playing time stays
// there, rather than depending on how late the caller asks.
int Mivolen::EndStep(int now) {
  long end = aviFile.videoEndTimes[0];
  endedAt = now > end ? int(end) : now;
  return endedAt;
}

bool Mivolen::PlayStep(BITMAP *target, int x, int y, bool force, bool waitVsync) {
  if (!isPlaying || endedAt >= 0) return false;
  RefillAudio();
  // One reading of the clock for both the frame number and the frame.
  int now = playTime;
  int frame = aviFile.GetVideoFrameNum(0, now);
  if (frame < 0) {
    lastFrame = frame;
    EndStep(now);
    return false;
  }
  if (force || frame != lastFrame) {
    LPBITMAPINFOHEADER image = nullptr;
    aviFile.GetVideoFrameAtTime(0, now, &image);
    if (!image || !target) {
      lastFrame = frame;
      if (!image) EndStep(now);  // a missing frame ends playback
      return false;
    }
    if (frameBitmap) {
      DrawBitmap(image, frameBitmap, 0, 0);
      if (waitVsync && gfx_driver) vsync();
      acquire_bitmap(target);
      blit(frameBitmap, target, 0, 0, x, y, frameBitmap->w, frameBitmap->h);
      release_bitmap(target);
    } else {
      if (waitVsync && gfx_driver) vsync();
      DrawBitmap(image, target, x, y);
    }
  }
  lastFrame = frame;
  return true;
}

bool Mivolen::PlayStep(BITMAP *target, bool force, bool waitVsync) {
  if (!target) return false;
  return PlayStep(target, (target->w - Width()) >> 1, (target->h - Height()) >> 1, force, waitVsync);
}

int Mivolen::PlayEnd() {
  if (isPlaying) {
    if (audioStreamCount && audioStarted) {
      if (audioStream) stop_audio_stream(audioStream);
      audioStream = nullptr;
      std::free(readBuffer);
      readBuffer = nullptr;
    }
    DrawDibStop(drawDib);
    DrawDibClose(drawDib);
    drawDib = nullptr;
    remove_param_int(handler, this);
    if (frameBitmap) destroy_bitmap(frameBitmap);
    frameBitmap = nullptr;
    isPlaying = false;
  }
  return 0;
}

void Mivolen::PlayRestart() {
  if (!isPlaying) return;
  if (audioStreamCount && audioStarted) {
    if (audioStream) stop_audio_stream(audioStream);
    audioStream = nullptr;
    if (!CreateAudioStream()) {
      // Sound is lost, the picture goes on.
      audioStarted = false;
      std::free(readBuffer);
      readBuffer = nullptr;
    }
  }
  audioPos = 0;
  if (audioDecoder) AudioDecoderRewind(audioDecoder);
  AudioStreamInit();
  endedAt = -1;
  playTime = 0;
}

// The blocking players' loop: steps until the video ends or, if asked, a
// key stops it, and sleeps in between until the next frame is due (at most
// kMaxRestMs, so that keys and sound buffers are still seen in time).
void Mivolen::PlayToEnd(BITMAP *target, int x, int y, bool stopOnKey, bool waitVsync) {
  for (;;) {
    bool r = PlayStep(target, x, y, false, waitVsync);
    if (stopOnKey && (key[KEY_ESC] || key[KEY_ENTER])) break;
    if (!r) break;
    int now = playTime;
    int frame = aviFile.GetVideoFrameNum(0, now);
    if (frame < 0) continue;
    long next = AVIStreamSampleToTime(aviFile.videoStreams[0], AVIStreamStart(aviFile.videoStreams[0]) + frame + 1);
    long wait = next - now;
    if (wait > kMaxRestMs) wait = kMaxRestMs;
    if (wait > 0) rest(unsigned(wait));
  }
  PlayEnd();
}

int Mivolen::Play(BITMAP *target, int x, int y, bool stopOnKey, bool waitVsync) {
  if (PlayStart() < 0) return -1;
  PlayToEnd(target, x, y, stopOnKey, waitVsync);
  return 0;
}

int Mivolen::Play(BITMAP *target, bool stopOnKey, bool waitVsync) {
  if (!target) return -1;
  return Play(target, (target->w - Width()) >> 1, (target->h - Height()) >> 1, stopOnKey, waitVsync);
}

int Mivolen::Play_Direct(BITMAP *target, int x, int y, bool stopOnKey, bool waitVsync) {
  if (PlayStart_Direct() < 0) return -1;
  PlayToEnd(target, x, y, stopOnKey, waitVsync);
  return 0;
}

int Mivolen::Play_Direct(BITMAP *target, bool stopOnKey, bool waitVsync) {
  if (!target) return -1;
  return Play_Direct(target, (target->w - Width()) >> 1, (target->h - Height()) >> 1, stopOnKey, waitVsync);
}

void Mivolen::EnableSound() { soundEnabled = true; }

void Mivolen::DisableSound() { soundEnabled = false; }

int Mivolen::Width() { return videoFormat ? int(videoFormat->biWidth) : -1; }

int Mivolen::Height() {
  if (!videoFormat) return -1;
  return videoFormat->biHeight < 0 ? -int(videoFormat->biHeight) : int(videoFormat->biHeight);
}

int Mivolen::BitsPerPixel() { return videoFormat ? int(videoFormat->biBitCount) : -1; }

bool Mivolen::HasAudio() { return audioStreamCount != 0; }

int Mivolen::BitsPerSample() { return bitsPerSample; }

// Decoded audio reports what the decoder found in the stream and plays.
int Mivolen::SamplesPerSecond() {
  if (audioDecoder) return AudioDecoderRate(audioDecoder);
  return audioFormat ? int(audioFormat->nSamplesPerSec) : -1;
}

int Mivolen::Channels() {
  if (audioDecoder) return AudioDecoderChannels(audioDecoder);
  return audioFormat ? int(audioFormat->nChannels) : -1;
}

int Mivolen::GetFrameNumber() {
  if (!isPlaying) return -1;
  return aviFile.GetVideoFrameNum(0, endedAt >= 0 ? endedAt : int(playTime));
}

int Mivolen::GetPlayingTime() {
  if (!isPlaying) return -1;
  int now = endedAt >= 0 ? endedAt : int(playTime);
  return aviFile.GetVideoFrameNum(0, now) < 0 ? -1 : now;
}

// avi_file.cpp: CAviFile, one AVI file's audio and video streams (at most five
// of each), their formats, decompressed frames by time or number, and whole
// audio streams read into memory.
#include <cstdlib>
#include <cstring>

#include "mivolen/mivolen.h"
#ifndef _WIN32
#include "vfw/vfw.h"
#endif

CAviFile::CAviFile() {
  AVIFileInit();
  Init();
}

CAviFile::~CAviFile() {
  // The releases use the library, so they come before letting it go.
  Release();
  AVIFileExit();
}

void CAviFile::Init() {
  for (int i = 0; i < MAX_STREAMS; ++i) {
    audioStreams[i] = nullptr;
    videoStreams[i] = nullptr;
    audioFormats[i] = nullptr;
    audioData[i] = nullptr;
    videoFormats[i] = nullptr;
    frameReaders[i] = nullptr;
    videoEndTimes[i] = 0;
    audioSizes[i] = 0;
  }
  file = nullptr;
  audioCount = 0;
  videoCount = 0;
}

bool CAviFile::Open(const char *path) {
  // Opening over an open file would lose its handles for good.
  if (file) Release();
  if (AVIFileOpenA(&file, path, 0, nullptr) != AVIERR_OK) {
    file = nullptr;
    return false;
  }
  if (FindStreams() && DetermineAudioFormats() && DetermineVideoFormats()) return true;
  Release();
  return false;
}

bool CAviFile::FindStreams() {
  while (audioCount < MAX_STREAMS &&
         AVIFileGetStream(file, &audioStreams[audioCount], streamtypeAUDIO, LONG(audioCount)) == AVIERR_OK)
    ++audioCount;
  while (videoCount < MAX_STREAMS &&
         AVIFileGetStream(file, &videoStreams[videoCount], streamtypeVIDEO, LONG(videoCount)) == AVIERR_OK)
    ++videoCount;
  return true;
}

namespace {

// Reads a stream's format block into a new buffer of at least minSize bytes,
// zero-filled past the block; null on failure. A 16-byte audio format without
// cbSize must not leave callers reading past the end.
void *ReadFormat(PAVISTREAM stream, size_t minSize) {
  LONG size = 0;
  LONG start = AVIStreamStart(stream);
  if (AVIStreamReadFormat(stream, start, nullptr, &size) != AVIERR_OK || size <= 0) return nullptr;
  void *block = std::calloc(size_t(size) > minSize ? size_t(size) : minSize, 1);
  if (!block) return nullptr;
  if (AVIStreamReadFormat(stream, start, block, &size) != AVIERR_OK) {
    std::free(block);
    return nullptr;
  }
  return block;
}

}  // namespace

bool CAviFile::DetermineAudioFormats() {
  for (unsigned i = 0; i < audioCount; ++i) {
    audioFormats[i] = static_cast<LPWAVEFORMATEX>(ReadFormat(audioStreams[i], sizeof(WAVEFORMATEX)));
    if (!audioFormats[i]) return false;
  }
  return true;
}

bool CAviFile::DetermineVideoFormats() {
  for (unsigned i = 0; i < videoCount; ++i) {
    videoFormats[i] = static_cast<LPBITMAPINFOHEADER>(ReadFormat(videoStreams[i], sizeof(BITMAPINFOHEADER)));
    if (!videoFormats[i]) return false;
  }
  return true;
}

void CAviFile::Release() {
  // Frame readers hold the streams open, so an unclosed one would keep the file for good.
  for (unsigned i = 0; i < MAX_STREAMS; ++i)
    if (frameReaders[i]) AVIStreamGetFrameClose(frameReaders[i]);
  if (file) AVIFileRelease(file);
  for (unsigned i = 0; i < audioCount; ++i) {
    if (audioStreams[i]) AVIStreamRelease(audioStreams[i]);
    std::free(audioFormats[i]);
    std::free(audioData[i]);
  }
  for (unsigned i = 0; i < videoCount; ++i) {
    if (videoStreams[i]) AVIStreamRelease(videoStreams[i]);
    std::free(videoFormats[i]);
  }
  Init();
}

int CAviFile::GetAudioStreamCount() { return int(audioCount); }

int CAviFile::GetVideoStreamCount() { return int(videoCount); }

LPWAVEFORMATEX CAviFile::GetAudioFormat(unsigned int stream) {
  return stream < audioCount ? audioFormats[stream] : nullptr;
}

LPBITMAPINFOHEADER CAviFile::GetVideoFormat(unsigned int stream) {
  return stream < videoCount ? videoFormats[stream] : nullptr;
}

bool CAviFile::StartVideoRetrieve(unsigned int stream) {
  if (stream >= videoCount) return false;
  if (frameReaders[stream]) AVIStreamGetFrameClose(frameReaders[stream]);
  frameReaders[stream] = AVIStreamGetFrameOpen(videoStreams[stream], nullptr);
  if (!frameReaders[stream]) return false;
  LONG start = AVIStreamStart(videoStreams[stream]);
  videoEndTimes[stream] = AVIStreamSampleToTime(videoStreams[stream], start + AVIStreamLength(videoStreams[stream]));
  return true;
}

bool CAviFile::EndVideoRetrieve(unsigned int stream) {
  if (stream >= MAX_STREAMS) return false;
  if (frameReaders[stream] && AVIStreamGetFrameClose(frameReaders[stream]) != AVIERR_OK) return false;
  frameReaders[stream] = nullptr;
  return true;
}

int CAviFile::GetVideoFrameNum(unsigned int stream, long ms) {
  if (stream >= videoCount || ms > videoEndTimes[stream]) return -1;
  return AVIStreamTimeToSample(videoStreams[stream], LONG(ms < 0 ? 0 : ms));
}

void CAviFile::GetVideoFrameAtTime(unsigned int stream, long ms, LPBITMAPINFOHEADER *frame) {
  if (!frame) return;
  int n = GetVideoFrameNum(stream, ms);
  *frame = n < 0 ? nullptr : static_cast<LPBITMAPINFOHEADER>(AVIStreamGetFrame(frameReaders[stream], n));
}

void CAviFile::GetVideoFrame(unsigned int stream, long frameNumber, LPBITMAPINFOHEADER *frame) {
  if (!frame) return;
  *frame = stream < MAX_STREAMS
               ? static_cast<LPBITMAPINFOHEADER>(AVIStreamGetFrame(frameReaders[stream], LONG(frameNumber)))
               : nullptr;
}

BYTE *CAviFile::ExtractAudioStream(unsigned int stream) {
  if (stream >= MAX_STREAMS) return nullptr;
  if (audioData[stream]) return audioData[stream];
  if (stream >= audioCount) return nullptr;
  // The count is the stream's length: asked for a "convenient" count without a
  // buffer, Video for Windows reports nothing to read.
  PAVISTREAM s = audioStreams[stream];
  LONG start = AVIStreamStart(s), length = AVIStreamLength(s);
  LONG bytes = 0, samples = 0;
  if (length <= 0 || AVIStreamRead(s, start, length, nullptr, 0, &bytes, &samples) != AVIERR_OK || bytes <= 0)
    return nullptr;
  BYTE *data = static_cast<BYTE *>(std::malloc(size_t(bytes)));
  if (!data) return nullptr;
  LONG got = 0;
  if (AVIStreamRead(s, start, length, data, bytes, &got, &samples) != AVIERR_OK) {
    std::free(data);
    return nullptr;
  }
  audioData[stream] = data;
  audioSizes[stream] = got;
  return data;
}

long CAviFile::GetAudioDataSize(unsigned int stream) { return stream < MAX_STREAMS ? audioSizes[stream] : 0; }

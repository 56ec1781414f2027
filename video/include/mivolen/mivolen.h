// mivolen/mivolen.h: plays AVI video onto Allegro bitmaps. CAviFile reads an
// AVI file's streams, formats, frames and audio; Mivolen plays its first
// video stream (with the first audio stream through an Allegro audio stream).
// Results of int type are 0 for success and negative for errors. It may be
// included before or after Allegro's and X11's headers.
#ifndef MIVOLEN_MIVOLEN_H
#define MIVOLEN_MIVOLEN_H

#include <atomic>

#ifdef _WIN32
// On Windows the system's Video for Windows reads, decodes and draws.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <allegro.h>
#include <winalleg.h>
#include <vfw.h>
#if defined(MIVOLEN_STATIC)
#define MIVOLEN_API
#elif defined(MIVOLEN_BUILD_DLL)
#define MIVOLEN_API __declspec(dllexport)
#else
#define MIVOLEN_API __declspec(dllimport)
#endif
#else
#include "vfw_types.h"
#if defined(__GNUC__)
#define MIVOLEN_API __attribute__((visibility("default")))
#else
#define MIVOLEN_API
#endif
#endif

struct BITMAP;
struct AUDIOSTREAM;
struct AudioDecoder;

// The library's log: warnings and errors of the decoders it uses, one line
// per call, without the newline. Nothing is logged, and nothing is written to
// stderr, until a hook is set; a null hook makes the library silent again.
// The hook may be called from any thread that uses the library; user is
// handed back as given.
typedef void (*MivolenLogHook)(const char *line, void *user);
MIVOLEN_API void MivolenSetLogHook(MivolenLogHook hook, void *user);

class MIVOLEN_API CAviFile {
  friend class Mivolen;  // the player reads its audio straight from the stream

 public:
  CAviFile();
  virtual ~CAviFile();
  // Each object owns its file handles; copies would release them twice.
  CAviFile(const CAviFile &) = delete;
  CAviFile &operator=(const CAviFile &) = delete;

  bool Open(const char *path);
  void Release();

  int GetAudioStreamCount();
  int GetVideoStreamCount();
  LPWAVEFORMATEX GetAudioFormat(unsigned int stream);
  LPBITMAPINFOHEADER GetVideoFormat(unsigned int stream);

  bool StartVideoRetrieve(unsigned int stream);
  bool EndVideoRetrieve(unsigned int stream);
  // Frame shown at the time, or -1 past the stream's end.
  int GetVideoFrameNum(unsigned int stream, long ms);
  // Frames are packed DIBs owned by the stream's frame reader, valid until the
  // next request on that stream; null when there is none.
  void GetVideoFrameAtTime(unsigned int stream, long ms, LPBITMAPINFOHEADER *frame);
  void GetVideoFrame(unsigned int stream, long frameNumber, LPBITMAPINFOHEADER *frame);
  // The whole audio stream as raw sample bytes, read once and kept until Release.
  BYTE *ExtractAudioStream(unsigned int stream);
  // Bytes in the buffer ExtractAudioStream returned (0 before).
  long GetAudioDataSize(unsigned int stream);

 protected:
  void Init();
  bool FindStreams();
  bool DetermineAudioFormats();
  bool DetermineVideoFormats();

 private:
  enum { MAX_STREAMS = 5 };
  PAVISTREAM audioStreams[MAX_STREAMS];
  PAVISTREAM videoStreams[MAX_STREAMS];
  PAVIFILE file;
  unsigned int audioCount;
  unsigned int videoCount;
  LPWAVEFORMATEX audioFormats[MAX_STREAMS];
  BYTE *audioData[MAX_STREAMS];
  LPBITMAPINFOHEADER videoFormats[MAX_STREAMS];
  PGETFRAME frameReaders[MAX_STREAMS];
  long videoEndTimes[MAX_STREAMS];
  long audioSizes[MAX_STREAMS];
};

class MIVOLEN_API Mivolen {
 public:
  Mivolen();
  ~Mivolen();
  // A player owns its timer, streams and bitmaps; it cannot be copied.
  Mivolen(const Mivolen &) = delete;
  Mivolen &operator=(const Mivolen &) = delete;

  // 0 opened; -1 the file does not open; -2 its first video stream cannot be
  // decoded; -3 it has no video format.
  int Open(const char *path);
  int Close();

  // 0 started (or nothing to do); -1 no timer; -2 no frame bitmap.
  int PlayStart();
  int PlayStart_Direct();
  // True while playing; draws only when the clock reaches a new frame, or when forced.
  bool PlayStep(BITMAP *target, int x, int y, bool force, bool waitVsync);
  bool PlayStep(BITMAP *target, bool force, bool waitVsync);
  int PlayEnd();
  void PlayRestart();

  // Blocking playback to the end (or ESC/ENTER with stopOnKey), sleeping
  // between frames; -1 when it cannot start.
  int Play(BITMAP *target, int x, int y, bool stopOnKey, bool waitVsync);
  int Play(BITMAP *target, bool stopOnKey, bool waitVsync);
  int Play_Direct(BITMAP *target, int x, int y, bool stopOnKey, bool waitVsync);
  int Play_Direct(BITMAP *target, bool stopOnKey, bool waitVsync);

  void EnableSound();
  void DisableSound();

  int Width();
  int Height();
  int BitsPerPixel();
  // Sound that is not 8- or 16-bit PCM of one or two channels is decoded and
  // reported as the 16-bit samples that play; sound that cannot be decoded
  // counts as none (and the log hook hears why).
  bool HasAudio();
  int BitsPerSample();
  int SamplesPerSecond();
  int Channels();
  // -1 when not playing, or once the clock is past the end; after PlayStep
  // has returned false at the end, the time stays where playback ended.
  int GetFrameNumber();
  int GetPlayingTime();

 private:
  static void handler(void *param);
  int StartCommon(bool direct);
  void AudioInit();
  bool CreateAudioStream();
  void RefillAudio();
  void AudioStreamInit();
  void FillStreamChunk(BYTE *buffer);  // the next chunk of the file into a stream buffer
  void DrawBitmap(LPBITMAPINFOHEADER format, BITMAP *bitmap, int x, int y);
  int StreamBufferBytes();
  int PlayedChannels();
  int EndStep(int now);
  void PlayToEnd(BITMAP *target, int x, int y, bool stopOnKey, bool waitVsync);

  std::atomic<int> playTime;
  CAviFile aviFile;
  HDRAWDIB drawDib;
  LPBITMAPINFOHEADER videoFormat;
  LPWAVEFORMATEX audioFormat;
  AUDIOSTREAM *audioStream;
  int chunkBytes;
  int chunkSamples;
  BYTE *readBuffer;
  int readBufferBytes;
  BYTE *streamBuffer;
  int audioPos;
  BITMAP *frameBitmap;
  int lastFrame;
  int samplesRead;
  short audioStreamCount;
  short bitsPerSample;
  bool isOpen;
  bool soundEnabled;
  bool isPlaying;
  bool audioStarted;
  AudioDecoder *audioDecoder;  // compressed audio turned into 16-bit samples; null for PCM
  int endedAt;                 // the clock where PlayStep found the end, -1 before
};

#endif

// avi_parse.h: reads the layout of an AVI file (streams, formats and where
// every data chunk lies) from any byte source, trusting nothing in the file.
#ifndef MIVOLEN_AVI_PARSE_H
#define MIVOLEN_AVI_PARSE_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// All of a source's bytes in memory, private to one reader: it may write into
// a range between BeginWrite and EndWrite, and nobody else sees that.
class AviView {
 public:
  virtual ~AviView() {}
  virtual uint8_t *Data() = 0;
  // Whether [0, end) can still be read (a file may have shrunk since).
  virtual bool Holds(uint64_t end) = 0;
  virtual bool BeginWrite(uint64_t offset, size_t n) = 0;
  virtual void EndWrite(uint64_t offset, size_t n) = 0;
};

// Random access to the file's bytes; reads outside the data fail.
class AviSource {
 public:
  virtual ~AviSource() {}
  virtual uint64_t Size() const = 0;
  virtual bool ReadAt(uint64_t offset, void *dst, size_t n) = 0;
  // A new view of the bytes, or null when the source cannot give one.
  virtual std::unique_ptr<AviView> PrivateView() = 0;
};

std::unique_ptr<AviSource> OpenFileSource(const char *path);
std::unique_ptr<AviSource> MemorySource(const uint8_t *data, size_t size);

struct AviChunk {
  uint64_t offset;  // of the data, past the chunk header
  uint32_t size;
  bool key;
};

struct AviStreamLayout {
  uint32_t type = 0;  // 'vids', 'auds', ...
  uint32_t handler = 0;
  uint32_t scale = 0, rate = 0, start = 0, headerLength = 0, headerSampleSize = 0;
  std::vector<uint8_t> format;  // strf block, padded so the usual header structs can be read whole
  std::vector<AviChunk> chunks;
  // Bytes per sample when samples are fixed blocks (PCM audio); 0: one chunk per sample.
  uint32_t sampleBytes = 0;
  std::vector<int64_t> firstSample;  // per chunk, its first sample (fixed-size samples only)
  int64_t sampleCount = 0;
};

struct AviLayout {
  std::vector<AviStreamLayout> streams;
};

// Fills layout from the source; false when it is not a usable AVI file.
bool ParseAvi(AviSource &src, AviLayout &layout);

#endif

// avi_source.cpp: where the parser's bytes come from: a file (read, or
// mapped for frames shown in place) or a copy of bytes in memory.
#include <cstring>

#include "avi_parse.h"
#include "os_file.h"

namespace {

class MappedView : public AviView {
 public:
  // The file belongs to the source, which lives as long as its streams' frame readers.
  MappedView(OsFile *file, uint8_t *data, uint64_t size) : file_(file), data_(data), size_(size) {}
  ~MappedView() override { OsUnmap(data_, size_); }
  uint8_t *Data() override { return data_; }
  bool Holds(uint64_t end) override { return end <= size_ && OsFileReaches(file_, end); }
  bool BeginWrite(uint64_t offset, size_t n) override { return OsBeginWrite(data_, offset, n); }
  void EndWrite(uint64_t offset, size_t n) override { OsEndWrite(data_, offset, n); }

 private:
  OsFile *file_;
  uint8_t *data_;
  uint64_t size_;
};

class FileSource : public AviSource {
 public:
  explicit FileSource(OsFile *file) : file_(file), size_(OsFileSize(file)) {}
  ~FileSource() override { OsClose(file_); }
  uint64_t Size() const override { return size_; }
  bool ReadAt(uint64_t offset, void *dst, size_t n) override {
    if (offset > size_ || n > size_ - offset) return false;
    return OsReadAt(file_, offset, dst, n);
  }
  std::unique_ptr<AviView> PrivateView() override {
    uint8_t *data = OsMapPrivate(file_);
    if (!data) return nullptr;
    return std::unique_ptr<AviView>(new MappedView(file_, data, size_));
  }

 private:
  OsFile *file_;
  uint64_t size_;
};

// A copy of the bytes, so that writing into it touches nothing else.
class CopyView : public AviView {
 public:
  explicit CopyView(const std::vector<uint8_t> &bytes) : bytes_(bytes) {}
  uint8_t *Data() override { return bytes_.data(); }
  bool Holds(uint64_t end) override { return end <= bytes_.size(); }
  bool BeginWrite(uint64_t, size_t) override { return true; }
  void EndWrite(uint64_t, size_t) override {}

 private:
  std::vector<uint8_t> bytes_;
};

class BufferSource : public AviSource {
 public:
  BufferSource(const uint8_t *data, size_t size) : data_(data, data + size) {}
  uint64_t Size() const override { return data_.size(); }
  bool ReadAt(uint64_t offset, void *dst, size_t n) override {
    if (offset > data_.size() || n > data_.size() - offset) return false;
    if (n) std::memcpy(dst, data_.data() + offset, n);
    return true;
  }
  std::unique_ptr<AviView> PrivateView() override {
    if (data_.empty()) return nullptr;
    return std::unique_ptr<AviView>(new CopyView(data_));
  }

 private:
  std::vector<uint8_t> data_;
};

}  // namespace

std::unique_ptr<AviSource> OpenFileSource(const char *path) {
  OsFile *file = OsOpenRead(path);
  if (!file) return nullptr;
  return std::unique_ptr<AviSource>(new FileSource(file));
}

std::unique_ptr<AviSource> MemorySource(const uint8_t *data, size_t size) {
  return std::unique_ptr<AviSource>(new BufferSource(data, size));
}

// os_file.cpp: files for the video layer. POSIX reads with pread and maps
// with mmap; Windows reads with ReadFile and does not map (frames are then
// read rather than shown from the mapping).
#include "os_file.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

struct OsFile {
  HANDLE handle;
  uint64_t size;
};

OsFile *OsOpenRead(const char *path) {
  if (!path) return nullptr;
  HANDLE h = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return nullptr;
  LARGE_INTEGER size;
  if (GetFileType(h) != FILE_TYPE_DISK || !GetFileSizeEx(h, &size) || size.QuadPart < 0) {
    CloseHandle(h);
    return nullptr;
  }
  return new OsFile{h, uint64_t(size.QuadPart)};
}

void OsClose(OsFile *file) {
  if (!file) return;
  CloseHandle(file->handle);
  delete file;
}

uint64_t OsFileSize(const OsFile *file) { return file ? file->size : 0; }

bool OsReadAt(OsFile *file, uint64_t offset, void *dst, size_t n) {
  uint8_t *p = static_cast<uint8_t *>(dst);
  while (n > 0) {
    OVERLAPPED at = {};
    at.Offset = DWORD(offset);
    at.OffsetHigh = DWORD(offset >> 32);
    DWORD want = n > 0x40000000 ? 0x40000000 : DWORD(n), got = 0;
    if (!ReadFile(file->handle, p, want, &got, &at) || got == 0) return false;
    p += got;
    offset += got;
    n -= got;
  }
  return true;
}

bool OsFileReaches(OsFile *file, uint64_t end) {
  LARGE_INTEGER size;
  return GetFileSizeEx(file->handle, &size) && uint64_t(size.QuadPart) >= end;
}

uint8_t *OsMapPrivate(OsFile *) { return nullptr; }
void OsUnmap(uint8_t *, uint64_t) {}
bool OsBeginWrite(uint8_t *, uint64_t, size_t) { return false; }
void OsEndWrite(uint8_t *, uint64_t, size_t) {}

#else
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

struct OsFile {
  int fd;
  uint64_t size;
};

namespace {

// The whole pages holding [offset, offset + n).
void Pages(uint8_t *view, uint64_t offset, size_t n, uint8_t **start, size_t *length) {
  const uint64_t page = uint64_t(sysconf(_SC_PAGESIZE));
  uint64_t first = offset / page * page, end = (offset + n + page - 1) / page * page;
  *start = view + first;
  *length = size_t(end - first);
}

}  // namespace

OsFile *OsOpenRead(const char *path) {
  if (!path) return nullptr;
  int fd = open(path, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    return nullptr;
  }
  return new OsFile{fd, uint64_t(st.st_size)};
}

void OsClose(OsFile *file) {
  if (!file) return;
  close(file->fd);
  delete file;
}

uint64_t OsFileSize(const OsFile *file) { return file ? file->size : 0; }

bool OsReadAt(OsFile *file, uint64_t offset, void *dst, size_t n) {
  uint8_t *p = static_cast<uint8_t *>(dst);
  while (n > 0) {
    ssize_t got = pread(file->fd, p, n, off_t(offset));
    if (got <= 0) return false;
    p += got;
    offset += uint64_t(got);
    n -= size_t(got);
  }
  return true;
}

bool OsFileReaches(OsFile *file, uint64_t end) {
  struct stat st;
  return fstat(file->fd, &st) == 0 && uint64_t(st.st_size) >= end;
}

uint8_t *OsMapPrivate(OsFile *file) {
  if (!file || file->size == 0 || file->size > SIZE_MAX) return nullptr;
  // Read-only until a range is written: a private writable mapping of a large
  // file would be charged in full against the system's memory.
  void *p = mmap(nullptr, size_t(file->size), PROT_READ, MAP_PRIVATE, file->fd, 0);
  return p == MAP_FAILED ? nullptr : static_cast<uint8_t *>(p);
}

void OsUnmap(uint8_t *view, uint64_t size) {
  if (view) munmap(view, size_t(size));
}

bool OsBeginWrite(uint8_t *view, uint64_t offset, size_t n) {
  uint8_t *start;
  size_t length;
  Pages(view, offset, n, &start, &length);
  return mprotect(start, length, PROT_READ | PROT_WRITE) == 0;
}

void OsEndWrite(uint8_t *view, uint64_t offset, size_t n) {
  uint8_t *start;
  size_t length;
  Pages(view, offset, n, &start, &length);
  // Dropping the private copies brings back the file's bytes and frees the memory.
  madvise(start, length, MADV_DONTNEED);
  mprotect(start, length, PROT_READ);
}

#endif

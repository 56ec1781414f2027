// os_file.h: the video layer's only calls to the operating system: a file
// opened for reading, read at any offset, and mapped into memory.
#ifndef MIVOLEN_OS_FILE_H
#define MIVOLEN_OS_FILE_H

#include <cstddef>
#include <cstdint>

struct OsFile;

// Regular files only; null for anything else or when the file does not open.
OsFile *OsOpenRead(const char *path);
void OsClose(OsFile *file);
uint64_t OsFileSize(const OsFile *file);
// All n bytes at offset, or false.
bool OsReadAt(OsFile *file, uint64_t offset, void *dst, size_t n);

// Whether the file still reaches offset end: a mapped page past the end of a
// file that has shrunk since it was mapped cannot be read.
bool OsFileReaches(OsFile *file, uint64_t end);

// A read-only view of the whole file, private to this process; null when the
// system cannot map it, and the caller reads instead.
uint8_t *OsMapPrivate(OsFile *file);
void OsUnmap(uint8_t *view, uint64_t size);
// Lets the caller write into [offset, offset + n) of a view; the writes stay
// in this process and never reach the file.
bool OsBeginWrite(uint8_t *view, uint64_t offset, size_t n);
// Ends that: the range shows the file's own bytes again and is read-only.
void OsEndWrite(uint8_t *view, uint64_t offset, size_t n);

#endif

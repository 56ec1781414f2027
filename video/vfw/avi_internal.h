// avi_internal.h: what the AVIFile handles hold, shared by the stream calls
// and the frame readers of the Video for Windows layer.
#ifndef MIVOLEN_AVI_INTERNAL_H
#define MIVOLEN_AVI_INTERNAL_H

#include <memory>
#include <vector>

#include "avi_parse.h"
#include "vfw.h"

struct AviFileImpl {
  int refs = 1;
  std::unique_ptr<AviSource> source;
  AviLayout layout;
};

struct AviStreamImpl {
  int refs = 1;
  AviFileImpl *file = nullptr;
  size_t index = 0;
  const AviStreamLayout &Layout() const { return file->layout.streams[index]; }
};

// Opens a parsed file over any byte source (files, memory).
HRESULT AviFileOpenSource(PAVIFILE *ppfile, std::unique_ptr<AviSource> source);
void AviStreamAddRef(PAVISTREAM pavi);

// Reads chunk c of the stream into buf with `padding` zero bytes after it.
bool ReadStreamChunk(PAVISTREAM pavi, size_t c, std::vector<uint8_t> &buf, size_t padding);

#endif

// avifile.cpp: the AVIFile and AVIStream calls over our parsed file layout:
// streams by type, formats, sample reads and sample/time conversion.
#include <algorithm>
#include <cstring>

#include "avi_internal.h"

namespace {

// Rates and scales are full 32-bit values, so the products need more than 64 bits.
typedef __int128 Wide;
int64_t FloorDiv(Wide a, Wide b) { return int64_t(a >= 0 ? a / b : -((-a + b - 1) / b)); }

}  // namespace

HRESULT AviFileOpenSource(PAVIFILE *ppfile, std::unique_ptr<AviSource> source) {
  if (!ppfile) return AVIERR_BADPARAM;
  *ppfile = nullptr;
  if (!source) return AVIERR_FILEOPEN;
  std::unique_ptr<AviFileImpl> f(new AviFileImpl);
  if (!ParseAvi(*source, f->layout)) return AVIERR_BADFORMAT;
  f->source = std::move(source);
  *ppfile = f.release();
  return AVIERR_OK;
}

void AviStreamAddRef(PAVISTREAM pavi) {
  if (pavi) ++pavi->refs;
}

bool ReadStreamChunk(PAVISTREAM pavi, size_t c, std::vector<uint8_t> &buf, size_t padding) {
  const AviStreamLayout &L = pavi->Layout();
  if (c >= L.chunks.size()) return false;
  const AviChunk &ch = L.chunks[c];
  buf.assign(size_t(ch.size) + padding, 0);
  return pavi->file->source->ReadAt(ch.offset, buf.data(), ch.size);
}

extern "C" {

// The layer keeps no global state, so these only mark the calling pattern.
void AVIFileInit(void) {}
void AVIFileExit(void) {}

HRESULT AVIFileOpenA(PAVIFILE *ppfile, LPCSTR szFile, UINT uMode, LPVOID) {
  if (ppfile) *ppfile = nullptr;
  if (!ppfile || !szFile || uMode != 0) return AVIERR_BADPARAM;
  try {
    return AviFileOpenSource(ppfile, OpenFileSource(szFile));
  } catch (...) {
    return AVIERR_MEMORY;
  }
}

HRESULT AVIFileGetStream(PAVIFILE pfile, PAVISTREAM *ppavi, DWORD fccType, LONG lParam) {
  if (!ppavi) return AVIERR_BADPARAM;
  *ppavi = nullptr;
  if (!pfile || lParam < 0) return AVIERR_BADPARAM;
  LONG seen = 0;
  for (size_t i = 0; i < pfile->layout.streams.size(); ++i) {
    const AviStreamLayout &s = pfile->layout.streams[i];
    if (s.type == 0 || (fccType != 0 && s.type != fccType)) continue;
    if (seen++ != lParam) continue;
    AviStreamImpl *st = new (std::nothrow) AviStreamImpl;
    if (!st) return AVIERR_MEMORY;
    st->file = pfile;
    st->index = i;
    ++pfile->refs;
    *ppavi = st;
    return AVIERR_OK;
  }
  return AVIERR_NODATA;
}

ULONG AVIFileRelease(PAVIFILE pfile) {
  if (!pfile) return 0;
  int left = --pfile->refs;
  if (left == 0) delete pfile;
  return ULONG(left);
}

ULONG AVIStreamRelease(PAVISTREAM pavi) {
  if (!pavi) return 0;
  int left = --pavi->refs;
  if (left == 0) {
    AVIFileRelease(pavi->file);
    delete pavi;
  }
  return ULONG(left);
}

LONG AVIStreamStart(PAVISTREAM pavi) { return pavi ? LONG(pavi->Layout().start) : -1; }

LONG AVIStreamLength(PAVISTREAM pavi) { return pavi ? LONG(pavi->Layout().sampleCount) : -1; }

HRESULT AVIStreamReadFormat(PAVISTREAM pavi, LONG, LPVOID lpFormat, LPLONG lpcbFormat) {
  if (!pavi || !lpcbFormat) return AVIERR_BADPARAM;
  const std::vector<uint8_t> &f = pavi->Layout().format;
  if (lpFormat) {
    if (*lpcbFormat < 0) return AVIERR_BADPARAM;
    std::memcpy(lpFormat, f.data(), std::min<size_t>(size_t(*lpcbFormat), f.size()));
  }
  *lpcbFormat = LONG(f.size());
  return AVIERR_OK;
}

HRESULT AVIStreamRead(PAVISTREAM pavi, LONG lStart, LONG lSamples, LPVOID lpBuffer, LONG cbBuffer, LPLONG plBytes,
                      LPLONG plSamples) {
  if (plBytes) *plBytes = 0;
  if (plSamples) *plSamples = 0;
  if (!pavi || lSamples < -1 || cbBuffer < 0) return AVIERR_BADPARAM;
  const AviStreamLayout &L = pavi->Layout();
  int64_t idx = int64_t(lStart) - int64_t(L.start);
  if (idx < 0) return AVIERR_BADPARAM;
  if (idx >= L.sampleCount) return AVIERR_OK;  // past the end: nothing to read
  int64_t want = L.sampleCount - idx;
  if (lSamples >= 0) want = std::min<int64_t>(want, lSamples);
  uint8_t *out = static_cast<uint8_t *>(lpBuffer);
  int64_t bytes = 0, samples = 0;

  if (L.sampleBytes) {
    const int64_t sb = L.sampleBytes;
    if (lpBuffer) want = std::min<int64_t>(want, cbBuffer / sb);
    if (want * sb > 0x7fffffff) return AVIERR_MEMORY;
    if (lpBuffer) {
      size_t c = size_t(std::upper_bound(L.firstSample.begin(), L.firstSample.end(), idx) - L.firstSample.begin()) - 1;
      int64_t pos = idx;
      for (; samples < want && c < L.chunks.size(); ++c) {
        int64_t inChunk = L.chunks[c].size / sb;
        int64_t within = pos - L.firstSample[c];
        if (within >= inChunk) continue;
        int64_t take = std::min(want - samples, inChunk - within);
        if (!pavi->file->source->ReadAt(L.chunks[c].offset + uint64_t(within * sb), out + bytes, size_t(take * sb)))
          return AVIERR_FILEREAD;
        bytes += take * sb;
        samples += take;
        pos += take;
      }
    } else {
      samples = want;
      bytes = want * sb;
    }
  } else {
    // One chunk per sample: only whole chunks are handed out.
    for (int64_t c = idx; c < idx + want; ++c) {
      int64_t size = L.chunks[size_t(c)].size;
      if (lpBuffer && bytes + size > cbBuffer) {
        if (samples == 0) return AVIERR_MEMORY;  // buffer too small for one sample
        break;
      }
      if (bytes + size > 0x7fffffff) return AVIERR_MEMORY;
      if (lpBuffer && !pavi->file->source->ReadAt(L.chunks[size_t(c)].offset, out + bytes, size_t(size)))
        return AVIERR_FILEREAD;
      bytes += size;
      ++samples;
    }
  }
  if (plBytes) *plBytes = LONG(bytes);
  if (plSamples) *plSamples = LONG(samples);
  return AVIERR_OK;
}

// A sample's time is when it starts, rounded down to the millisecond.
LONG AVIStreamSampleToTime(PAVISTREAM pavi, LONG lSample) {
  if (!pavi) return -1;
  const AviStreamLayout &L = pavi->Layout();
  if (L.rate == 0 || L.scale == 0) return -1;
  int64_t s = std::clamp<int64_t>(lSample, L.start, int64_t(L.start) + L.sampleCount);
  int64_t ms = FloorDiv(Wide(s) * L.scale * 1000, Wide(L.rate));
  return LONG(std::min<int64_t>(ms, 0x7fffffff));
}

// The sample showing at a time: the last one whose start time is not later,
// so converting a sample's time back gives that sample again.
LONG AVIStreamTimeToSample(PAVISTREAM pavi, LONG lTime) {
  if (!pavi) return -1;
  const AviStreamLayout &L = pavi->Layout();
  if (L.rate == 0 || L.scale == 0) return -1;
  int64_t s = FloorDiv((Wide(lTime) + 1) * L.rate - 1, Wide(L.scale) * 1000);
  return LONG(std::clamp<int64_t>(s, L.start, int64_t(L.start) + L.sampleCount));
}

}  // extern "C"

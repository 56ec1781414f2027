// frames.cpp: frame readers. Uncompressed DIB frames are handed out where
// the file holds them (or copied out when that cannot be done); compressed
// ones are decoded with libavcodec into 32-bit DIBs (frame_decoder.cpp).
#include <cstdlib>
#include <cstring>

#include "avi_internal.h"
#include "frame_decoder.h"

namespace {

const int64_t kMaxDimension = 16384;
const int64_t kMaxImageBytes = 512ll << 20;

}  // namespace

struct GetFrameImpl {
  PAVISTREAM stream = nullptr;
  std::vector<uint8_t> out;         // the packed DIB handed to the caller (raw frames: its header first)
  std::vector<int64_t> shownChunk;  // per frame: the last non-empty chunk at or before it (-1: none)
  int64_t current = -1;             // frame chunk held in held
  LPVOID held = nullptr;            // the packed DIB of current
  // Uncompressed frames. A 640x480 frame is 900 KiB, and copying it costs
  // about as much as drawing it, so where the file's data allows it the
  // header is written just before the pixels in a private view of the file.
  bool raw = false;
  size_t headerBytes = 0, imageBytes = 0;
  std::unique_ptr<AviView> view;
  uint64_t headerAt = 0;  // where the header sits in view, while headerSaved holds what it covers
  std::vector<uint8_t> headerSaved;
  // Compressed frames.
  FrameDecoder decoder;

  ~GetFrameImpl() {
    TakeHeaderBack();
    AVIStreamRelease(stream);
  }

  bool OpenRaw(const std::vector<uint8_t> &fmt, const BITMAPINFOHEADER &bi) {
    int64_t w = bi.biWidth, h = bi.biHeight < 0 ? -int64_t(bi.biHeight) : bi.biHeight;
    int bits = bi.biBitCount;
    if (w <= 0 || h <= 0 || w > kMaxDimension || h > kMaxDimension) return false;
    if (bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
    if (bi.biCompression == BI_BITFIELDS && bits != 16 && bits != 32) return false;
    size_t hdr = bi.biSize >= 40 && bi.biSize <= fmt.size() ? bi.biSize : 40;
    size_t table = 0;  // bytes of colour table or masks after the header
    DWORD colours = 0;
    if (bits == 8) {
      colours = bi.biClrUsed && bi.biClrUsed <= 256 ? bi.biClrUsed : 256;
      table = colours * 4;
    } else if (bi.biCompression == BI_BITFIELDS) {
      table = 12;
    }
    int64_t stride = ((w * bits + 31) / 32) * 4;
    // A picture larger than every chunk could never be shown; refusing it early
    // also keeps a tiny hostile file from claiming a huge frame buffer.
    uint32_t largest = 0;
    for (const AviChunk &c : stream->Layout().chunks) largest = c.size > largest ? c.size : largest;
    // A stream without any frame opens (and shows nothing), as a compressed one does.
    if (stride * h > kMaxImageBytes || (largest && stride * h > int64_t(largest))) return false;
    imageBytes = size_t(stride * h);
    headerBytes = 40 + table;
    out.assign(headerBytes, 0);
    BITMAPINFOHEADER o = bi;
    o.biSize = 40;
    o.biSizeImage = DWORD(imageBytes);
    o.biClrUsed = colours;
    std::memcpy(out.data(), &o, 40);
    if (hdr + table <= fmt.size()) std::memcpy(out.data() + 40, fmt.data() + hdr, table);
    raw = true;
    if (largest) view = stream->file->source->PrivateView();
    return true;
  }

  // Puts back the bytes the header of the frame shown in place covered.
  void TakeHeaderBack() {
    if (headerSaved.empty()) return;
    // Bytes a shrunken file no longer has cannot be touched, nor need putting back.
    if (view->Holds(headerAt + headerSaved.size()))
      std::memcpy(view->Data() + headerAt, headerSaved.data(), headerSaved.size());
    view->EndWrite(headerAt, headerSaved.size());
    headerSaved.clear();
  }

  // Chunk c's frame with the header written just before its pixels, or null
  // when there is no room for it. Chunks start at any even offset, so the
  // header grows by up to 3 bytes (biSize says by how many) to stay aligned.
  LPVOID ShowInPlace(const AviChunk &c) {
    if (!view || c.offset < headerBytes + 3 || !view->Holds(c.offset + imageBytes)) return nullptr;
    const size_t pad = size_t((c.offset - headerBytes) % 4), n = headerBytes + pad;
    const uint64_t at = c.offset - n;
    if (!view->BeginWrite(at, n)) return nullptr;
    uint8_t *header = view->Data() + at;
    headerSaved.assign(header, header + n);
    headerAt = at;
    const DWORD size = DWORD(40 + pad);
    std::memcpy(header, out.data(), 40);
    std::memcpy(header, &size, 4);  // biSize
    std::memset(header + 40, 0, pad);
    std::memcpy(header + 40 + pad, out.data() + 40, headerBytes - 40);
    return header;
  }

  LPVOID ReadRaw(const AviChunk &c) {
    if (c.size < imageBytes) return nullptr;
    if (LPVOID f = ShowInPlace(c)) return f;
    out.resize(headerBytes + imageBytes);
    if (!stream->file->source->ReadAt(c.offset, out.data() + headerBytes, imageBytes)) return nullptr;
    return out.data();
  }

  LPVOID Get(LONG pos) {
    const AviStreamLayout &L = stream->Layout();
    int64_t idx = int64_t(pos) - int64_t(L.start);
    if (idx < 0 || idx >= int64_t(L.chunks.size())) return nullptr;
    int64_t target = shownChunk[size_t(idx)];  // an empty chunk repeats the frame before it
    if (target < 0) return nullptr;
    // A frame shown in place is shown again, in case the file has shrunk since.
    if (target == current && headerSaved.empty()) return held;
    current = -1;
    held = nullptr;
    if (raw) {
      TakeHeaderBack();
      held = ReadRaw(L.chunks[size_t(target)]);
    } else {
      held = decoder.Picture(target);
    }
    if (held) current = target;
    return held;
  }
};

extern "C" {

PGETFRAME AVIStreamGetFrameOpen(PAVISTREAM pavi, LPBITMAPINFOHEADER lpbiWanted) {
  // Only the decompressor's own format is offered.
  if (!pavi || lpbiWanted) return nullptr;
  const AviStreamLayout &L = pavi->Layout();
  if (L.type != streamtypeVIDEO || L.format.size() < 40) return nullptr;
  try {
    std::unique_ptr<GetFrameImpl> g(new GetFrameImpl);
    AviStreamAddRef(pavi);
    g->stream = pavi;
    BITMAPINFOHEADER bi;
    std::memcpy(&bi, L.format.data(), 40);
    bool ok = (bi.biCompression == BI_RGB || bi.biCompression == BI_BITFIELDS)
                  ? g->OpenRaw(L.format, bi)
                  : g->decoder.Open(pavi, L.format, bi, L.handler);
    if (!ok) return nullptr;
    g->shownChunk.resize(L.chunks.size());
    int64_t last = -1;
    for (size_t i = 0; i < L.chunks.size(); ++i) {
      if (L.chunks[i].size) last = int64_t(i);
      g->shownChunk[i] = last;
    }
    return g.release();
  } catch (...) {
    return nullptr;
  }
}

LPVOID AVIStreamGetFrame(PGETFRAME pg, LONG lPos) {
  if (!pg) return nullptr;
  try {
    return pg->Get(lPos);
  } catch (...) {
    return nullptr;
  }
}

HRESULT AVIStreamGetFrameClose(PGETFRAME pg) {
  if (!pg) return AVIERR_BADPARAM;
  delete pg;
  return AVIERR_OK;
}

}  // extern "C"

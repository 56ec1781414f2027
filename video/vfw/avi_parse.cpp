// avi_parse.cpp: RIFF walking, stream headers, and the chunk tables built from
// the OpenDML index, the idx1 index or, failing both, a scan of the movi lists.
#include "avi_parse.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uint32_t FCC(const char (&s)[5]) {
  return uint32_t(uint8_t(s[0])) | uint32_t(uint8_t(s[1])) << 8 | uint32_t(uint8_t(s[2])) << 16 |
         uint32_t(uint8_t(s[3])) << 24;
}

uint16_t Rd16(const uint8_t *p) { return uint16_t(p[0] | p[1] << 8); }
uint32_t Rd32(const uint8_t *p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
uint64_t Rd64(const uint8_t *p) { return uint64_t(Rd32(p)) | uint64_t(Rd32(p + 4)) << 32; }

const uint32_t kMaxStreams = 100;
const uint32_t kMaxFormatBytes = 1 << 20;
const uint32_t kMaxIndexBytes = 64u << 20;
const int kMaxRiffs = 100000;

int HexDigit(uint8_t c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Stream number of a data chunk id such as "01wb", or -1 for anything else
// (index chunks, junk, palette changes).
int StreamOfChunk(uint32_t id) {
  int hi = HexDigit(uint8_t(id)), lo = HexDigit(uint8_t(id >> 8));
  if (hi < 0 || lo < 0) return -1;
  if ((id >> 16) == (FCC("00pc") >> 16)) return -1;
  return hi * 16 + lo;
}

struct Parser {
  AviSource &src;
  AviLayout &out;
  uint64_t fileSize;
  std::vector<std::pair<uint64_t, uint64_t>> indx;  // per stream: offset and size of its indx data
  std::vector<std::pair<uint64_t, uint64_t>> movi;  // data ranges of movi lists
  uint64_t firstMoviType = 0;                       // offset of the first "movi" list type
  bool haveIdx1 = false;
  uint64_t idx1Off = 0, idx1Size = 0;
  size_t maxChunks;
  uint64_t lastSize = 0;              // declared size of the chunk Chunk() read last
  std::vector<uint64_t> streamBytes;  // per stream, the data bytes indexed so far

  Parser(AviSource &s, AviLayout &o) : src(s), out(o), fileSize(s.Size()) { maxChunks = size_t(fileSize / 8 + 16); }

  // Header of the chunk at off inside [.., end): id, data start, data end (clamped), next chunk.
  bool Chunk(uint64_t off, uint64_t end, uint32_t &id, uint64_t &data, uint64_t &dataEnd, uint64_t &next) {
    uint8_t h[8];
    if (off + 8 > end || !src.ReadAt(off, h, 8)) return false;
    id = Rd32(h);
    uint32_t size = Rd32(h + 4);
    data = off + 8;
    dataEnd = std::min<uint64_t>(data + size, end);
    lastSize = size;
    next = data + size + (size & 1);
    return true;
  }

  bool ReadBlock(uint64_t off, uint64_t size, uint32_t cap, std::vector<uint8_t> &buf) {
    if (size > cap) return false;
    buf.resize(size);
    return src.ReadAt(off, buf.data(), size);
  }

  void PadFormat(AviStreamLayout &s) {
    std::vector<uint8_t> &f = s.format;
    if (s.type == FCC("vids")) {
      if (f.size() < 40) f.resize(40, 0);
      uint32_t hdr = Rd32(f.data());
      if (hdr < 40 || hdr > f.size()) hdr = 40;
      uint16_t bits = Rd16(f.data() + 14);
      uint32_t colours = 0;
      if (bits <= 8 && bits > 0) {
        colours = Rd32(f.data() + 32);
        if (colours == 0 || colours > (1u << bits)) colours = 1u << bits;
      }
      if (Rd32(f.data() + 16) == 3) colours = std::max(colours, 3u);  // the masks of BI_BITFIELDS
      if (f.size() < hdr + colours * 4) f.resize(hdr + colours * 4, 0);
    } else if (s.type == FCC("auds")) {
      if (f.size() < 18) f.resize(18, 0);
    }
  }

  void ParseStrl(uint64_t a, uint64_t b) {
    if (out.streams.size() >= kMaxStreams) return;
    AviStreamLayout s;
    bool haveHeader = false;
    std::pair<uint64_t, uint64_t> ix(0, 0);
    uint32_t id;
    uint64_t data, dataEnd, next;
    for (uint64_t off = a; Chunk(off, b, id, data, dataEnd, next); off = next) {
      uint64_t size = dataEnd - data;
      if (id == FCC("strh") && size >= 48) {
        uint8_t h[48];
        if (!src.ReadAt(data, h, 48)) continue;
        s.type = Rd32(h);
        s.handler = Rd32(h + 4);
        s.scale = Rd32(h + 20);
        s.rate = Rd32(h + 24);
        s.start = Rd32(h + 28);
        s.headerLength = Rd32(h + 32);
        s.headerSampleSize = Rd32(h + 44);
        haveHeader = true;
      } else if (id == FCC("strf")) {
        if (!ReadBlock(data, size, kMaxFormatBytes, s.format)) s.format.clear();
      } else if (id == FCC("indx")) {
        ix = {data, size};
      }
    }
    if (!haveHeader || s.format.empty()) s.type = 0;  // keeps the numbering of later streams
    if (s.start > 0x7fffffff) s.start = 0;
    PadFormat(s);
    out.streams.push_back(std::move(s));
    indx.push_back(ix);
  }

  void ParseHdrl(uint64_t a, uint64_t b) {
    uint32_t id;
    uint64_t data, dataEnd, next;
    for (uint64_t off = a; Chunk(off, b, id, data, dataEnd, next); off = next) {
      uint8_t type[4];
      if (id == FCC("LIST") && dataEnd - data >= 4 && src.ReadAt(data, type, 4) && Rd32(type) == FCC("strl"))
        ParseStrl(data + 4, dataEnd);
    }
  }

  // Walks one RIFF form's top-level chunks.
  void ParseRiff(uint64_t a, uint64_t b, bool first) {
    uint32_t id;
    uint64_t data, dataEnd, next;
    for (uint64_t off = a; Chunk(off, b, id, data, dataEnd, next); off = next) {
      uint8_t type[4];
      if (id == FCC("LIST") && dataEnd - data >= 4 && src.ReadAt(data, type, 4)) {
        if (first && Rd32(type) == FCC("hdrl") && out.streams.empty()) ParseHdrl(data + 4, dataEnd);
        if (Rd32(type) == FCC("movi")) {
          if (movi.empty()) firstMoviType = data;
          movi.push_back({data + 4, dataEnd});
        }
      } else if (first && id == FCC("idx1")) {
        haveIdx1 = true;
        idx1Off = data;
        idx1Size = dataEnd - data;
      }
    }
  }

  bool AddChunk(size_t stream, uint64_t data, uint32_t size, bool key) {
    if (data > fileSize || size > fileSize - data) return false;
    std::vector<AviChunk> &c = out.streams[stream].chunks;
    if (c.size() >= maxChunks) return false;
    // Real chunks do not overlap, so one stream never holds more than the file;
    // an index pointing many times at the same data would otherwise multiply it.
    if (streamBytes.size() < out.streams.size()) streamBytes.resize(out.streams.size(), 0);
    if (streamBytes[stream] + size > fileSize) return false;
    streamBytes[stream] += size;
    c.push_back({data, size, key});
    return true;
  }

  // A standard index (ix##) held in bytes; appends its chunks to stream s.
  bool ParseStdIndex(size_t s, const std::vector<uint8_t> &d) {
    if (d.size() < 24) return false;
    uint16_t longs = Rd16(d.data());
    if (d[3] != 1 || longs < 2) return false;
    uint64_t n = Rd32(d.data() + 4);
    uint64_t base = Rd64(d.data() + 12);
    uint64_t entry = uint64_t(longs) * 4;
    n = std::min<uint64_t>(n, (d.size() - 24) / entry);
    for (uint64_t i = 0; i < n; ++i) {
      const uint8_t *e = d.data() + 24 + i * entry;
      uint32_t rel = Rd32(e), raw = Rd32(e + 4);
      // Past the end of the file, or past what the file can hold: the rest is no better.
      if (base > fileSize || !AddChunk(s, base + rel, raw & 0x7fffffffu, !(raw & 0x80000000u))) return false;
    }
    return true;
  }

  bool FromIndx(size_t s) {
    std::vector<uint8_t> d;
    if (!indx[s].second || !ReadBlock(indx[s].first, indx[s].second, kMaxIndexBytes, d) || d.size() < 24) return false;
    if (d[3] == 1) {
      ParseStdIndex(s, d);
      return true;
    }
    if (d[3] != 0 || Rd16(d.data()) != 4) return false;
    uint64_t n = std::min<uint64_t>(Rd32(d.data() + 4), (d.size() - 24) / 16);
    for (uint64_t i = 0; i < n; ++i) {
      uint64_t at = Rd64(d.data() + 24 + i * 16);
      uint32_t id;
      uint64_t data, dataEnd, next;
      std::vector<uint8_t> std;
      if (!Chunk(at, fileSize, id, data, dataEnd, next)) break;
      if (!ReadBlock(data, dataEnd - data, kMaxIndexBytes, std) || !ParseStdIndex(s, std)) break;
    }
    return true;
  }

  // Finds whether idx1 offsets count from the movi list or from the file start.
  bool Idx1Base(const std::vector<uint8_t> &d, uint64_t &base) {
    for (size_t i = 0; i + 16 <= d.size(); i += 16) {
      uint32_t ckid = Rd32(&d[i]);
      if (StreamOfChunk(ckid) < 0) continue;
      uint64_t off = Rd32(&d[i + 8]);
      for (uint64_t b : {firstMoviType, uint64_t(0)}) {
        uint8_t h[4];
        if (src.ReadAt(b + off, h, 4) && Rd32(h) == ckid) {
          base = b;
          return true;
        }
      }
      return false;
    }
    base = firstMoviType;
    return true;
  }

  bool FromIdx1(const std::vector<bool> &done) {
    std::vector<uint8_t> d;
    uint64_t base;
    if (!haveIdx1 || !ReadBlock(idx1Off, idx1Size, kMaxIndexBytes, d) || !Idx1Base(d, base)) return false;
    std::vector<bool> stopped(out.streams.size(), false);
    for (size_t i = 0; i + 16 <= d.size(); i += 16) {
      int s = StreamOfChunk(Rd32(&d[i]));
      if (s < 0 || size_t(s) >= out.streams.size() || done[s] || stopped[s]) continue;
      uint32_t flags = Rd32(&d[i + 4]);
      uint64_t off = Rd32(&d[i + 8]);
      uint32_t size = Rd32(&d[i + 12]);
      // A truncated file keeps the chunks that are still whole.
      if (!AddChunk(size_t(s), base + off + 8, size, (flags & 0x10) != 0)) stopped[s] = true;
    }
    return true;
  }

  void Scan(uint64_t a, uint64_t b, const std::vector<bool> &done, int depth) {
    uint32_t id;
    uint64_t data, dataEnd, next;
    for (uint64_t off = a; Chunk(off, b, id, data, dataEnd, next); off = next) {
      uint8_t type[4];
      if (id == FCC("LIST")) {
        if (depth < 4 && dataEnd - data >= 4 && src.ReadAt(data, type, 4) && Rd32(type) == FCC("rec "))
          Scan(data + 4, dataEnd, done, depth + 1);
        continue;
      }
      int s = StreamOfChunk(id);
      if (lastSize > b - data) break;  // cut off by the end of the data
      if (s < 0 || size_t(s) >= out.streams.size() || done[s]) continue;
      AviStreamLayout &st = out.streams[s];
      // Without an index only uncompressed frames are known to stand alone.
      uint32_t compression = st.format.size() >= 20 ? Rd32(st.format.data() + 16) : 0;
      bool key = st.type != FCC("vids") || st.chunks.empty() || compression == 0 || compression == 3;
      if (!AddChunk(size_t(s), data, uint32_t(dataEnd - data), key)) return;
    }
  }

  void Finish(AviStreamLayout &s) {
    if (s.type == FCC("vids")) {
      bool anyKey = false;
      for (const AviChunk &c : s.chunks) anyKey = anyKey || (c.key && c.size);
      if (!anyKey)
        for (AviChunk &c : s.chunks)
          if (c.size) {
            c.key = true;
            break;
          }
    }
    if (s.type == FCC("auds") && s.headerSampleSize != 0) {
      uint32_t align = Rd16(s.format.data() + 12);
      s.sampleBytes = align ? align : s.headerSampleSize;
    }
    if (s.sampleBytes) {
      s.firstSample.reserve(s.chunks.size());
      int64_t n = 0;
      for (const AviChunk &c : s.chunks) {
        s.firstSample.push_back(n);
        n += c.size / s.sampleBytes;
      }
      s.sampleCount = n;
    } else {
      s.sampleCount = int64_t(s.chunks.size());
    }
    // Sample numbers travel as 32-bit values.
    if (s.sampleCount + s.start > 0x7ffffffe) s.type = 0;
  }
};

}  // namespace

bool ParseAvi(AviSource &src, AviLayout &layout) {
  layout = AviLayout();
  Parser p(src, layout);
  uint8_t h[12];
  if (!src.ReadAt(0, h, 12) || Rd32(h) != FCC("RIFF") || Rd32(h + 8) != FCC("AVI ")) return false;
  uint64_t riffEnd = std::min<uint64_t>(8 + uint64_t(Rd32(h + 4)), p.fileSize);
  p.ParseRiff(12, riffEnd, true);
  if (layout.streams.empty()) return false;
  // OpenDML files go on in further RIFF 'AVIX' forms.
  uint64_t off = riffEnd + (riffEnd & 1);
  for (int n = 0; n < kMaxRiffs && src.ReadAt(off, h, 12) && Rd32(h) == FCC("RIFF") && Rd32(h + 8) == FCC("AVIX");
       ++n) {
    uint64_t end = std::min<uint64_t>(off + 8 + uint64_t(Rd32(h + 4)), p.fileSize);
    p.ParseRiff(off + 12, end, false);
    off = end + (end & 1);
  }

  std::vector<bool> done(layout.streams.size(), false);
  bool all = true;
  for (size_t s = 0; s < layout.streams.size(); ++s) {
    done[s] = p.FromIndx(s);
    all = all && done[s];
  }
  if (!all && p.FromIdx1(done)) std::fill(done.begin(), done.end(), true);
  for (size_t s = 0; s < layout.streams.size(); ++s) {
    if (done[s]) continue;
    for (const auto &r : p.movi) p.Scan(r.first, r.second, done, 0);
    break;
  }
  for (AviStreamLayout &s : layout.streams) p.Finish(s);
  return true;
}

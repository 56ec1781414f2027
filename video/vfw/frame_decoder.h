// frame_decoder.h: compressed video frames through libavcodec, by the place
// they are shown at. With B-frames a file stores pictures in another order
// than they are shown; a picture is found by counting the decoder's pictures
// in display order from a key frame whose own display place is known.
#ifndef MIVOLEN_FRAME_DECODER_H
#define MIVOLEN_FRAME_DECODER_H

#include <cstdint>
#include <deque>
#include <vector>

#include "vfw.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libswscale/swscale.h>
}

class FrameDecoder {
 public:
  FrameDecoder() = default;
  FrameDecoder(const FrameDecoder &) = delete;
  FrameDecoder &operator=(const FrameDecoder &) = delete;
  ~FrameDecoder();

  // Opens FFmpeg's decoder for the stream's format; false when it has none.
  // The stream must outlive the decoder.
  bool Open(PAVISTREAM stream, const std::vector<uint8_t> &format, const BITMAPINFOHEADER &bi, DWORD handler);
  // The picture shown from chunk `chunk` on (a chunk with data), as a packed
  // top-down 32-bit DIB valid until the next call; null when it cannot be had.
  LPVOID Picture(int64_t chunk);

 private:
  void Restart(int64_t start, int64_t anchorKey);
  bool Feed();
  int64_t TagOf(const AVFrame *f);
  // Takes the decoder's next picture (tagged with the decode position it came
  // from); 1 when it was the wanted one (now in out), -1 when that cannot come any more.
  int Take(int64_t tag, int64_t wanted);
  bool Convert(const AVFrame *f);
  void DropKept();

  PAVISTREAM stream = nullptr;
  AVCodecContext *ctx = nullptr;
  AVFrame *frame = nullptr;
  AVPacket *packet = nullptr;
  SwsContext *sws = nullptr;
  int swsWidth = 0, swsHeight = 0;  // what sws was made for
  AVPixelFormat swsFormat = AV_PIX_FMT_NONE;
  bool swsFullRange = false;
  std::vector<uint8_t> out, scratch;
  bool hasPalette = false, sendPalette = true;
  uint8_t palette[AVPALETTE_SIZE] = {};

  // Positions count the chunks with data in file (decode) order; a picture's
  // rank is its place in display order, which the non-empty chunks take in turn.
  std::vector<int64_t> chunkAt;  // position -> chunk
  std::vector<int64_t> rankOf;   // chunk -> rank of the picture shown there (-1: none yet)
  std::vector<int64_t> keys;     // positions of key frames, ascending; the first position always
  std::vector<int> keyIndex;     // position -> index in keys, or -1
  std::vector<int> leading;      // per key: pictures after it in file order shown before it (-1 unknown)

  // The decoding run.
  int64_t runStart = 0;    // where the run began
  int64_t feed = 0;        // next position to send
  bool sentEnd = false;    // the end of the stream was sent (drain)
  bool finished = true;    // nothing more comes out: a new run must start
  int64_t anchorKey = -1;  // key whose picture fixes the ranks of the run
  bool anchored = false;
  int64_t nextRank = 0;        // rank of the next picture, once anchored
  int64_t lastRank = -1;       // rank of the last picture out, once anchored
  int64_t heldRank = -1;       // rank of the picture in out
  int leadSeen = 0;            // pictures from after the anchor key that came before it
  std::deque<AVFrame *> kept;  // the last of those, one of which may be wanted
  std::deque<int64_t> sent;    // positions sent, for decoders that keep no timestamps
};

#endif

// avi_fuzz.cpp: feeds arbitrary bytes to the video library's AVI layer as a
// file: stream lookup, formats, sample reads, time conversion, frame readers
// (our own DIB code, uncompressed frames shown in place with their headers
// put back when the reader moves on, and libavcodec), drawing into a
// memory bitmap and the decoding of audio that is not plain PCM. Built with
// clang and DELVORN_FUZZ=ON, against mivolen_static.
#include <allegro.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "audio_decoder.h"
#include "vfw/avi_internal.h"

extern "C" {
#include <libavutil/log.h>
}

static BITMAP *target = nullptr;

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    av_log_set_level(AV_LOG_QUIET);
    install_allegro(SYSTEM_NONE, &errno, std::atexit);
    target = create_bitmap_ex(32, 64, 64);
    return 0;
}

static void ReadVideo(PAVISTREAM s)
{
    PGETFRAME g = AVIStreamGetFrameOpen(s, nullptr);
    if (!g)
        return;
    HDRAWDIB dd = DrawDibOpen();
    LONG start = AVIStreamStart(s), length = AVIStreamLength(s);
    // A few frames in order, then one back from the end and one before it.
    std::vector<LONG> frames = {start, start + 1, start + 2, start + length - 1, start + 1, start + length};
    for (LONG n : frames) {
        LPBITMAPINFOHEADER f = static_cast<LPBITMAPINFOHEADER>(AVIStreamGetFrame(g, n));
        if (!f)
            continue;
        DWORD table = f->biCompression == BI_BITFIELDS ? 3
                      : f->biBitCount <= 8             ? (f->biClrUsed ? f->biClrUsed : 256)
                                                       : 0;
        BYTE *bits = reinterpret_cast<BYTE *>(f) + f->biSize + table * 4;
        DrawDibDraw(dd, target, -3, 5, -1, -1, f, bits, 0, 0, f->biWidth, 1000, 0);
    }
    DrawDibClose(dd);
    AVIStreamGetFrameClose(g);
}

static void ReadSamples(PAVISTREAM s)
{
    LONG bytes = 0, samples = 0;
    if (AVIStreamRead(s, 0, AVISTREAMREAD_CONVENIENT, nullptr, 0, &bytes, &samples) != AVIERR_OK)
        return;
    std::vector<uint8_t> buf(4096);
    AVIStreamRead(s, AVIStreamStart(s), 8192, buf.data(), LONG(buf.size()), &bytes, &samples);
    AVIStreamRead(s, AVIStreamStart(s) + 3, 7, buf.data(), LONG(buf.size()), &bytes, &samples);
    // Sound the player would decode: some of it, then again from the start.
    if (AudioDecoder *d = AudioDecoderOpen(s, nullptr, 0)) {
        std::vector<int16_t> pcm(2 * 4096);
        AudioDecoderRead(d, pcm.data(), 4096);
        AudioDecoderRewind(d);
        AudioDecoderRead(d, pcm.data(), 100);
        AudioDecoderClose(d);
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    PAVIFILE file = nullptr;
    if (AviFileOpenSource(&file, MemorySource(data, size)) != AVIERR_OK)
        return 0;
    PAVISTREAM s = nullptr;
    for (LONG i = 0; i < 8 && AVIFileGetStream(file, &s, 0, i) == AVIERR_OK; ++i) {
        LONG fmtSize = 0;
        if (AVIStreamReadFormat(s, 0, nullptr, &fmtSize) == AVIERR_OK && fmtSize > 0) {
            std::vector<uint8_t> fmt(static_cast<size_t>(fmtSize));
            AVIStreamReadFormat(s, 0, fmt.data(), &fmtSize);
        }
        LONG end = AVIStreamSampleToTime(s, AVIStreamStart(s) + AVIStreamLength(s));
        AVIStreamTimeToSample(s, end);
        AVIStreamTimeToSample(s, end / 2);
        ReadSamples(s);
        ReadVideo(s);
        AVIStreamRelease(s);
    }
    AVIFileRelease(file);
    return 0;
}

// video_bench: what mivolen's plain drawing path does for each new frame of
// a 640x480 video: fetch and decode the frame, convert it into the frame
// bitmap, blit that centred onto an 800x600 target. Uncompressed 24-bit,
// MJPEG and MPEG-4 part 2 videos, onto 16- and 32-bit targets; "blits" is
// the time over one full-screen blit of the target's depth in the same run.
// And the share of a processor core the blocking Play takes for a 25 fps video.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "avi_writer.h"
#include "bench/bench_support.h"
#include "mivolen/mivolen.h"
#ifndef _WIN32
#include "vfw/vfw.h"
#endif

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/log.h>
}

namespace {

const int W = 640, H = 480, FRAMES = 24;
const int PLAY_FRAMES = 50;  // two seconds at 25 frames a second

// A moving pattern with fine detail, so that the encoded frames cost what
// real footage does to decode (flat test colours decode almost for free).
uint8_t Pattern(int x, int y, int k, int plane)
{
    unsigned h = (unsigned)(x * 73856093u) ^ (unsigned)(y * 19349663u) ^ (unsigned)(k * 83492791u);
    int wave = ((x + 4 * k) ^ (y - 3 * k)) & 0x3F;
    return (uint8_t)(plane == 0 ? 40 + wave * 2 + (h >> 28) * 4 : 100 + plane * 20 + ((x + y + k) & 31));
}

uint32_t FourCC(const char *s)
{
    return uint32_t(uint8_t(s[0])) | uint32_t(uint8_t(s[1])) << 8 | uint32_t(uint8_t(s[2])) << 16 |
           uint32_t(uint8_t(s[3])) << 24;
}

bool Encode(TestVideo &v, const char *fourcc, AVCodecID id, AVPixelFormat format, int gop)
{
    const AVCodec *codec = avcodec_find_encoder(id);
    if (!codec)
        return false;
    AVCodecContext *ctx = avcodec_alloc_context3(codec);
    ctx->width = v.width, ctx->height = v.height;
    ctx->time_base = {int(v.scale), int(v.rate)};
    ctx->pix_fmt = format;
    ctx->gop_size = gop;
    ctx->max_b_frames = 0;
    ctx->bit_rate = 4000000;
    if (avcodec_open2(ctx, codec, nullptr) < 0) {
        avcodec_free_context(&ctx);
        return false;
    }
    v.compression = FourCC(fourcc);
    v.bits = 24;
    EncodeFrames(
        ctx, FRAMES,
        [&](int k, AVFrame *f) {
            for (int plane = 0; plane < 3; plane++) {
                int pw = plane ? v.width / 2 : v.width, ph = plane ? v.height / 2 : v.height;
                for (int y = 0; y < ph; y++)
                    for (int x = 0; x < pw; x++)
                        f->data[plane][y * f->linesize[plane] + x] = Pattern(x, y, k, plane);
            }
        },
        v.frames, &v.keys);
    avcodec_free_context(&ctx);
    return (int)v.frames.size() == FRAMES;
}

enum Kind { RAW24 = 0, MJPEG = 1, MPEG4 = 2 };

std::string MakeVideo(Kind kind, int frames = FRAMES)
{
    TestVideo v;
    v.width = W, v.height = H, v.rate = 25;
    bool ok = true;
    if (kind == RAW24) {
        std::vector<uint8_t> frame((size_t)W * H * 3);
        for (int k = 0; k < frames; k++) {
            for (size_t i = 0; i < frame.size(); i++)
                frame[i] = Pattern((int)(i % (W * 3)), (int)(i / (W * 3)), k, 0);
            v.frames.push_back(frame);
        }
    } else if (kind == MJPEG) {
        ok = Encode(v, "MJPG", AV_CODEC_ID_MJPEG, AV_PIX_FMT_YUVJ420P, 1);
    } else {
        ok = Encode(v, "FMP4", AV_CODEC_ID_MPEG4, AV_PIX_FMT_YUV420P, 12);
    }
    if (!ok)
        return "";
    AviSpec spec;
    spec.video.push_back(v);
    std::string path = TempPath("bench_" + std::to_string(kind) + ".avi");
    WriteBytes(path, BuildAvi(spec));
    return path;
}

// Where the pixels of a packed DIB start, as the player finds them.
void *DibBits(BITMAPINFOHEADER *f)
{
    DWORD table = 0;
    if (f->biCompression == BI_BITFIELDS)
        table = 3;
    else if (f->biBitCount <= 8)
        table = f->biClrUsed ? f->biClrUsed : 1u << f->biBitCount;
    return reinterpret_cast<BYTE *>(f) + f->biSize + table * sizeof(RGBQUAD);
}

// Makes the video of the benchmark's kind (its first argument) and opens it
// for frames; the file's path, or empty (and the benchmark skipped) on failure.
std::string OpenTestVideo(benchmark::State &state, CAviFile &avi)
{
    av_log_set_level(AV_LOG_QUIET);
    std::string path = MakeVideo((Kind)state.range(0));
    if (!path.empty() && avi.Open(path.c_str()) && avi.StartVideoRetrieve(0))
        return path;
    state.SkipWithError("the test video could not be made or opened");
    if (!path.empty())
        std::remove(path.c_str());
    return "";
}

// args: kind, depth of the target
void DecodeAndDraw(benchmark::State &state)
{
    int depth = (int)state.range(1);
    CAviFile avi;
    std::string path = OpenTestVideo(state, avi);
    if (path.empty())
        return;
    BITMAPINFOHEADER *format = avi.GetVideoFormat(0);
    BITMAP *frameBitmap = create_bitmap_ex(depth, W, H);
    BITMAP *target = create_bitmap_ex(depth, 800, 600);
    HDRAWDIB dib = DrawDibOpen();
    DrawDibStart(dib, 1);
    DrawDibBegin(dib, nullptr, -1, -1, format, W, H, 0);
    const int x = (800 - W) >> 1, y = (600 - H) >> 1;

    // Frame after frame, as playback asks for them; each is a new one.
    long k = 0;
    double start = CpuSeconds();
    for (auto _ : state) {
        BITMAPINFOHEADER *frame = nullptr;
        avi.GetVideoFrame(0, k, &frame);
        if (!frame) {
            state.SkipWithError("a frame did not decode");
            break;
        }
        DrawDibDraw(dib, win_get_dc(frameBitmap), 0, 0, -1, -1, frame, DibBits(frame), 0, 0, W, H, 0);
        blit(frameBitmap, target, 0, 0, x, y, W, H);
        benchmark::ClobberMemory();
        k = (k + 1) % FRAMES;
    }
    if (state.iterations() > 0)
        ReportBlits(state, (CpuSeconds() - start) / state.iterations(), depth);

    DrawDibStop(dib);
    DrawDibClose(dib);
    destroy_bitmap(target);
    destroy_bitmap(frameBitmap);
    avi.EndVideoRetrieve(0);
    avi.Release();
    std::remove(path.c_str());
}

// The fetch and decode alone (no conversion, no blit), to split the time.
void DecodeOnly(benchmark::State &state)
{
    CAviFile avi;
    std::string path = OpenTestVideo(state, avi);
    if (path.empty())
        return;
    long k = 0;
    double start = CpuSeconds();
    for (auto _ : state) {
        BITMAPINFOHEADER *frame = nullptr;
        avi.GetVideoFrame(0, k, &frame);
        benchmark::DoNotOptimize(frame);
        k = (k + 1) % FRAMES;
    }
    if (state.iterations() > 0)
        ReportBlits(state, (CpuSeconds() - start) / state.iterations(), 16);
    avi.EndVideoRetrieve(0);
    avi.Release();
    std::remove(path.c_str());
}

double ProcessCpuSeconds()
{
    timespec ts;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec + ts.tv_nsec * 1e-9;
}

// The blocking Play (sound off) of a 640x480 uncompressed 25 fps video onto
// an 800x600 16-bit bitmap, two seconds a run. Counters: "core_share", the
// processor time of the whole process (the caller and Allegro's timer thread)
// over the wall clock; "drawing_share", what the frames' fetching and drawing
// take of it (25 a second, each timed on its own); "idle_share", the rest:
// the loop between frames, its sleeps and the clock.
void PlayIdle(benchmark::State &state)
{
    // The player's clock is an Allegro timer, which needs the real system
    // driver (and so a display) instead of the benchmarks' windowless one.
    allegro_exit();
    if (!std::getenv("DISPLAY") || allegro_init() != 0 || install_timer() != 0) {
        state.SkipWithError("Allegro's timer needs a display (DISPLAY)");
        install_allegro(SYSTEM_NONE, &errno, atexit);
        return;
    }
    av_log_set_level(AV_LOG_QUIET);
    std::string path = MakeVideo(RAW24, PLAY_FRAMES);
    Mivolen player;
    player.DisableSound();
    BITMAP *target = create_bitmap_ex(16, 800, 600);
    if (path.empty() || player.Open(path.c_str()) != 0) {
        state.SkipWithError("the test video could not be made or opened");
        return;
    }
    // One frame's fetching and drawing, forced, as the loop does 25 times a second.
    player.PlayStart();
    double drawEach = SecondsPerCall([&] { player.PlayStep(target, true, false); }, 50);
    player.PlayEnd();
    double cpu = 0, wall = 0;
    for (auto _ : state) {
        double cpu0 = ProcessCpuSeconds(), wall0 = WallSeconds();
        player.Play(target, false, false);
        cpu += ProcessCpuSeconds() - cpu0;
        wall += WallSeconds() - wall0;
    }
    if (wall > 0) {
        double drawing = drawEach * 25;
        state.counters["core_share"] = cpu / wall;
        state.counters["drawing_share"] = drawing;
        state.counters["idle_share"] = cpu / wall - drawing;
    }
    destroy_bitmap(target);
    player.Close();
    std::remove(path.c_str());
    allegro_exit();
    install_allegro(SYSTEM_NONE, &errno, atexit);
    set_color_depth(16);
}

BENCHMARK(PlayIdle)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(DecodeOnly)->ArgName("kind")->Arg(RAW24)->Arg(MJPEG)->Arg(MPEG4)->Unit(benchmark::kMicrosecond);
BENCHMARK(DecodeAndDraw)
    ->ArgNames({"kind", "depth"})
    ->ArgsProduct({{RAW24, MJPEG, MPEG4}, {16, 32}})
    ->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char **argv)
{
    return BenchMain(argc, argv);
}

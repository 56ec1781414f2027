// ffmpeg_log.cpp: FFmpeg's log callback. A message may arrive in pieces, so
// pieces are gathered per thread until a newline ends the line.
#include "ffmpeg_log.h"

#include <cstdarg>
#include <cstring>
#include <mutex>
#include <string>

#include "log_hook.h"

extern "C" {
#include <libavutil/log.h>
}

namespace {

const size_t kMaxLine = 4096;  // a message without newlines must not grow forever

void Callback(void *avcl, int level, const char *fmt, va_list vl) {
  thread_local std::string pending;
  thread_local int printPrefix = 1;
  if ((level & 0xff) > AV_LOG_WARNING || !MivolenLogWanted()) {
    pending.clear();
    printPrefix = 1;
    return;
  }
  char piece[1024];
  if (av_log_format_line2(avcl, level, fmt, vl, piece, sizeof piece, &printPrefix) < 0) return;
  pending += piece;
  size_t end;
  while ((end = pending.find('\n')) != std::string::npos) {
    std::string line = pending.substr(0, end);
    pending.erase(0, end + 1);
    if (!line.empty()) MivolenLogLine(line.c_str());
  }
  if (pending.size() > kMaxLine) {
    MivolenLogLine(pending.c_str());
    pending.clear();
  }
}

}  // namespace

void RouteFfmpegLog() {
  static std::once_flag once;
  std::call_once(once, [] { av_log_set_callback(Callback); });
}

// ffmpeg_log.h: keeps FFmpeg's messages off stderr; its warnings and errors
// go to the library's log hook instead.
#ifndef MIVOLEN_FFMPEG_LOG_H
#define MIVOLEN_FFMPEG_LOG_H

// Takes over FFmpeg's log callback (one per process); call before using FFmpeg.
void RouteFfmpegLog();

#endif

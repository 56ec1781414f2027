// Stand-in for FFmpeg's log header in the Windows build of the video tests:
// there is no FFmpeg there, so there is nothing to quieten.
#ifndef DELVORN_WINDOWS_SHIM_AVUTIL_LOG_H
#define DELVORN_WINDOWS_SHIM_AVUTIL_LOG_H
#define AV_LOG_QUIET (-8)
inline void av_log_set_level(int) {}
#endif

// log.h: the plain-text log "Logs\LogFile.log" and the exception report
// every operation writes when its catch-all handler is reached.
#ifndef DELVORN_LOG_H
#define DELVORN_LOG_H

#include <cstdio>

class LogFile {
public:
    explicit LogFile(const char *path);
    // Empties the file and writes "Log File Open". While another copy of
    // the game holds that log, the first free of "LogFile-2.log" to
    // "LogFile-9.log" beside it is used instead; `path` names the one open.
    bool Open();
    // printf-style; the text is written whole, however long.
    bool Printf(const char *format, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
        ;
    bool Close();

    FILE *handle;
    char path[4096];  // the player's folder may lie deep
};

// Created first thing in main, destroyed last; null before that.
extern LogFile *gameLog;

// Writes the dashed line, "<name>::EXCEPT - Function exited abnormally" and
// the dashed line again. name is written exactly as given ("LoadMap ").
void LogExceptReport(const char *name);

#endif

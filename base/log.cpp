// log.cpp: the log file and the exception report.
#include "base/log.h"

#include <cstdarg>
#include <cstring>

LogFile *gameLog = nullptr;

static const char dashes[] = "-----------------------------------------------------------\n";

LogFile::LogFile(const char *p) : handle(nullptr)
{
    std::memset(path, 0, sizeof path);
    if (p)
        std::strncpy(path, p, sizeof path - 1);
}

bool LogFile::Open()
{
    handle = std::fopen(path, "w");
    if (!handle)
        return false;
    std::fputs("Log File Open\n", handle);
    std::fflush(handle);
    return true;
}

bool LogFile::Printf(const char *format, ...)
{
    if (!format || !handle)
        return false;
    char line[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);  // cuts what does not fit
    va_end(args);
    std::fputs(line, handle);
    std::fflush(handle);
    return true;
}

bool LogFile::Close()
{
    if (!handle)
        return false;
    std::fputs("Closing Log File\n", handle);
    std::fclose(handle);
    handle = nullptr;
    return true;
}

void LogExceptReport(const char *name)
{
    if (!gameLog)
        return;
    gameLog->Printf("%s", dashes);
    gameLog->Printf("%s::EXCEPT - Function exited abnormally\n", name);
    gameLog->Printf("%s", dashes);
}

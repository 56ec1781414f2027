// log.cpp: the log file and the exception report.
#include "base/log.h"

#include <cstdarg>
#include <cstring>
#include <string>

#include "platform/os/savefile.h"

LogFile *gameLog = nullptr;

static const char dashes[] = "-----------------------------------------------------------\n";

LogFile::LogFile(const char *p) : handle(nullptr)
{
    std::memset(path, 0, sizeof path);
    if (p)
        std::strncpy(path, p, sizeof path - 1);
}

// "Logs/LogFile.log" as the n-th copy's log: "Logs/LogFile-2.log".
static std::string NumberedPath(const std::string &path, int n)
{
    if (n == 1)
        return path;
    size_t slash = path.find_last_of("/\\");
    size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        dot = path.size();
    return path.substr(0, dot) + "-" + std::to_string(n) + path.substr(dot);
}

bool LogFile::Open()
{
    // Recreated each run; but while another copy of the game writes it, this
    // copy takes the first numbered log that none holds instead of emptying
    // that copy's log under it.
    const std::string wanted = path;
    for (int n = 1; n <= 9 && !handle; n++) {
        const std::string candidate = NumberedPath(wanted, n);
        bool taken = false;
        handle = OpenUnshared(candidate, &taken);
        if (!handle && !taken)
            return false;  // the folder takes no file: no log, as without one
        if (handle)
            std::strncpy(path, candidate.c_str(), sizeof path - 1);
    }
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
    // Most lines fit the small buffer; a longer one (a deep player folder)
    // is formatted again at its full length, never cut.
    char line[256];
    va_list args, again;
    va_start(args, format);
    va_copy(again, args);
    int length = std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    if (length >= (int)sizeof line) {
        std::string whole((size_t)length + 1, '\0');
        std::vsnprintf(&whole[0], whole.size(), format, again);
        std::fwrite(whole.data(), 1, (size_t)length, handle);
    } else if (length > 0) {
        std::fwrite(line, 1, (size_t)length, handle);
    }
    va_end(again);
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

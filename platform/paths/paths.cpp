// paths.cpp: Windows-style game paths to native ones.
#include "platform/paths/paths.h"

#include <cstdio>
#include <sys/stat.h>

#ifdef _WIN32
#include <windows.h>
#endif

std::string NativePath(const char *gamePath)
{
    std::string path = gamePath ? gamePath : "";
#ifndef _WIN32
    for (char &c : path)
        if (c == '\\')
            c = '/';
#endif
    return path;
}

bool ReplaceFileWith(const std::string &from, const std::string &to)
{
#ifdef _WIN32
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
    return std::rename(from.c_str(), to.c_str()) == 0;
#endif
}

bool IsRegularFile(const std::string &path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

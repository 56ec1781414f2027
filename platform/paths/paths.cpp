// paths.cpp: Windows-style game paths to native ones.
#include "platform/paths/paths.h"

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

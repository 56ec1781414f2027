// The few POSIX calls the level and editor tests use for scratch folders,
// for their Windows build (included ahead of each of their files).
#ifndef DELVORN_WINDOWS_SHIM_POSIX_COMPAT_H
#define DELVORN_WINDOWS_SHIM_POSIX_COMPAT_H
#ifdef __cplusplus
#include <cstdlib>
#include <cstring>
#include <direct.h>
#include <io.h>
#include <sys/stat.h>
#include <unistd.h>

inline int mkdir(const char *path, int)
{
    return _mkdir(path);
}

// Replaces the trailing XXXXXX with a unique name and makes that folder.
inline char *mkdtemp(char *pattern)
{
    for (int attempt = 0; attempt < 100; attempt++) {
        size_t n = std::strlen(pattern);
        if (n < 6)
            return nullptr;
        static unsigned counter = 0;
        unsigned value = (unsigned)_getpid() * 7919u + ++counter;
        for (size_t i = n - 6; i < n; i++, value /= 36)
            pattern[i] = "abcdefghijklmnopqrstuvwxyz0123456789"[value % 36];
        if (_mkdir(pattern) == 0)
            return pattern;
    }
    return nullptr;
}
#endif
#endif

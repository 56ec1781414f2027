// os.cpp: see os.h.
#include "platform/os/os.h"

#if defined(__unix__)
#include <fcntl.h>
#include <unistd.h>
#endif
#if defined(__GLIBC__)
#include <malloc.h>
#endif

void FlushToDisk(const char *path)
{
#if defined(__unix__)
    int fd = open(path, O_RDONLY);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
#else
    (void)path;
#endif
}

void KeepFreedMemory()
{
#if defined(__GLIBC__)
    static const bool kept = mallopt(M_TRIM_THRESHOLD, 32 << 20) == 1;
    (void)kept;
#endif
}

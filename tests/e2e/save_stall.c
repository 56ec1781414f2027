/* save_stall.c: preloaded into the game by the kill-while-saving tests. When
 * the game writes its score table's temporary file it stops there for good,
 * so that the test can kill it at that point: with SAVE_STALL=write half of
 * the first write reaches the file, with SAVE_STALL=rename the file is
 * complete and only the rename over the old table is held back. Either way
 * it leaves a file "save_stalled" in the working directory. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

static const char suffix[] = "HiScore.sco.tmp";

static int EndsWithSuffix(const char *path)
{
    size_t n = strlen(path), s = strlen(suffix);
    return n >= s && strcmp(path + n - s, suffix) == 0;
}

static int IsScoreTemp(int fd)
{
    char link[64], path[4096];
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    ssize_t n = readlink(link, path, sizeof path - 1);
    if (n <= 0)
        return 0;
    path[n] = '\0';
    return EndsWithSuffix(path);
}

static void StallForever(void)
{
    int fd = open("save_stalled", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd >= 0)
        close(fd);
    for (;;)
        pause();
}

static int Mode(const char *mode)
{
    const char *set = getenv("SAVE_STALL");
    return set && strcmp(set, mode) == 0;
}

ssize_t write(int fd, const void *data, size_t size)
{
    static ssize_t (*real)(int, const void *, size_t);
    if (!real)
        real = (ssize_t(*)(int, const void *, size_t))dlsym(RTLD_NEXT, "write");
    if (Mode("write") && size > 1 && IsScoreTemp(fd)) {
        real(fd, data, size / 2);
        fsync(fd);
        StallForever();
    }
    return real(fd, data, size);
}

int rename(const char *from, const char *to)
{
    static int (*real)(const char *, const char *);
    if (!real)
        real = (int (*)(const char *, const char *))dlsym(RTLD_NEXT, "rename");
    if (Mode("rename") && EndsWithSuffix(from))
        StallForever();
    return real(from, to);
}

/* soak_counter.c: preloaded into the game by soak.sh. Counts presented
 * frames (every present waits for the retrace) and the passes of loops that
 * wait without drawing (they rest), and writes both, with the time of the
 * last one, to the file named by SOAK_COUNTS about twice a second, so the
 * soak can tell a game that is alive from one that hangs. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <stdatomic.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

static atomic_long frames, restPasses, lastReportMs;

static long NowMs(void)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000L + t.tv_nsec / 1000000L;
}

static void Report(void)
{
    long now = NowMs(), last = atomic_load(&lastReportMs);
    if (now - last < 500 || !atomic_compare_exchange_strong(&lastReportMs, &last, now))
        return;
    const char *path = getenv("SOAK_COUNTS");
    if (!path)
        return;
    char line[96];
    int n = snprintf(line, sizeof line, "%ld %ld\n", atomic_load(&frames), atomic_load(&restPasses));
    char temp[4096];
    snprintf(temp, sizeof temp, "%s.%d", path, (int)getpid());
    int fd = open(temp, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return;
    if (write(fd, line, n) == n)
        rename(temp, path);
    close(fd);
}

void vsync(void)
{
    static void (*real)(void);
    if (!real)
        real = (void (*)(void))dlsym(RTLD_NEXT, "vsync");
    atomic_fetch_add(&frames, 1);
    Report();
    real();
}

void rest(unsigned int ms)
{
    static void (*real)(unsigned int);
    if (!real)
        real = (void (*)(unsigned int))dlsym(RTLD_NEXT, "rest");
    atomic_fetch_add(&restPasses, 1);
    Report();
    real(ms);
}

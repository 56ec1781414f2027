// scratch.h: the folder a fuzz target writes its input file into. Under
// TMPDIR when set: a memory-backed one (scripts/fuzz.sh uses /dev/shm)
// spares the disk a file per run, which is most of a run's time.
#ifndef DELVORN_FUZZ_SCRATCH_H
#define DELVORN_FUZZ_SCRATCH_H

#include <cstdlib>
#include <string>

inline std::string FuzzScratchFolder(const char *target)
{
    const char *tmp = std::getenv("TMPDIR");
    std::string dir = std::string(tmp && *tmp ? tmp : "/tmp") + "/delvorn_" + target + "_fuzz_XXXXXX";
    if (!mkdtemp(&dir[0]))
        std::abort();
    return dir;
}

#endif

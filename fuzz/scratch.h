// scratch.h: the folder a fuzz target writes its input file into, the write
// itself, and a visit to that folder for readers that take relative paths.
// Under TMPDIR when set: a memory-backed one (scripts/fuzz.sh uses /dev/shm)
// spares the disk a file per run, which is most of a run's time.
#ifndef DELVORN_FUZZ_SCRATCH_H
#define DELVORN_FUZZ_SCRATCH_H

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

inline std::string FuzzScratchFolder(const char *target)
{
    const char *tmp = std::getenv("TMPDIR");
    std::string dir = std::string(tmp && *tmp ? tmp : "/tmp") + "/delvorn_" + target + "_fuzz_XXXXXX";
    if (!mkdtemp(&dir[0]))
        std::abort();
    return dir;
}

// Writes one input whole; false when the file cannot be made.
inline bool WriteFuzzInput(const std::string &path, const uint8_t *data, size_t size)
{
    FILE *f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    std::fwrite(data, 1, size, f);
    std::fclose(f);
    return true;
}

// Works in the given folder for its lifetime, then goes back: libFuzzer writes
// the corpus folder given on its command line relative to where it started.
class InFuzzFolder {
public:
    explicit InFuzzFolder(const std::string &dir)
    {
        if (!getcwd(start, sizeof start) || chdir(dir.c_str()) != 0)
            std::abort();
    }
    ~InFuzzFolder()
    {
        if (chdir(start) != 0)
            std::abort();
    }

private:
    char start[4096];
};

#endif

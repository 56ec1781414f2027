// Fuzzes the settings reader with arbitrary INI files.
#include <allegro.h>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "fuzz/scratch.h"

#include "shell/config.h"

// The settings are read relative to the working folder: each run goes into
// a folder of its own and back, since libFuzzer writes the corpus folder
// given on its command line relative to where it was started.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static std::string dir;
    static char start[4096];
    static bool ready = false;
    if (!ready) {
        install_allegro(SYSTEM_NONE, &errno, atexit);
        if (!getcwd(start, sizeof start))
            abort();
        dir = FuzzScratchFolder("config");
        mkdir((dir + "/Config").c_str(), 0755);
        ready = true;
    }
    FILE *f = std::fopen((dir + "/Config/Delvorn.ini").c_str(), "wb");
    if (!f)
        return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);
    if (chdir(dir.c_str()) != 0)
        abort();
    ReadConfig();
    if (chdir(start) != 0)
        abort();
    // Whatever the file says, the logic rate must be able to pace a timer.
    if (logicRate < 1)
        abort();
    return 0;
}

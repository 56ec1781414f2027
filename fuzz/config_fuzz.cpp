// Fuzzes the settings reader with arbitrary INI files.
#include <allegro.h>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "shell/config.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static bool ready = false;
    if (!ready) {
        install_allegro(SYSTEM_NONE, &errno, atexit);
        char dir[] = "/tmp/delvorn_config_fuzz_XXXXXX";
        if (!mkdtemp(dir) || chdir(dir) != 0)
            abort();
        mkdir("Config", 0755);
        ready = true;
    }
    FILE *f = std::fopen("Config/Delvorn.ini", "wb");
    if (!f)
        return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);
    ReadConfig();
    // Whatever the file says, the logic rate must be able to pace a timer.
    if (logicRate < 1)
        abort();
    return 0;
}

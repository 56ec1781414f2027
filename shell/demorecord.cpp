// demorecord.cpp: the game's demo recording and the Demos folder.
#include "shell/demorecord.h"

#include <ctime>
#include <filesystem>
#include <string>

#include "base/log.h"
#include "level/demofile.h"
#include "level/demoplay.h"
#include "platform/os/savefile.h"
#include "platform/paths/paths.h"

namespace fs = std::filesystem;

static Demo demo;
static bool recording = false;
enum { KEPT_DEMOS = 10 };

void BeginLevelDemo(uint32_t mapChecksum)
{
    demo = DemoOfLevelStart(mapChecksum);
    demo.ticks.reserve(20 * 60 * 20);  // twenty minutes at the default rate
    recording = true;
}

void RecordDemoTick(uint8_t tick)
{
    // One past the most a demo holds is enough to refuse it at the end.
    if (recording && demo.ticks.size() <= DEMO_MAX_TICKS)
        demo.ticks.push_back(tick);
}

void EndLevelDemo(const char *ending)
{
    if (!recording)
        return;
    recording = false;
    demo.ending = ending;
    demo.final = PlayStateLine((long)demo.ticks.size());
    // The player's folder when installed, the game folder when portable.
    std::string last = WritablePath("Demos\\last.dem");
    std::string folder = fs::path(last).parent_path().string();
    std::error_code made;
    fs::create_directories(folder, made);

    // Another copy of the game may be saving its demo too: they take turns.
    FileLock lock(SaveLockPath());
    const std::string dated = "Demos\\" + RecordedDemoName(demo.level, std::time(nullptr));
    std::string error;
    if (!WriteDemo(last, demo, &error) || !WriteDemo(WritablePath(dated.c_str()), demo, &error)) {
        if (gameLog)
            gameLog->Printf("Demo not saved: %s\n", error.c_str());
        return;
    }
    KeepRecentDemos(folder, KEPT_DEMOS);
}

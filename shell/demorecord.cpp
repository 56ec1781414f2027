// demorecord.cpp: the game's demo recording and the Demos folder.
#include "shell/demorecord.h"

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "base/log.h"
#include "level/demofile.h"
#include "level/demoplay.h"
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
    if (recording)
        demo.ticks.push_back(tick);
}

// The dated copies sort by the date and time after the level's name.
static std::string DateKey(const std::string &name)
{
    size_t dash = name.find('-');
    return dash == std::string::npos ? name : name.substr(dash + 1);
}

// Only the most recent dated copies stay.
static void KeepRecentDemos(const std::string &folder)
{
    std::vector<std::string> dated;
    std::error_code error;
    for (const auto &entry : fs::directory_iterator(folder, error)) {
        std::string name = entry.path().filename().string();
        if (name.size() > 4 && name.compare(0, 3, "Zub") == 0 &&
            name.compare(name.size() - 4, 4, ".dem") == 0 && name.find('-') != std::string::npos)
            dated.push_back(name);
    }
    if (dated.size() <= KEPT_DEMOS)
        return;
    std::sort(dated.begin(), dated.end(),
              [](const std::string &a, const std::string &b) { return DateKey(a) < DateKey(b); });
    for (size_t i = 0; i + KEPT_DEMOS < dated.size(); i++)
        fs::remove(fs::path(folder) / dated[i], error);
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

    char stamp[32];
    std::time_t now = std::time(nullptr);
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", std::localtime(&now));
    std::string dated = "Demos\\Zub" + std::to_string(demo.level) + "-" + stamp + ".dem";

    std::string error;
    if (!WriteDemo(last, demo, &error) || !WriteDemo(WritablePath(dated.c_str()), demo, &error)) {
        if (gameLog)
            gameLog->Printf("Demo not saved: %s\n", error.c_str());
        return;
    }
    KeepRecentDemos(folder);
}

// demoplay.cpp: the start of a demo's replay from its header.
#include "level/demoplay.h"

#include <cstdio>

#include "gameplay/figures.h"
#include "gameplay/random.h"
#include "level/headless.h"
#include "level/play.h"
#include "platform/paths/paths.h"

Demo DemoOfLevelStart(uint32_t mapChecksum)
{
    Demo start;
    start.level = currentLevel;
    start.mapChecksum = mapChecksum;
    start.draws = RandomDraws();
    start.generator = GeneratorFingerprint();
    start.values = CurrentPlayValues();
    return start;
}

static std::string Hex(uint32_t v)
{
    char text[16];
    std::snprintf(text, sizeof text, "%08x", v);
    return text;
}

bool StartDemo(const Demo &demo, const std::string &mapPath, std::string *error)
{
    uint32_t generator = GeneratorFingerprint();
    if (demo.generator != generator) {
        *error = "the demo was recorded with another random generator (" + Hex(demo.generator) +
                 ", this program's is " + Hex(generator) + "); it cannot be replayed here";
        return false;
    }
    uint32_t checksum = MapFileChecksum(NativePath(mapPath.c_str()));
    if (checksum != demo.mapChecksum) {
        *error = "the map " + mapPath + " (checksum " + Hex(checksum) +
                 ") is not the one the demo was recorded on (" + Hex(demo.mapChecksum) + ")";
        return false;
    }
    // A first start tells how many draws the level start itself takes.
    RestartRandom();
    if (!StartHeadlessLevel(demo.level, mapPath, true)) {
        *error = "cannot read map file " + mapPath;
        return false;
    }
    long startDraws = RandomDraws();
    if (demo.draws < startDraws) {
        *error =
            "the demo's draw count " + std::to_string(demo.draws) + " is below what the level start takes";
        return false;
    }
    RestartRandom();
    SkipRandom(demo.draws - startDraws);
    StartHeadlessLevel(demo.level, mapPath, true);
    SetPlayValues(demo.values);
    return true;
}

void PlayDemoTick(uint8_t tick)
{
    HeadlessStep(DemoTickInput(tick));
    // Pause, help and the screenshot act outside play; held, they only keep
    // the latch set, so a bomb pressed meanwhile is not dropped.
    if (tick & DEMO_OTHER_PLAY_KEY)
        SetPlayKeysLatched(true);
}

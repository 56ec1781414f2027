// level_support.cpp: shared set-up of the level tests.
#include "level_support.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

#include "base/log.h"
#include "base/resources.h"
#include "map/levelmap.h"

void StartHeadlessAllegro()
{
    static bool started = false;
    if (started)
        return;
    install_allegro(SYSTEM_NONE, &errno, atexit);
    set_color_depth(16);
    started = true;
}

int EntryColour(int entry)
{
    // Distinct, non-zero and never the 16-bit mask colour 0xF81F.
    return entry * 97 + 1;
}

static DATAFILE fakeData[FAKE_ENTRIES + 1];

void InstallFakeData()
{
    StartHeadlessAllegro();
    if (!fakeData[0].dat) {
        for (int e = 0; e < FAKE_ENTRIES; e++) {
            BITMAP *picture = create_bitmap_ex(16, 32, 32);
            clear_to_color(picture, EntryColour(e));
            fakeData[e].dat = picture;
            fakeData[e].type = DAT_BITMAP;
            fakeData[e].size = 0;
            fakeData[e].prop = nullptr;
        }
        fakeData[FAKE_ENTRIES].type = DAT_END;
    }
    dataFile = fakeData;
    dataFileEntries = FAKE_ENTRIES;
}

void RemoveFakeData()
{
    dataFile = nullptr;
    dataFileEntries = 0;
}

static std::vector<std::string> scratch;

void RemoveScratchFolders()
{
    if (chdir("/") != 0)
        return;
    for (const std::string &path : scratch)
        std::filesystem::remove_all(path);
    scratch.clear();
}

std::string EnterScratchFolder()
{
    char pattern[] = "/tmp/delvorn-level-XXXXXX";
    std::string dir = mkdtemp(pattern);
    if (scratch.empty())
        atexit(RemoveScratchFolders);
    scratch.push_back(dir);
    std::string maps = dir + "/Maps";
    mkdir(maps.c_str(), 0755);
    if (chdir(dir.c_str()) != 0)
        std::abort();
    return dir;
}

void WriteCodes(const std::string &path, const std::vector<int32_t> &codes)
{
    std::ofstream out(path, std::ios::binary);
    for (int32_t code : codes) {
        uint32_t v = (uint32_t)code;
        char b[4] = {(char)v, (char)(v >> 8), (char)(v >> 16), (char)(v >> 24)};
        out.write(b, 4);
    }
}

std::vector<unsigned char> ReadBytes(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

static std::string logPath;

void OpenTestLog()
{
    CloseTestLog();
    char pattern[] = "/tmp/delvorn-level-log-XXXXXX";
    int fd = mkstemp(pattern);
    close(fd);
    logPath = pattern;
    if (scratch.empty())
        atexit(RemoveScratchFolders);
    scratch.push_back(logPath);
    gameLog = new LogFile(logPath.c_str());
    gameLog->Open();
}

std::string LogText()
{
    std::ifstream in(logPath);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void CloseTestLog()
{
    if (!gameLog)
        return;
    gameLog->Close();
    delete gameLog;
    gameLog = nullptr;
}

std::vector<int32_t> MapCodes(const std::vector<CellValue> &cells)
{
    std::vector<int32_t> codes(MAP_CELLS, -1);
    for (const CellValue &c : cells)
        codes[CellIndex(c.layer, c.row, c.column)] = c.code;
    return codes;
}

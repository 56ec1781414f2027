// The game's files, whatever part of the game reads or writes them: a
// folder where a file should be opens nowhere, and a saved table replaces
// the one before it on every platform the game builds for.
#include <gtest/gtest.h>

#include <allegro.h>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <sys/stat.h>

#include "base/config.h"
#include "base/resources.h"
#include "level/mapfile.h"
#include "map/levelmap.h"
#include "platform/alfont/alfont.h"
#include "platform/paths/paths.h"
#include "screens/highscores.h"
#include "tests/support/level_support.h"

namespace {

// A folder standing where a game file should be is a file that does not
// open, at every path the game reads: nothing is read from it.
TEST(MapFiles, FolderInPlaceOfAFileDoesNotOpenAnywhere)
{
    InstallFakeData();
    EnterScratchFolder();
    OpenTestLog();
    ClearEditorMap();
    editorLevel = 2;
    editorMap[0][0][0] = {0, 7};
    struct Reader {
        const char *folder, *path;
        std::function<bool()> opens;
    };
    const Reader readers[] = {
        {"Maps", "Maps/Zub1.map", [] { return LoadMap(1) != 0; }},
        {"Maps", "Maps/Zub2.map", [] { return LoadEditorMap() != 0; }},
        {"HiScore", "HiScore/HiScore.sco", [] { return LoadHighScores(); }},
        {"Config", "Config/Delvorn.ini",
         [] {
             soundVolume = -5;
             ReadConfig();
             return soundVolume != 200;
         }},
        {"Fonts", "Fonts/DigitalDream.ttf",
         [] {
             ALFONT_FONT *font = alfont_load_font("Fonts/DigitalDream.ttf");
             alfont_destroy_font(font);
             return font != nullptr;
         }},
        {".", "Data.dat", [] { return DataFileReadsWhole("Data.dat"); }},
    };
    for (const Reader &r : readers) {
        mkdir(r.folder, 0755);
        ASSERT_EQ(0, mkdir(r.path, 0755)) << r.path;
        EXPECT_FALSE(r.opens()) << r.path;
    }
    EXPECT_EQ(nullptr, levelMap);
    EXPECT_EQ(7, editorMap[0][0][0].code);  // the editor keeps its grid
    ReleaseMap();
    CloseTestLog();
    RemoveFakeData();
}

TEST(Paths, HighScoresSaveOverAnEarlierTable)
{
    if (!system_driver)
        install_allegro(SYSTEM_NONE, &errno, atexit);
    // Saving writes "HiScore\HiScore.sco" under the working folder.
    const std::string dir = NativePath("HiScore");
    std::filesystem::create_directories(dir);
    HighScoreTable table = highScores;
    highScores.entries[0].score = 111;
    ASSERT_TRUE(SaveHighScores());
    highScores.entries[0].score = 222;
    ASSERT_TRUE(SaveHighScores());
    highScores.entries[0].score = 0;
    ASSERT_TRUE(LoadHighScores());
    EXPECT_EQ(highScores.entries[0].score, 222);
    highScores = table;
}

}  // namespace

// File names and the replace-on-save step, on every platform the game builds
// for: a saved table or level must replace the old file, not fail beside it.
#include <gtest/gtest.h>

#include <allegro.h>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/paths/paths.h"
#include "screens/highscores.h"

namespace {

std::string ReadAll(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteAll(const std::string &path, const std::string &text)
{
    std::ofstream(path, std::ios::binary) << text;
}

TEST(Paths, GameNamesBecomeNativeNames)
{
#ifdef _WIN32
    EXPECT_EQ(NativePath("Maps\\Zub1.map"), "Maps\\Zub1.map");
#else
    EXPECT_EQ(NativePath("Maps\\Zub1.map"), "Maps/Zub1.map");
#endif
    EXPECT_EQ(NativePath(nullptr), "");
}

TEST(Paths, ReplacingOverwritesAnExistingFileAndFailsWithoutASource)
{
    const std::string from = "paths_test_new.tmp", to = "paths_test_old.dat";
    WriteAll(to, "old contents");
    WriteAll(from, "new");
    ASSERT_TRUE(ReplaceFileWith(from, to));
    EXPECT_EQ(ReadAll(to), "new");
    EXPECT_FALSE(std::ifstream(from).good());
    // Nothing to move: a failure, and the file in place stays as it was.
    EXPECT_FALSE(ReplaceFileWith(from, to));
    EXPECT_EQ(ReadAll(to), "new");
    std::remove(to.c_str());
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

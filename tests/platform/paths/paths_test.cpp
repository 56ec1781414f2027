// File names and the replace-on-save step, on every platform the game builds
// for: a saved table or level must replace the old file, not fail beside it.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/paths/paths.h"

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

#ifndef _WIN32  // the Windows zip is always portable
// A tree with the installed layout below root/prefix, and a portable folder.
// Each test gets its own tree: ctest runs them side by side.
std::string MakeTree()
{
    namespace fs = std::filesystem;
    const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    const std::string root = fs::absolute("paths_test_tree_" + name).string();
    fs::remove_all(root);
    fs::create_directories(root + "/prefix/games");
    fs::create_directories(root + "/prefix/share/games/delvorn");
    fs::create_directories(root + "/portable");
    WriteAll(root + "/prefix/share/games/delvorn/Data.dat", "data");
    WriteAll(root + "/portable/Data.dat", "data");
    return root;
}

TEST(Paths, ModeAndPlayerFoldersFollowTheDataAndTheXdgRules)
{
    const std::string root = MakeTree();
    struct Case {
        std::string exeDir;
        const char *xdgData, *xdgConfig;
        bool installed;
        std::string writable, config;
    } cases[] = {
        {root + "/portable", nullptr, nullptr, false, root + "/portable/", ""},
        {root + "/prefix/games", nullptr, nullptr, true, "/h/.local/share/delvorn/", "/h/.config/delvorn/"},
        {root + "/prefix/games", "/x", "/c/", true, "/x/delvorn/", "/c/delvorn/"},
        // Empty and relative values count as unset.
        {root + "/prefix/games", "", "rel", true, "/h/.local/share/delvorn/", "/h/.config/delvorn/"},
        // Data beside the program wins: a build folder stays portable.
        {root + "/prefix/share/games/delvorn", "/x", "/c", false, root + "/prefix/share/games/delvorn/", ""},
    };
    for (const Case &c : cases) {
        GamePlaces found = FindGamePlaces(c.exeDir, c.xdgData, c.xdgConfig, "/h");
        EXPECT_EQ(found.installed, c.installed) << c.exeDir;
        EXPECT_EQ(found.writable, c.writable) << c.exeDir;
        EXPECT_EQ(found.config, c.config) << c.exeDir;
        EXPECT_EQ(found.shipped, c.installed ? root + "/prefix/share/games/delvorn/" : c.writable)
            << c.exeDir;
    }
    std::filesystem::remove_all(root);
}

TEST(Paths, InstalledReadsThePlayersCopyFirstAndWritesOnlyUnderTheirFolders)
{
    const std::string root = MakeTree();
    const std::string shipped = root + "/prefix/share/games/delvorn/";
    GamePlaces found =
        FindGamePlaces(root + "/prefix/games", (root + "/data").c_str(), (root + "/conf").c_str(), "/h");
    UseGamePlaces(found);
    EXPECT_EQ(NativePath("Maps\\Zub1.map"), shipped + "Maps/Zub1.map");
    EXPECT_EQ(NativePath("Config//Delvorn.ini"), shipped + "Config//Delvorn.ini");

    // Writing creates the player's folder on the way; the copy is then read.
    const std::string own = WritablePath("Maps\\Zub1.map");
    EXPECT_EQ(own, root + "/data/delvorn/Maps/Zub1.map");
    WriteAll(own, "level");
    EXPECT_EQ(NativePath("Maps\\Zub1.map"), own);
    std::filesystem::create_directories(root + "/conf/delvorn");
    WriteAll(root + "/conf/delvorn/Delvorn.ini", "[Sound]");
    EXPECT_EQ(NativePath("Config//Delvorn.ini"), root + "/conf/delvorn/Delvorn.ini");
    EXPECT_EQ(WritablePath("Logs\\LogFile.log"), root + "/data/delvorn/Logs/LogFile.log");
    EXPECT_TRUE(std::filesystem::is_directory(root + "/data/delvorn/Logs"));

    UseGamePlaces(GamePlaces());  // the other tests use the working folder
    std::filesystem::remove_all(root);
}
#endif

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

}  // namespace

// The installed game: installed into a temporary DESTDIR under another prefix,
// started from / with a temporary HOME, it finds its data from its own
// location, writes only under the player's data folder, and plays a level
// the player saved with the editor instead of the shipped one. The portable
// game started from elsewhere keeps its files beside itself.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <thread>

#include "tests/e2e/e2e_support.h"

namespace fs = std::filesystem;

namespace {

class InstalledGame : public testing::Test {
protected:
    void SetUp() override
    {
        if (!HaveDisplay())
            GTEST_SKIP() << "needs Xvfb and xdotool";
    }
};

// Every file below root with its size and change time.
std::map<std::string, std::pair<uintmax_t, fs::file_time_type>> Snapshot(const std::string &root)
{
    std::map<std::string, std::pair<uintmax_t, fs::file_time_type>> files;
    for (const auto &entry : fs::recursive_directory_iterator(root))
        files[entry.path().string()] = {entry.is_regular_file() ? entry.file_size() : 0,
                                        entry.symlink_status().type() == fs::file_type::symlink
                                            ? fs::file_time_type()
                                            : entry.last_write_time()};
    return files;
}

bool WaitForFile(const std::string &path, int seconds)
{
    for (int i = 0; i < seconds * 10; i++) {
        if (fs::exists(path))
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}

TEST_F(InstalledGame, RunsFromRootWritesOnlyUnderHomeAndPlaysThePlayersLevel)
{
    const std::string root = testing::TempDir() + "installed";
    const std::string dest = root + "/dest", home = root + "/home", prefix = "/opt/delvorn";
    const std::string own = home + "/.local/share/delvorn";
    (void)!std::system(("rm -rf '" + root + "' && mkdir -p '" + home + "'").c_str());
    ASSERT_EQ(
        std::system(("DESTDIR='" + dest +
                     "' '" CMAKE_COMMAND "' --install '" DELVORN_BUILD_DIR "' --component delvorn --prefix " +
                     prefix + " >/dev/null")
                        .c_str()),
        0);
    const std::string shippedLevel = dest + prefix + "/share/games/delvorn/Maps/Zub1.map";
    const std::string shippedBytes = ReadFile(shippedLevel);
    ASSERT_EQ(shippedBytes.size(), 5100u);
    const auto before = Snapshot(dest);

    GameProcess game("installed");
    game.exe = dest + prefix + "/games/delvorn";
    game.workDir = "/";
    game.logDir = own;
    game.Start({"HOME=" + home, "XDG_DATA_HOME=", "XDG_CONFIG_HOME="});
    ASSERT_TRUE(WaitForShown(game, Shown::Menu, 60, "installed_01_menu")) << game.Log();
    EXPECT_NE(game.Log().find("Running installed from " + dest + prefix + "/share/games/delvorn/\n"),
              std::string::npos)
        << game.Log();
    EXPECT_EQ(fs::file_size(own + "/HiScore/HiScore.sco"), 84u);

    // Play the shipped first level and take a screenshot.
    game.Press("Return");
    ASSERT_TRUE(WaitForShown(game, Shown::ProgressMap, 10, "installed_02_progress_map"));
    game.Press("space");
    ASSERT_TRUE(WaitForShown(game, Shown::Play, 10, "installed_03_shipped_level"));
    const int shieldsShipped = game.CountNear(0x21588c, 0, 0, 799, 543);
    game.Press("s");
    EXPECT_TRUE(WaitForFile(own + "/Delvorn.pcx", 5));

    // In the editor: block 9 (the shield) over all of layer 0, saved as level 1.
    // The play keys act once per press: on a loaded machine a step must see
    // the screenshot key let go before F2 counts as a new press.
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    game.Press("F2", 300);
    game.Press("y", 300);
    for (int i = 0; i < 9; i++)
        game.Press("Prior");
    game.Press("F4");
    game.Press("F6");
    ASSERT_TRUE(WaitForFile(own + "/Maps/Zub1.map", 10));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(fs::file_size(own + "/Maps/Zub1.map"), 5100u);
    EXPECT_EQ(ReadFile(shippedLevel), shippedBytes);

    // A new game plays the player's level 1. The level played on after the
    // editor until Escape, and its demo is kept in the player's folder.
    game.Press("F2");
    ASSERT_TRUE(LeaveGame(game, "installed_04_menu"));
    EXPECT_NE(ReadFile(own + "/Demos/last.dem").find("\nend left\n"), std::string::npos);
    game.Press("Return");
    ASSERT_TRUE(WaitForShown(game, Shown::ProgressMap, 10, "installed_05_progress_map"));
    game.Press("space");
    ASSERT_TRUE(WaitForShown(game, Shown::Play, 10, "installed_06_players_level"));
    const int shieldsOwn = game.CountNear(0x21588c, 0, 0, 799, 543);
    EXPECT_GT(shieldsOwn, 50000) << "shipped level showed " << shieldsShipped;
    EXPECT_LT(shieldsShipped, 20000);

    EXPECT_TRUE(game.CloseWindow());
    EXPECT_EQ(game.WaitExit(30), 0);
    EXPECT_EQ(game.Log().find("::EXCEPT"), std::string::npos) << game.Log();
    EXPECT_TRUE(Snapshot(dest) == before) << "the game wrote under its install prefix";
    EXPECT_NE(ReadFile(own + "/Demos/last.dem").find("\nend closed\n"), std::string::npos);
    EXPECT_EQ(ReadFile(shippedLevel), shippedBytes);
}

TEST_F(InstalledGame, PortableGameStartedElsewhereKeepsItsFilesBesideIt)
{
    GameProcess game("portable_elsewhere");
    game.CopyData();
    game.workDir = "/";
    game.Start();
    ASSERT_TRUE(game.WaitForLog("Entering Game Loop\n", 60)) << game.Log();
    EXPECT_NE(game.Log().find("Running portable from " + game.dir + "/\n"), std::string::npos) << game.Log();
    EXPECT_TRUE(WaitForFile(game.dir + "/HiScore/HiScore.sco", 5));
    game.Kill(SIGKILL);
}

}  // namespace

// Start-up and shutdown of the real executable: a missing, cut or damaged
// data file ends the run with -1 and its message; a normal run writes its log in order, a
// default high score table, and ends cleanly when the window is closed.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <vector>

#include "tests/support/game_process.h"

namespace {

class StartupTest : public testing::Test {
protected:
    void SetUp() override
    {
        if (!HaveDisplay())
            GTEST_SKIP() << "needs an X display (scripts/test.sh starts Xvfb)";
    }
};

// A data file that is missing, cut short or damaged inside: Allegro's loader
// would crash on the last two, so all three must end the same way.
class BadDataFile : public StartupTest, public testing::WithParamInterface<const char *> {};

TEST_P(BadDataFile, ShowsMessageAndEndsWithMinusOne)
{
    std::string kind = GetParam();
    GameProcess game("data_" + kind);
    if (kind != "Missing") {
        std::string data = ReadFile(std::string(DELVORN_GAME_DIR) + "/Data.dat");
        ASSERT_GT(data.size(), 601000u);
        if (kind == "Cut")
            data.resize(300000);
        else
            for (size_t i = 600000; i < 600400; i++)
                data[i] = (char)(data[i] ^ 0x5A);
        game.WriteFile("Data.dat", data);
    }
    game.Start();
    EXPECT_EQ(game.WaitExit(60), 255);

    std::vector<std::string> log = SplitLines(game.Log());
    ASSERT_GE(log.size(), 8u);
    EXPECT_EQ(log[0], "Log File Open");
    EXPECT_EQ(log[1], "Thread DELVORN entered Quarnel normally!");
    EXPECT_EQ(log[2], "Initializing Objects");
    EXPECT_EQ(log[3], "Running portable from " + game.dir + "/");
    EXPECT_EQ(log[4], "Initializing Allegro");
    std::string dashes(59, '-');
    EXPECT_EQ(log[log.size() - 4], "Unable to access Delvorn Data Resources");
    EXPECT_EQ(log[log.size() - 3], dashes);
    EXPECT_EQ(log[log.size() - 2], "Initall::EXCEPT - Function exited abnormally");
    EXPECT_EQ(log[log.size() - 1], dashes);

    // Allegro hands the message to xmessage or, without it, to standard output.
    std::string message = ReadFile(game.dir + "/message.txt") + ReadFile(game.dir + "/stdout.txt");
    EXPECT_NE(message.find("Unable to access Delvorn Data Resources."), std::string::npos) << message;
    EXPECT_NE(message.find("Please, contact Support."), std::string::npos) << message;
}

INSTANTIATE_TEST_SUITE_P(Kinds, BadDataFile, testing::Values("Missing", "Cut", "Damaged"),
                         [](const testing::TestParamInfo<const char *> &info) {
                             return std::string(info.param);
                         });

// Started with no display, the game and the example player each say why on
// standard error and fail; the game also logs it and ends with -1.
TEST(NoDisplay, ProgramsSayWhyTheyCannotStart)
{
    GameProcess game("no_display");
    struct Program {
        std::string command;
        int exitCode;
    } programs[] = {
        {"'" + game.exe + "'", 255},
        {"'" MIVOLEN_PLAY "' '" DELVORN_SOURCE_DIR "/fuzz/corpus/avi/rgb24_pcm16.avi'", 1},
    };
    const std::string reason = "cannot start: no display to open a window on (DISPLAY is not set)\n";
    for (const Program &p : programs) {
        std::string err = game.dir + "/err.txt";
        int status = std::system(
            ("cd '" + game.dir + "' && env -u DISPLAY " + p.command + " >/dev/null 2>'" + err + "'").c_str());
        ASSERT_TRUE(WIFEXITED(status)) << p.command;
        EXPECT_EQ(WEXITSTATUS(status), p.exitCode) << p.command;
        EXPECT_NE(ReadFile(err).find(reason), std::string::npos) << ReadFile(err);
    }
    EXPECT_NE(game.Log().find("Delvorn " + reason), std::string::npos) << game.Log();
}

TEST_F(StartupTest, NormalRunLogsInOrderWritesDefaultScoresAndClosesCleanly)
{
    GameProcess game("normal");
    game.CopyData();
    game.Start();
    ASSERT_TRUE(game.WaitForLog("Entering Game Loop\n", 60)) << game.Log();

    // High scores are written before the menu is shown.
    struct stat st;
    ASSERT_EQ(stat((game.dir + "/HiScore/HiScore.sco").c_str(), &st), 0);
    EXPECT_EQ(st.st_size, 84);

    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    EXPECT_TRUE(game.CloseWindow());
    // The close is noticed at the end of the pass, so the menu still wants a
    // choice: open the options and leave them; the loop then ends instead of
    // showing the menu again.
    game.Press("Down");
    game.Press("Return");
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    game.Press("space");
    EXPECT_EQ(game.WaitExit(30), 0);

    std::vector<std::string> log = SplitLines(game.Log());
    std::vector<std::string> expected = {"Log File Open",
                                         "Thread DELVORN entered Quarnel normally!",
                                         "Initializing Objects",
                                         "Initializing Allegro",
                                         "Initializing Sound",
                                         "Initializing Graphics",
                                         "Initializing Fonts",
                                         "Initializing Input Control",
                                         "Initializing Joystick if required",
                                         "Creating Particles",
                                         "Creating Menu",
                                         "Creating Zub",
                                         "Initializing High Score Table",
                                         "UNABLE TO LOAD HI SCORES. Resetting to zero table",
                                         "Launching Game",
                                         "Entering Game Loop",
                                         "Exiting Game Loop",
                                         "Deleting Input Control",
                                         "Deleting Bitmaps + DataFile",
                                         "Deleting Fonts",
                                         "Deleting A* PathFinder",
                                         "Deleting NPCS",
                                         "Deleting Effects",
                                         "Deleting Bombs",
                                         "Deleting Zub",
                                         "Deleting Map and Menu",
                                         "Program Terminated Flawlessly!",
                                         "Closing Log File"};
    size_t at = 0;
    for (const std::string &line : log)
        if (at < expected.size() && line == expected[at])
            at++;
    EXPECT_EQ(at, expected.size()) << "missing or out of order: "
                                   << (at < expected.size() ? expected[at] : "") << "\n"
                                   << game.Log();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(), "Closing Log File");
    EXPECT_EQ(game.Log().find("::EXCEPT"), std::string::npos);
}

}  // namespace

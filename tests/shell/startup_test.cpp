// Start-up and shutdown of the real executable: a missing, cut or damaged
// data file ends the run with -1 and its message; a normal run writes its log in order, a
// default high score table, and ends cleanly when the window is closed.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <thread>
#include <vector>

#include "base/datasum.h"
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

// The window closed while the menu shows: the game ends normally.
void CloseFromTheMenu(GameProcess &game)
{
    EXPECT_TRUE(game.CloseWindow());
    // The close is noticed at the end of the pass, so the menu still wants a
    // choice: open the options and leave them; the loop then ends instead of
    // showing the menu again.
    game.Press("Down");
    game.Press("Return");
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    game.Press("space");
    EXPECT_EQ(game.WaitExit(30), 0);
}

// A data file that is missing, cut short or damaged inside, or damaged and
// sealed again: Allegro's loader would crash on all but the first, so all
// four must end the same way.
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
            for (size_t i = 600000; i < (kind == "Resealed" ? 600016 : 600400); i++)
                data[i] = (char)(data[i] ^ 0x5A);
        if (kind == "Resealed") {
            data.resize(data.size() - DATA_SUM_SIZE);
            std::vector<uint8_t> seal = DataSumTrailer((const uint8_t *)data.data(), data.size());
            data.append(seal.begin(), seal.end());
        }
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

INSTANTIATE_TEST_SUITE_P(Kinds, BadDataFile, testing::Values("Missing", "Cut", "Damaged", "Resealed"),
                         [](const testing::TestParamInfo<const char *> &info) {
                             return std::string(info.param);
                         });

// Started with no display, the game, the example player and the replay
// viewer each say why on standard error and fail; the game also logs it
// and ends with -1.
TEST(NoDisplay, ProgramsSayWhyTheyCannotStart)
{
    GameProcess game("no_display");
    struct Program {
        std::string command;
        int exitCode;
    } programs[] = {
        {"'" + game.exe + "'", 255},
        {"'" MIVOLEN_PLAY "' '" DELVORN_SOURCE_DIR "/fuzz/corpus/avi/rgb24_pcm16.avi'", 1},
        {"'" DELVORN_REPLAY "' '" DELVORN_SOURCE_DIR "/content/levels/solutions/Zub1.dem'", 3},
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
    CloseFromTheMenu(game);

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

// The settings pick how large the picture is shown, and the log says so: a
// fixed factor enlarges every pixel into a whole square, a factor out of
// range is refused aloud, and the full screen keeps the desktop's size with
// the picture centred in black. The test display is 1024x768.
TEST_F(StartupTest, TheSettingsChooseTheScaleAndTheLogNamesIt)
{
    const struct {
        const char *name, *graphics, *logged, *refused;
    } cases[] = {
        {"fixed", "Windowed = 1\nScale = 2\n", "Window of 1600x1200, picture at scale 2\n", nullptr},
        {"refused", "Windowed = 1\nScale = 9\n", "Window of 800x600, picture at scale 1\n",
         "Scale 9 is not usable, using 0 (as large as the desktop takes)\n"},
        {"full", "Windowed = 0\nScale = 0\n", "Full screen of 1024x768, picture at scale 1\n", nullptr},
    };
    for (const auto &c : cases) {
        GameProcess game(std::string("scale_") + c.name);
        game.CopyData();
        std::string ini = ReadFile(game.dir + "/Config/Delvorn.ini");
        const size_t from = ini.find("[Graphics]\n"), to = ini.find("[Control]");
        ASSERT_NE(from, std::string::npos);
        ASSERT_NE(to, std::string::npos);
        ini.replace(from, to - from, std::string("[Graphics]\n") + c.graphics + "\n");
        game.WriteFile("Config/Delvorn.ini", ini);
        game.Start();
        ASSERT_TRUE(game.WaitForLog("Entering Game Loop\n", 60)) << game.Log();
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        const std::string log = game.Log();
        EXPECT_NE(log.find(c.logged), std::string::npos) << c.name << "\n" << log;
        if (c.refused) {
            EXPECT_NE(log.find(c.refused), std::string::npos) << c.name << "\n" << log;
        }

        ASSERT_GT(game.Screenshot(std::string("scale_") + c.name), 1) << c.name;
        if (std::string(c.name) == "fixed") {
            // Every picture pixel a 2x2 square: no aligned square of the
            // menu holds two colours.
            int mixed = 0;
            for (int y = 0; y < 600; y += 2)
                for (int x = 0; x < 800; x += 2) {
                    const unsigned p = game.PixelAt(x, y);
                    mixed += p != game.PixelAt(x + 1, y) || p != game.PixelAt(x, y + 1) ||
                             p != game.PixelAt(x + 1, y + 1);
                }
            EXPECT_EQ(mixed, 0);
        }
        if (std::string(c.name) == "full") {
            // (1024 - 800) / 2 = 112 black columns left of the picture.
            EXPECT_EQ(game.CountNear(0x000000, 0, 0, 111, 599, 0), 112 * 600);
            EXPECT_LT(game.CountNear(0x000000, 112, 84, 799, 599, 0), 688 * 516 / 2);
        }
        CloseFromTheMenu(game);
    }
}

// A player folder where the scores cannot go and a sound card without the
// instrument set: each is said (standard error, the log, the screen), and
// the game plays on.
TEST_F(StartupTest, UnsavableScoresAndMissingInstrumentsAreSaidAndPlayGoesOn)
{
    GameProcess game("troubled");
    game.CopyData();
    ASSERT_EQ(0, rmdir((game.dir + "/HiScore").c_str()));
    game.WriteFile("HiScore", "a file where the folder should be: even root cannot write through it");
    game.WriteFile("Config/Patches.cfg", "1 /no/such/freepats/000_Acoustic_Grand_Piano.pat\n");
    std::string ini = ReadFile(game.dir + "/Config/Delvorn.ini");
    ini.replace(ini.find("[Sound]\n"), 8, "[Sound]\nalsa_device = null\n");  // a card that plays nowhere
    game.WriteFile("Config/Delvorn.ini", ini);
    game.Start();
    ASSERT_TRUE(game.WaitForLog("High scores not saved", 60)) << game.Log();
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    ASSERT_GT(game.Screenshot("troubled_scores_message"), 1);
    EXPECT_GT(game.CountNear(0x545592, 0, 270, 800, 330), 100) << "no message on the screen";
    ASSERT_TRUE(game.WaitForLog("Entering Game Loop\n", 60)) << game.Log();

    const std::string folder = game.dir + "/HiScore";
    EXPECT_NE(
        ReadFile(game.dir + "/stderr.txt")
            .find("Delvorn: Scores cannot be saved: " + folder + " is not writable (Not a directory)\n"),
        std::string::npos)
        << ReadFile(game.dir + "/stderr.txt");
    const std::string log = game.Log();
    EXPECT_NE(log.find("Scores cannot be saved: " + folder + " is not writable"), std::string::npos) << log;
    EXPECT_NE(
        log.find("High scores not saved: cannot create " + folder + "/HiScore.sco.tmp: Not a directory"),
        std::string::npos)
        << log;
    if (log.find("No sound device") == std::string::npos) {
        EXPECT_NE(log.find("Instrument patches not found where the settings point (" + game.dir +
                           "/Config/Patches.cfg): the music stays off\n"),
                  std::string::npos)
            << log;
    }

    CloseFromTheMenu(game);
    EXPECT_EQ(game.Log().find("::EXCEPT"), std::string::npos);
}

}  // namespace

// The real game started with damaged files: a level, the score table and
// the settings cut short, grown, or replaced by noise, and a missing level:
// each run still reaches the menu, plays or reports the bad level, and ends
// cleanly with a readable score table. A missing font stops start-up.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <thread>
#include <unistd.h>

#include "tests/e2e/e2e_support.h"

namespace {

void Sleep(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

std::string Noise(size_t size, unsigned seed)
{
    std::mt19937 rng(seed);
    std::string out(size, '\0');
    for (char &c : out)
        c = (char)(rng() & 255);
    return out;
}

std::string Shipped(const std::string &relative)
{
    return ReadFile(std::string(DELVORN_GAME_DIR) + "/" + relative);
}

std::string GoodScores()
{
    std::vector<ScoreRow> rows;
    for (int i = 0; i < 10; i++)
        rows.push_back({"OK" + std::string(1, (char)('A' + i)), 500 - i});
    return ScoreFile(rows);
}

struct Damage {
    const char *name;
    std::string map, scores, settings;
};

Damage MakeDamage(const std::string &kind)
{
    std::string map = Shipped("Maps/Zub1.map"), ini = Shipped("Config/Delvorn.ini");
    if (kind == "Truncated")
        return {"Truncated", map.substr(0, 1001), GoodScores().substr(0, 41), ini.substr(0, ini.size() / 2)};
    if (kind == "Oversized")
        return {"Oversized", map + Noise(200000, 1), GoodScores() + Noise(5000, 2),
                ini + "\n" + Noise(100000, 3)};
    return {"Random", Noise(5100, 4), Noise(84, 5), Noise(3000, 6)};
}

// From the menu into level 1 and, once it plays, a little walking and back.
// Returns whether the level was played.
bool PlayLevelOne(GameProcess &game, const std::string &tag)
{
    if (!HoldUntilShown(game, "Return", Shown::ProgressMap, 15, tag + "_progress_map"))
        return false;
    if (!HoldUntilShown(game, "space", Shown::Play, 10, tag + "_play"))
        return false;
    game.Press("Left", 600);
    game.Press("space");
    game.Press("Right", 600);
    EXPECT_GT(game.Screenshot(tag + "_played"), 10);
    return LeaveGame(game, tag + "_left");
}

void ExitFromMenu(GameProcess &game)
{
    HoldUntil(
        game, "Escape", [&]() { return !game.Running(); }, 10, "leaving");
    EXPECT_EQ(game.WaitExit(30), 0) << game.Log();
    std::string log = game.Log();
    EXPECT_NE(log.find("Program Terminated Flawlessly!\n"), std::string::npos) << log;
    EXPECT_EQ(log.find("::EXCEPT"), std::string::npos) << log;
}

class DamagedFiles : public testing::TestWithParam<std::string> {
protected:
    void SetUp() override
    {
        if (!HaveDisplay())
            GTEST_SKIP() << "needs Xvfb and xdotool";
    }
};

TEST_P(DamagedFiles, GameReachesMenuPlaysAndEndsCleanly)
{
    Damage damage = MakeDamage(GetParam());
    GameProcess game(std::string("damaged_") + damage.name);
    game.CopyData();
    game.WriteFile("Maps/Zub1.map", damage.map);
    game.WriteFile("HiScore/HiScore.sco", damage.scores);
    game.WriteFile("Config/Delvorn.ini", damage.settings);
    game.Start();
    ASSERT_TRUE(game.WaitForLog("Entering Game Loop\n", 120)) << game.Log();
    ASSERT_TRUE(WaitForShown(game, Shown::Menu, 30, "menu")) << ShownName(Classify(game));
    EXPECT_TRUE(PlayLevelOne(game, "level1")) << "last seen: " << ShownName(Classify(game));
    ASSERT_TRUE(WaitForShown(game, Shown::Menu, 15, "menu_again"));
    ExitFromMenu(game);

    // Whatever the game made of the damaged table, it leaves a readable one.
    std::string scores = ReadFile(game.dir + "/HiScore/HiScore.sco");
    EXPECT_EQ(ReadScoreFile(scores.substr(0, 84)).size(), 10u);
}

INSTANTIATE_TEST_SUITE_P(Kinds, DamagedFiles, testing::Values("Truncated", "Oversized", "Random"),
                         [](const testing::TestParamInfo<std::string> &info) { return info.param; });

class MissingFiles : public DamagedFiles {};
class MissingFont : public DamagedFiles {};

TEST_F(MissingFiles, MissingLevelIsReportedAndTheGameReturnsToTheMenu)
{
    GameProcess game("missing_level");
    game.CopyData();
    std::remove((game.dir + "/Maps/Zub1.map").c_str());
    game.Start();
    ASSERT_TRUE(game.WaitForLog("Entering Game Loop\n", 120)) << game.Log();
    ASSERT_TRUE(WaitForShown(game, Shown::Menu, 30, "menu"));
    ASSERT_TRUE(HoldUntilShown(game, "Return", Shown::ProgressMap, 15, "progress_map"));
    game.Press("space");

    // The error line stands for two seconds in the colour of the loading lines.
    bool reported = false;
    for (int i = 0; i < 30 && !reported; i++) {
        reported = game.Screenshot("map_load_error") > 0 &&
                   game.CountNear(0x545592, 100, 280, 700, 340) > 40 &&
                   game.Log().find("Creating Map\n") != std::string::npos;
        if (!reported)
            Sleep(150);
    }
    EXPECT_TRUE(reported) << "no error line on the screen";
    EXPECT_EQ(game.Log().find("Creating PathFinder"), std::string::npos);
    // The log names the file the screen sends the player to.
    EXPECT_NE(game.Log().find("Cannot read the level file " + game.dir + "/Maps/Zub1.map\n"), std::string::npos)
        << game.Log();

    // A failure is no win: no winning page or credits wait for a key, the
    // menu comes back by itself.
    ASSERT_TRUE(WaitForShown(game, Shown::Menu, 20, "after_error")) << "last seen: " << ShownName(Classify(game));
    ExitFromMenu(game);
}

// A font that does not load (a file gone, a link into a font package that
// does not resolve) stops the game at start-up with a message naming it
// and -1, as a missing data file does; each of the two faces.
TEST_P(MissingFont, StopsStartUpWithAMessageAndMinusOne)
{
    const std::string name = GetParam();
    GameProcess game("missing_" + name);
    game.CopyData();
    const std::string path = game.dir + "/Fonts/" + name + ".ttf";
    std::remove(path.c_str());
    if (name == "DigitalDreamFat") {
        ASSERT_EQ(0, symlink("/no/such/font/package/Play-Bold.ttf", path.c_str()));
    }
    game.Start();
    EXPECT_EQ(game.WaitExit(60), 255) << game.Log();

    const std::string log = game.Log();
    EXPECT_NE(log.find("Unable to load the font " + path + "\n"), std::string::npos) << log;
    EXPECT_NE(log.find("Initall::EXCEPT - Function exited abnormally\n"), std::string::npos) << log;
    EXPECT_EQ(log.find("Entering Game Loop"), std::string::npos) << log;
    // Allegro hands the message to xmessage or, without it, to standard output.
    std::string message = ReadFile(game.dir + "/message.txt") + ReadFile(game.dir + "/stdout.txt");
    EXPECT_NE(message.find("Unable to load the font " + path + "."), std::string::npos) << message;
}

INSTANTIATE_TEST_SUITE_P(Faces, MissingFont, testing::Values("DigitalDream", "DigitalDreamFat"),
                         [](const testing::TestParamInfo<std::string> &info) { return info.param; });

}  // namespace

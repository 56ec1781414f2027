// The real game records the level it plays as a demo, and the demo replays
// headless to the very state the game ended on.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <vector>

#include "level/demofile.h"
#include "tests/e2e/e2e_support.h"

namespace {

namespace fs = std::filesystem;

// The trace of a demo replayed on the game folder; the last line, and the
// trace tool's exit status.
std::string ReplayLastLine(const std::string &demo, const std::string &gameDir, int *status)
{
    std::string command = std::string(DELVORN_TRACE) + " --demo '" + demo + "' --data '" + gameDir + "' 2>&1";
    FILE *trace = popen(command.c_str(), "r");
    std::string last;
    char line[8192];
    while (trace && std::fgets(line, sizeof line, trace))
        last = line;
    *status = trace ? pclose(trace) : -1;
    if (!last.empty() && last.back() == '\n')
        last.pop_back();
    return last;
}

TEST(EndToEndDemo, RecordedLevelReplaysToTheSameStateAndOldDemosMakeRoom)
{
    if (!HaveDisplay())
        GTEST_SKIP() << "needs Xvfb and xdotool";
    GameProcess game("e2e_demo");
    game.CopyData();
    // Twelve dated demos from before: the two oldest must go.
    fs::create_directories(game.dir + "/Demos");
    for (int i = 0; i < 12; i++) {
        char name[64];
        std::snprintf(name, sizeof name, "/Demos/Zub%d-20200101-0000%02d.dem", 20 - i, i);
        game.WriteFile(name, "old");
    }
    game.Start();
    ASSERT_TRUE(game.WaitForLog("Entering Game Loop\n", 120)) << game.Log();
    ASSERT_TRUE(WaitForShown(game, Shown::Menu, 30, "demo_01_menu"));
    ASSERT_TRUE(StartNewGame(game, "demo_02_progress_map", "demo_03_play"));

    // Long enough for the first enemies to leave home and choose their
    // ways, with bombs among the steps and a pause that play resumes from.
    game.Press("Left", 900);
    game.Press("space");
    ASSERT_TRUE(HoldUntilShown(game, "p", Shown::Pause, 10, "demo_04_paused"));
    ASSERT_TRUE(HoldUntilShown(game, "space", Shown::Play, 10, "demo_04_resumed"));
    game.Press("Right", 1500);
    game.Press("Up", 700);
    game.Press("Right", 600);
    game.Press("Down", 400);
    game.Press("Left", 1200);
    game.Press("space");
    game.Press("Up", 1000);
    ASSERT_TRUE(LeaveGame(game, "demo_05_menu"));
    HoldUntil(
        game, "Escape", [&]() { return !game.Running(); }, 10, "demo_06_leaving");
    ASSERT_EQ(game.WaitExit(30), 0);

    std::string last = game.dir + "/Demos/last.dem";
    Demo demo;
    std::string error;
    ASSERT_TRUE(ReadDemo(last, &demo, &error)) << error;
    EXPECT_EQ(demo.level, 1);
    EXPECT_EQ(demo.ending, "left");
    EXPECT_GT(demo.ticks.size(), 100u);
    // A new game's first level: the start the shipped solutions must prove
    // their levels from (the tools take its draw count from the header rule).
    EXPECT_EQ(demo.draws, NEW_GAME_FIRST_LEVEL_DRAWS);
    for (const std::string &problem : NewGameHeaderProblems(demo, 1))
        ADD_FAILURE() << "the game's own new game breaks the header rule: " << problem;
    ASSERT_FALSE(demo.final.empty());

    int status = 0;
    std::string replayed = ReplayLastLine(last, game.dir, &status);
    EXPECT_EQ(status, 0) << replayed;
    EXPECT_EQ(replayed, demo.final);

    // Ten dated copies stay: the new one and the nine most recent old ones.
    int dated = 0, newOnes = 0;
    for (const auto &entry : fs::directory_iterator(game.dir + "/Demos")) {
        std::string name = entry.path().filename().string();
        if (name == "last.dem")
            continue;
        dated++;
        if (name.rfind("Zub1-2020", 0) != 0 && name.rfind("Zub1-", 0) == 0)
            newOnes++;
    }
    EXPECT_EQ(dated, 10);
    EXPECT_EQ(newOnes, 1);
    EXPECT_FALSE(fs::exists(game.dir + "/Demos/Zub20-20200101-000000.dem"));
    EXPECT_FALSE(fs::exists(game.dir + "/Demos/Zub18-20200101-000002.dem"));
    EXPECT_TRUE(fs::exists(game.dir + "/Demos/Zub17-20200101-000003.dem"));
}

// Play goes on after a visit to the editor, and the demo with it; a window
// closed in the editor ends the demo on the state its replay reaches.
TEST(EndToEndDemo, LevelIsRecordedAcrossTheEditorAndToAnEndInIt)
{
    if (!HaveDisplay())
        GTEST_SKIP() << "needs Xvfb and xdotool";
    GameProcess game("e2e_demo_editor");
    game.CopyData();
    game.Start();
    ASSERT_TRUE(game.WaitForLog("Entering Game Loop\n", 120)) << game.Log();
    ASSERT_TRUE(WaitForShown(game, Shown::Menu, 30, "editor_01_menu"));
    ASSERT_TRUE(StartNewGame(game, "editor_02_progress_map", "editor_03_play"));
    game.Press("Left", 600);
    ASSERT_TRUE(HoldUntilShown(game, "F2", Shown::Question, 10, "editor_04_question"));
    ASSERT_TRUE(HoldUntilShown(game, "y", Shown::Editor, 10, "editor_05_editor"));
    ASSERT_TRUE(HoldUntilShown(game, "F2", Shown::Play, 10, "editor_06_back"));
    game.Press("Right", 800);
    ASSERT_TRUE(HoldUntilShown(game, "F2", Shown::Question, 10, "editor_07_question"));
    ASSERT_TRUE(HoldUntilShown(game, "y", Shown::Editor, 10, "editor_08_editor"));
    ASSERT_TRUE(game.CloseWindow());
    ASSERT_EQ(game.WaitExit(30), 0);

    Demo demo;
    std::string error;
    ASSERT_TRUE(ReadDemo(game.dir + "/Demos/last.dem", &demo, &error)) << error;
    EXPECT_EQ(demo.ending, "closed");
    size_t afterVisit = 0;
    for (uint8_t tick : demo.ticks)
        afterVisit += (tick & DEMO_RIGHT) != 0;
    EXPECT_GT(afterVisit, 5u) << "the steps after the first visit were not recorded";
    EXPECT_NE(demo.final.find(" state=RUN "), std::string::npos) << demo.final;
    int status = 0;
    std::string replayed = ReplayLastLine(game.dir + "/Demos/last.dem", game.dir, &status);
    EXPECT_EQ(status, 0) << replayed;
    EXPECT_EQ(replayed, demo.final);
}

// A shipped solution changed into another demo: `edit` rewrites its text.
std::string EditedSolution(const std::function<void(std::vector<std::string> &)> &edit)
{
    std::vector<std::string> lines =
        SplitLines(ReadFile(DELVORN_SOURCE_DIR "/content/levels/solutions/Zub1.dem"));
    edit(lines);
    std::string text;
    for (const std::string &line : lines)
        text += line + "\n";
    return text;
}

// The header's line "key ..." becomes "key value".
void SetHeader(std::vector<std::string> &lines, const std::string &key, const std::string &value)
{
    for (std::string &line : lines)
        if (line.compare(0, key.size() + 1, key + " ") == 0) {
            line = key + " " + value;
            return;
        }
}

// The demo tools on input they must refuse at once, and on copies they
// must take as the demo they are; each run is given far less time than
// reading an endless file or skipping a billion draws would take.
TEST(DemoTools, RefuseBadInputAtOnceAndReadCopiesAsTheSame)
{
    GameProcess game("demo_tools");
    ASSERT_EQ(0, std::system(("ln -f '" DELVORN_REPLAY "' '" + game.dir + "/delvorn-replay'").c_str()));
    game.WriteFile("crlf.dem", EditedSolution([](std::vector<std::string> &lines) {
                       for (std::string &line : lines)
                           line += "\r";
                   }));
    game.WriteFile("draws.dem", EditedSolution([](std::vector<std::string> &lines) {
                       SetHeader(lines, "draws", "1000000000");
                   }));
    const std::string replay = "'" + game.dir + "/delvorn-replay'", trace = "'" DELVORN_TRACE "'";
    const std::string data = " --data '" DELVORN_GAME_DIR "'";
    const struct {
        std::string command;
        int status;
        std::string said;
    } runs[] = {
        {replay + " --help", 0, "usage: delvorn-replay [FILE]\n"},
        {replay, 2, "no demo to show: " + game.dir + "/Demos/last.dem does not exist"},
        {replay + " /dev/zero", 2, "/dev/zero: not a regular file"},
        {trace + " --demo /dev/zero" + data, 2, "/dev/zero: not a regular file"},
        {trace + " --demo draws.dem" + data, 2, "damaged demo header"},
        {trace + " --demo crlf.dem" + data, 0, "state=MAP"},
    };
    for (const auto &run : runs) {
        const std::string out = game.dir + "/tool.txt";
        int status = std::system(
            ("cd '" + game.dir + "' && env -u DISPLAY timeout 20 " + run.command + " >'" + out + "' 2>&1")
                .c_str());
        ASSERT_TRUE(WIFEXITED(status)) << run.command;
        EXPECT_EQ(WEXITSTATUS(status), run.status) << run.command << "\n" << ReadFile(out);
        EXPECT_NE(ReadFile(out).find(run.said), std::string::npos) << run.command << "\n" << ReadFile(out);
    }
}

// The viewer on a demo of no ticks shows its end instead of crashing, and
// on a demo whose recorded end differs from its replay says so.
TEST(DemoTools, ViewerEndsAnyDemoAndSaysWhenItDrifted)
{
    if (!HaveDisplay())
        GTEST_SKIP() << "needs Xvfb and xdotool";
    const struct {
        const char *name;
        std::string demo;
        int status;
    } demos[] = {
        {"no_ticks", EditedSolution([](std::vector<std::string> &lines) {
             SetHeader(lines, "ticks", "0");
             SetHeader(lines, "final", "-");
             lines.resize(14);
         }),
         0},
        {"drifted", EditedSolution([](std::vector<std::string> &lines) {
             SetHeader(lines, "ticks", "20");
             SetHeader(lines, "final", "tick=20 hero=0,0,1 not what the replay reaches");
             lines.resize(14 + 20);
         }),
         4},
    };
    for (const auto &d : demos) {
        GameProcess viewer(std::string("viewer_") + d.name);
        viewer.CopyData();
        viewer.exe = viewer.dir + "/delvorn-replay";
        ASSERT_EQ(0, std::system(("ln -f '" DELVORN_REPLAY "' '" + viewer.exe + "'").c_str()));
        fs::create_directories(viewer.dir + "/Demos");
        viewer.WriteFile("Demos/last.dem", d.demo);
        viewer.Start();
        // Twenty ticks at twenty a second, and time to open the window.
        std::this_thread::sleep_for(std::chrono::milliseconds(4000));
        ASSERT_TRUE(viewer.Running()) << d.name << ": " << ReadFile(viewer.dir + "/stderr.txt");
        viewer.Screenshot(std::string("viewer_") + d.name);
        const std::string said = ReadFile(viewer.dir + "/stderr.txt");
        EXPECT_EQ(said.find("ends on another state than the recording") != std::string::npos, d.status == 4)
            << d.name << ": " << said;
        viewer.Press("Escape");
        EXPECT_EQ(viewer.WaitExit(20), d.status) << d.name;
    }
}

}  // namespace

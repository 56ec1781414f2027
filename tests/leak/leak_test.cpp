// A whole run of the game built with AddressSanitizer, from start to the
// menu's exit, leaks nothing of ours and shuts down in its logged order.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/game_process.h"

namespace {

TEST(Leaks, StartToExitLeaksNothingAndShutsDownInOrder)
{
#ifndef DELVORN_SANITIZE
    GTEST_SKIP() << "leaks are checked in the sanitizer build";
#else
    if (!HaveDisplay())
        GTEST_SKIP() << "needs an X display";
    GameProcess game("leak");
    game.CopyData();
    game.Start(
        {"ASAN_OPTIONS=detect_leaks=1:exitcode=23",
         std::string("LSAN_OPTIONS=suppressions=") + DELVORN_LSAN_SUPPRESSIONS + ":print_suppressions=0",
         "UBSAN_OPTIONS=halt_on_error=1"});
    ASSERT_TRUE(game.WaitForLog("Entering Game Loop\n", 180)) << game.Log();
    for (int i = 0; i < 20 && game.Running(); i++)
        game.Press("Escape", 200);
    int status = game.WaitExit(120);
    std::string report = ReadFile(game.dir + "/stderr.txt") + ReadFile(game.dir + "/stdout.txt");
    EXPECT_EQ(status, 0) << report;
    EXPECT_EQ(report.find("LeakSanitizer"), std::string::npos) << report;

    std::vector<std::string> order = {"Deleting Input Control", "Deleting Bitmaps + DataFile",
                                      "Deleting Fonts",         "Deleting A* PathFinder",
                                      "Deleting NPCS",          "Deleting Effects",
                                      "Deleting Bombs",         "Deleting Zub",
                                      "Deleting Map and Menu",  "Closing Log File"};
    size_t at = 0;
    for (const std::string &line : SplitLines(game.Log()))
        if (at < order.size() && line == order[at])
            at++;
    EXPECT_EQ(at, order.size()) << game.Log();
#endif
}

}  // namespace

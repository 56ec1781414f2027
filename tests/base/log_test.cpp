// The log: its first line, text written as formatted and whole, a second
// copy of the game beside the first, and a game that runs on when the log
// cannot be opened.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

#include "base/log.h"

namespace {

std::string ReadAll(const std::string &path)
{
    std::ifstream in(path);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

std::string TempPath(const char *name)
{
    return std::string(testing::TempDir()) + name;
}

TEST(LogFile, WritesOpenLineTextAsFormattedAndClosingLine)
{
    std::string path = TempPath("log_basic.log");
    LogFile log(path.c_str());
    ASSERT_TRUE(log.Open());
    EXPECT_TRUE(log.Printf("Level %d at 100%% speed\n", 3));
    EXPECT_TRUE(log.Printf("%s", "50% off\n"));
    EXPECT_TRUE(log.Close());
    EXPECT_EQ(ReadAll(path), "Log File Open\nLevel 3 at 100% speed\n50% off\nClosing Log File\n");
    EXPECT_FALSE(log.Close()) << "a closed log cannot be closed again";
}

TEST(LogFile, EveryLineIsOnDiskBeforeClose)
{
    std::string path = TempPath("log_flush.log");
    LogFile log(path.c_str());
    ASSERT_TRUE(log.Open());
    log.Printf("first\n");
    EXPECT_EQ(ReadAll(path), "Log File Open\nfirst\n");
    log.Close();
}

TEST(LogFile, MissingFolderMeansNoLogAndQuietFailures)
{
    LogFile log((TempPath("no_such_folder") + "/Logs/LogFile.log").c_str());
    EXPECT_FALSE(log.Open());
    EXPECT_FALSE(log.Printf("ignored\n"));
    EXPECT_FALSE(log.Close());
}

TEST(LogFile, LongTextIsWrittenWhole)
{
    std::string path = TempPath("log_long.log");
    LogFile log(path.c_str());
    ASSERT_TRUE(log.Open());
    std::string longText(1000, 'x');
    EXPECT_TRUE(log.Printf("Player files in %s\n", longText.c_str()));
    EXPECT_TRUE(log.Printf("%s", std::string(255, 'y').c_str()));  // one short of the old cut
    EXPECT_FALSE(log.Printf(nullptr));
    log.Close();
    std::string text = ReadAll(path);
    EXPECT_EQ(text, "Log File Open\nPlayer files in " + longText + "\n" + std::string(255, 'y') +
                        "Closing Log File\n");
}

// A second copy of the game started while the first runs keeps its hands
// off the first one's log and writes its own beside it.
TEST(LogFile, SecondCopyWritesItsOwnLog)
{
    const std::string first = TempPath("log_copies.log"), second = TempPath("log_copies-2.log");
    std::remove(second.c_str());
    LogFile a(first.c_str()), b(first.c_str());
    ASSERT_TRUE(a.Open());
    a.Printf("first copy\n");
    ASSERT_TRUE(b.Open());
    EXPECT_EQ(std::string(b.path), second);
    b.Printf("second copy\n");
    b.Close();
    a.Printf("still the first\n");
    a.Close();
    EXPECT_EQ(ReadAll(first), "Log File Open\nfirst copy\nstill the first\nClosing Log File\n");
    EXPECT_EQ(ReadAll(second), "Log File Open\nsecond copy\nClosing Log File\n");
    // Once the first has closed, the next run recreates the usual log.
    LogFile c(first.c_str());
    ASSERT_TRUE(c.Open());
    EXPECT_EQ(std::string(c.path), first);
    c.Close();
    EXPECT_EQ(ReadAll(first), "Log File Open\nClosing Log File\n");
}

TEST(LogFile, LongPathIsKeptToTheBuffer)
{
    // Installed, the log lies under the player's home: longer than the 80
    // characters the path once had room for.
    std::string longPath(5000, 'a');
    LogFile log(longPath.c_str());
    EXPECT_EQ(std::string(log.path), std::string(4095, 'a'));
}

TEST(LogFile, ExceptionReportIsThreeLines)
{
    std::string path = TempPath("log_except.log");
    LogFile log(path.c_str());
    ASSERT_TRUE(log.Open());
    LogFile *previous = gameLog;
    gameLog = &log;
    LogExceptReport("LoadMap ");
    gameLog = previous;
    log.Close();
    std::string dashes(59, '-');
    EXPECT_EQ(ReadAll(path), "Log File Open\n" + dashes +
                                 "\nLoadMap ::EXCEPT - Function exited abnormally\n" + dashes +
                                 "\nClosing Log File\n");
}

}  // namespace

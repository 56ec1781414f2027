// The high score table: who gets in, where, and the 84-byte file surviving
// damaged input and failed or interrupted saves.
#include <gtest/gtest.h>

#include <allegro.h>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "gameplay/figures.h"
#include "screens/highscores.h"

namespace {

using Bytes = std::vector<unsigned char>;

// Each test runs in a fresh folder with an empty HiScore folder.
class HighScoreFile : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!system_driver)
            install_allegro(SYSTEM_NONE, &errno, atexit);
    }

    void SetUp() override
    {
        char pattern[] = "/tmp/delvorn-hiscore-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        ASSERT_NE(getcwd(oldCwd_, sizeof oldCwd_), nullptr);
        ASSERT_EQ(chdir(dir_.c_str()), 0);
        ASSERT_EQ(mkdir("HiScore", 0755), 0);
        highScoreWriteHook = nullptr;
        ResetHighScores();
        score = 0;
    }

    void TearDown() override
    {
        highScoreWriteHook = nullptr;
        ASSERT_EQ(chdir(oldCwd_), 0);
        std::string cmd = "rm -rf '" + dir_ + "'";
        ASSERT_EQ(std::system(cmd.c_str()), 0);
    }

    static Bytes ReadFile(const char *path)
    {
        std::ifstream in(path, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }

    static void WriteFile(const char *path, const Bytes &data)
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write((const char *)data.data(), (std::streamsize)data.size());
    }

    static void SetEntry(int i, const char *initials, int32_t value)
    {
        std::memset(highScores.entries[i].initials, 0, 4);
        std::memcpy(highScores.entries[i].initials, initials, strnlen(initials, 3));
        highScores.entries[i].score = value;
    }

    std::string dir_;
    char oldCwd_[1024];
};

const char *const scoreFile = "HiScore/HiScore.sco";

int32_t Le32(const Bytes &b, size_t at)
{
    return (int32_t)((uint32_t)b[at] | ((uint32_t)b[at + 1] << 8) | ((uint32_t)b[at + 2] << 16) |
                     ((uint32_t)b[at + 3] << 24));
}

void PutLe32(Bytes &b, size_t at, int32_t value)
{
    uint32_t v = (uint32_t)value;
    for (int i = 0; i < 4; i++)
        b[at + i] = (unsigned char)(v >> (8 * i));
}

// ---- who gets into the table, and where ------------------------------------

TEST_F(HighScoreFile, ScoreEqualToTheLowestDoesNotQualifyOneMoreDoes)
{
    for (int i = 0; i < 10; i++)
        SetEntry(i, "ABC", 1000 - 50 * i);  // lowest 550, at index 9
    score = 550;
    EXPECT_EQ(FindHighScoreSlot(), NO_HIGH_SCORE_SLOT);
    score = 551;
    EXPECT_EQ(FindHighScoreSlot(), 9);
}

TEST_F(HighScoreFile, FirstOfEqualLowestEntriesIsTheSlot)
{
    score = 10001;
    EXPECT_EQ(FindHighScoreSlot(), 0);  // all ten are 10000
}

TEST_F(HighScoreFile, TenThousandAndOneOnTheDefaultTableGoesToTheTop)
{
    score = 10001;
    std::memcpy(currentInitials, "BOB", 4);
    InsertHighScore();
    EXPECT_STREQ(highScores.entries[0].initials, "BOB");
    EXPECT_EQ(highScores.entries[0].score, 10001);
    int zubs = 0;
    for (int i = 1; i < 10; i++) {
        EXPECT_STREQ(highScores.entries[i].initials, "ZUB");
        EXPECT_EQ(highScores.entries[i].score, 10000);
        zubs++;
    }
    EXPECT_EQ(zubs, 9);
}

TEST_F(HighScoreFile, EqualScoreIsPlacedBelowTheExistingOne)
{
    int32_t values[10] = {900, 800, 700, 600, 500, 400, 300, 200, 100, 50};
    for (int i = 0; i < 10; i++)
        SetEntry(i, "OLD", values[i]);
    score = 500;
    std::memcpy(currentInitials, "NEW", 4);
    InsertHighScore();
    EXPECT_STREQ(highScores.entries[4].initials, "OLD");
    EXPECT_EQ(highScores.entries[4].score, 500);
    EXPECT_STREQ(highScores.entries[5].initials, "NEW");
    EXPECT_EQ(highScores.entries[5].score, 500);
    EXPECT_EQ(highScores.entries[9].score, 100);  // the 50 left the table
}

TEST_F(HighScoreFile, SortIsDescendingAndKeepsTheOrderOfEqualScores)
{
    const char *names[10] = {"A", "B", "C", "D", "E", "F", "G", "H", "I", "J"};
    int32_t values[10] = {5, 9, 5, 1, 9, 5, 0, 7, 5, 9};
    for (int i = 0; i < 10; i++)
        SetEntry(i, names[i], values[i]);
    SortHighScores();
    const char *expected = "BEJHACFIDG";
    for (int i = 0; i < 10; i++)
        EXPECT_EQ(highScores.entries[i].initials[0], expected[i]) << "row " << i;
}

TEST_F(HighScoreFile, BlankInitialsAreStoredAsWhatPrecedesTheBlank)
{
    score = 20000;
    const char middleBlank[4] = {'K', '\0', '\0', '\0'};
    std::memcpy(currentInitials, middleBlank, 4);
    InsertHighScore();
    EXPECT_STREQ(highScores.entries[0].initials, "K");

    score = 30000;
    std::memset(currentInitials, 0, 4);
    InsertHighScore();
    EXPECT_STREQ(highScores.entries[0].initials, "");
    EXPECT_EQ(highScores.entries[0].score, 30000);
}

// ---- the file -----------------------------------------------------------

TEST_F(HighScoreFile, SavedFileIsEightyFourBytesWithAWrappingTrailer)
{
    SetEntry(0, "MAX", 2147483647);
    SetEntry(1, "TWO", 2);
    for (int i = 2; i < 10; i++)
        SetEntry(i, "LOW", 1);
    ASSERT_TRUE(SaveHighScores());

    Bytes b = ReadFile(scoreFile);
    ASSERT_EQ(b.size(), 84u);
    EXPECT_EQ(std::memcmp(&b[0], "MAX", 4), 0);
    EXPECT_EQ(Le32(b, 4), 2147483647);
    EXPECT_EQ(std::memcmp(&b[8], "TWO\0", 4), 0);
    EXPECT_EQ(Le32(b, 80), (int32_t)(2147483647u + 2u + 8u));  // wrapped negative

    ResetHighScores();
    ASSERT_TRUE(LoadHighScores());
    EXPECT_STREQ(highScores.entries[0].initials, "MAX");
    EXPECT_EQ(highScores.entries[0].score, 2147483647);
    EXPECT_EQ(highScores.entries[9].score, 1);
}

TEST_F(HighScoreFile, MissingShortOrDamagedFilesFailAndLeaveTheTable)
{
    SetEntry(3, "KEE", 4242);
    HighScoreTable before = highScores;
    auto tableUnchanged = [&] { return std::memcmp(&before, &highScores, sizeof before) == 0; };

    EXPECT_FALSE(LoadHighScores());  // no file at all
    EXPECT_TRUE(tableUnchanged());

    ResetHighScores();
    ASSERT_TRUE(SaveHighScores());
    Bytes good = ReadFile(scoreFile);
    highScores = before;

    Bytes shorter(good.begin(), good.end() - 1);
    WriteFile(scoreFile, shorter);
    EXPECT_FALSE(LoadHighScores());
    EXPECT_TRUE(tableUnchanged());

    WriteFile(scoreFile, Bytes());
    EXPECT_FALSE(LoadHighScores());
    EXPECT_TRUE(tableUnchanged());

    Bytes badTrailer = good;
    badTrailer[80] ^= 1;
    WriteFile(scoreFile, badTrailer);
    EXPECT_FALSE(LoadHighScores());
    EXPECT_TRUE(tableUnchanged());

    Bytes changedScore = good;
    changedScore[12] ^= 0x10;  // entry 1's score, trailer left as it was
    WriteFile(scoreFile, changedScore);
    EXPECT_FALSE(LoadHighScores());
    EXPECT_TRUE(tableUnchanged());
}

TEST_F(HighScoreFile, InitialsNeverRunPastThreeCharacters)
{
    Bytes b(84, 0);
    for (int i = 0; i < 10; i++) {
        std::memcpy(&b[8 * i], "WXYZ", 4);  // no terminator
        PutLe32(b, 8 * i + 4, 100 * i);
    }
    PutLe32(b, 80, 4500);
    b[16 + 1] = '\0';  // entry 2: "W", then stray bytes after the zero
    WriteFile(scoreFile, b);
    ASSERT_TRUE(LoadHighScores());
    EXPECT_STREQ(highScores.entries[0].initials, "WXY");
    EXPECT_EQ(highScores.entries[0].initials[3], '\0');
    EXPECT_STREQ(highScores.entries[2].initials, "W");
    EXPECT_EQ(highScores.entries[2].initials[2], '\0');
    EXPECT_EQ(highScores.entries[9].score, 900);
}

TEST_F(HighScoreFile, SaveThatCannotBeWrittenKeepsTheOldFile)
{
    SetEntry(0, "OLD", 77777);
    ASSERT_TRUE(SaveHighScores());
    Bytes old = ReadFile(scoreFile);

    SetEntry(0, "NEW", 88888);
    highScoreWriteHook = [](int piece) { return piece < 5; };
    EXPECT_FALSE(SaveHighScores());
    EXPECT_EQ(ReadFile(scoreFile), old);
    EXPECT_EQ(access("HiScore/HiScore.sco.tmp", F_OK), -1) << "temporary file left behind";

    highScoreWriteHook = nullptr;
    ASSERT_EQ(chmod("HiScore", 0555), 0);
    bool saved = SaveHighScores();
    chmod("HiScore", 0755);
    if (geteuid() != 0) {  // root writes anyway
        EXPECT_FALSE(saved);
        EXPECT_EQ(ReadFile(scoreFile), old);
    }
}

TEST_F(HighScoreFile, SaveWithoutItsFolderFails)
{
    ASSERT_EQ(rmdir("HiScore"), 0);
    EXPECT_FALSE(SaveHighScores());
}

TEST_F(HighScoreFile, KilledHalfWayThroughASaveLeavesTheOldTable)
{
    SetEntry(0, "OLD", 55555);
    ASSERT_TRUE(SaveHighScores());
    Bytes old = ReadFile(scoreFile);

    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        SetEntry(0, "NEW", 66666);
        highScoreWriteHook = [](int piece) {
            if (piece == 5)
                sleep(30);  // killed here
            return true;
        };
        SaveHighScores();
        _exit(0);
    }
    // Wait until the save is under way, then kill it.
    for (int i = 0; i < 500 && access("HiScore/HiScore.sco.tmp", F_OK) != 0; i++)
        usleep(10000);
    usleep(50000);
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));

    EXPECT_EQ(ReadFile(scoreFile), old);
    ResetHighScores();
    ASSERT_TRUE(LoadHighScores());
    EXPECT_STREQ(highScores.entries[0].initials, "OLD");
    EXPECT_EQ(highScores.entries[0].score, 55555);

    // The next save replaces the stale temporary file.
    SetEntry(0, "NXT", 60000);
    ASSERT_TRUE(SaveHighScores());
    ResetHighScores();
    ASSERT_TRUE(LoadHighScores());
    EXPECT_STREQ(highScores.entries[0].initials, "NXT");
}

}  // namespace

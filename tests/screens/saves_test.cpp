// The player's saves under trouble: a disk that fills part-way through a
// save, two copies of the game saving scores at once, and the temporaries
// a killed save left behind. (A folder that takes no files: the start-up
// tests.)
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "base/log.h"
#include "gameplay/figures.h"
#include "level/mapfile.h"
#include "map/levelmap.h"
#include "screens/highscores.h"
#include "tests/support/level_support.h"

namespace {

bool Exists(const std::string &path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

// The log in memory: a file size limit must not stop the lines about it.
class MemoryLog {
public:
    MemoryLog() : log_("memory")
    {
        log_.handle = open_memstream(&text_, &size_);
        previous_ = gameLog;
        gameLog = &log_;
    }
    ~MemoryLog()
    {
        gameLog = previous_;
        std::fclose(log_.handle);
        std::free(text_);
    }
    std::string Text()
    {
        std::fflush(log_.handle);
        return std::string(text_, size_);
    }

private:
    LogFile log_;
    LogFile *previous_;
    char *text_ = nullptr;
    size_t size_ = 0;
};

class Saves : public testing::Test {
protected:
    void SetUp() override
    {
        StartHeadlessAllegro();
        EnterScratchFolder();
        ASSERT_EQ(0, mkdir("HiScore", 0755));
        ResetHighScores();
        ClearEditorMap();
        highScoreWriteHook = nullptr;
    }
    void TearDown() override { highScoreWriteHook = nullptr; }
};

// The disk fills at `limit` bytes into the save, as the kernel's file size
// limit makes every write past it fail.
struct DiskFullFrom {
    explicit DiskFullFrom(rlim_t limit)
    {
        getrlimit(RLIMIT_FSIZE, &before_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = before_;
        small.rlim_cur = limit;
        setrlimit(RLIMIT_FSIZE, &small);
    }
    ~DiskFullFrom()
    {
        setrlimit(RLIMIT_FSIZE, &before_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    rlimit before_;
    void (*oldHandler_)(int);
};

struct SaveKind {
    const char *name, *file;
    size_t size;
    bool (*save)(int variant);  // a different content for each variant
    const char *logged;
};

const SaveKind saveKinds[] = {
    {"scores", "HiScore/HiScore.sco", 84,
     [](int variant) {
         highScores.entries[0].score = 50000 + variant;
         return SaveHighScores();
     },
     "High scores not saved: "},
    {"level", "Maps/Zub5.map", 5100,
     [](int variant) {
         editorLevel = 5;
         editorMap[0][0][0] = {0, 10 + variant};
         return SaveEditorMap() == 1;
     },
     "Level 5 not saved: "},
};

TEST_F(Saves, FullDiskKeepsTheOldFileWholeAndSaysSo)
{
    for (const SaveKind &kind : saveKinds) {
        ASSERT_TRUE(kind.save(0)) << kind.name;
        const std::vector<unsigned char> old = ReadBytes(kind.file);
        ASSERT_EQ(old.size(), kind.size) << kind.name;
        for (rlim_t limit : {(rlim_t)0, (rlim_t)kind.size / 2, (rlim_t)kind.size - 1}) {
            MemoryLog log;
            bool saved;
            {
                DiskFullFrom full(limit);
                saved = kind.save(1);
            }
            const std::string at = std::string(kind.name) + ", full at " + std::to_string(limit);
            EXPECT_FALSE(saved) << at;
            EXPECT_EQ(ReadBytes(kind.file), old) << at;
            EXPECT_FALSE(Exists(std::string(kind.file) + ".tmp")) << at << ": temporary left";
            EXPECT_NE(log.Text().find(kind.logged), std::string::npos) << at << "\n" << log.Text();
        }
        // With room again the same save goes through.
        EXPECT_TRUE(kind.save(2)) << kind.name;
        EXPECT_NE(ReadBytes(kind.file), old) << kind.name;
    }
}

// Two copies of the game, each saving five scores into the same table at
// the same time: every one of the ten stays.
TEST_F(Saves, TwoCopiesSavingAtOnceKeepEveryScore)
{
    ASSERT_TRUE(SaveHighScores());  // ten times ZUB 10000
    std::vector<pid_t> copies;
    for (int copy = 0; copy < 2; copy++) {
        pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            // Both read the table before either saves, as two games would.
            if (!LoadHighScores())
                _exit(1);
            usleep(100000);
            // Half-way through each save the other copy gets its turn.
            highScoreWriteHook = [](int piece) {
                if (piece == 5)
                    usleep(20000);
                return true;
            };
            for (int i = 0; i < 5; i++) {
                score = 20000 + 10 * i + copy;
                const char initials[4] = {(char)('A' + copy), (char)('0' + i), 'X', 0};
                std::memcpy(currentInitials, initials, 4);
                RecordHighScore();
            }
            _exit(0);
        }
        copies.push_back(pid);
    }
    for (pid_t pid : copies) {
        int status = 0;
        waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    ResetHighScores();
    ASSERT_TRUE(LoadHighScores());
    for (int i = 0; i < 10; i++) {
        const HighScoreEntry &e = highScores.entries[i];
        EXPECT_EQ(e.score, 20040 + 1 - i / 2 * 10 - i % 2) << i;
        EXPECT_EQ(e.initials[0], 'B' - i % 2) << i;
    }
}

// A save killed part-way leaves its temporary; the next save in that
// folder clears it, whichever level it saves.
TEST_F(Saves, NextSaveRemovesWhatAKilledSaveLeft)
{
    const char *stale[] = {"HiScore/HiScore.sco.tmp", "Maps/Zub7.map.tmp", "Maps/Zub12.map.tmp"};
    for (const char *path : stale)
        WriteCodes(path, {1, 2, 3});
    ASSERT_TRUE(SaveHighScores());
    editorLevel = 3;
    ASSERT_EQ(1, SaveEditorMap());
    for (const char *path : stale)
        EXPECT_FALSE(Exists(path)) << path;
    EXPECT_EQ(ReadBytes("HiScore/HiScore.sco").size(), 84u);
}

}  // namespace

// The waiting pages and the closing screens driven pass by pass without a
// window: which key ends each wait, the way from game over into the high
// score table, and the credits roll with and without ESC.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "base/frame.h"
#include "base/resources.h"
#include "base/seam.h"
#include "gameplay/figures.h"
#include "screens/endings.h"
#include "screens/highscores.h"
#include "screens/pause.h"

namespace {

// A screen that never sees its key would wait for ever; past this many
// passes the hook presses every key the screens know and the test fails.
const int passLimit = 5000;

int passes = 0;
std::function<void(int)> onPass;

void CountPass()
{
    passes++;
    if (passes > passLimit) {
        key[KEY_SPACE] = key[KEY_ENTER] = key[KEY_ESC] = key[KEY_Y] = 1;
        simulate_keypress(KEY_ESC << 8 | 27);
        return;
    }
    if (onPass)
        onPass(passes);
}

void ReleaseKeys()
{
    for (int k = 0; k < KEY_MAX; k++)
        key[k] = 0;
    clear_keybuf();
}

long FileSize(const std::string &path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 ? (long)st.st_size : -1;
}

class EndingScreens : public testing::Test {
protected:
    static inline std::string folder;  // the suite's own working folder

    static void SetUpTestSuite()
    {
        install_allegro(SYSTEM_NONE, &errno, atexit);
        set_color_depth(16);
        backBuffer = create_bitmap(800, 600);
        backdropBitmap = create_bitmap(800, 600);
        char pattern[] = "/tmp/delvorn-endings-XXXXXX";
        folder = mkdtemp(pattern);
        if (chdir(folder.c_str()) != 0)
            std::abort();
        mkdir("HiScore", 0755);
        if (symlink(DELVORN_GAME_DIR "/Fonts", "Fonts") != 0)
            std::abort();
    }

    static void TearDownTestSuite()
    {
        if (chdir("/") == 0)
            std::filesystem::remove_all(folder);
    }

    void SetUp() override
    {
        ReleaseKeys();
        passes = 0;
        onPass = nullptr;
        passHook = CountPass;
        skipWaits = true;
        std::remove("HiScore/HiScore.sco");
        ResetHighScores();
        score = 0;  // no place in the table unless a case gives one
        gameState = GameState::RUN;
        returnState = GameState::RUN;
    }
    void TearDown() override
    {
        passHook = nullptr;
        onPass = nullptr;
        ReleaseKeys();
    }
};

}  // namespace

TEST_F(EndingScreens, PauseWaitsForANewSpacePressAndHoldsTheLogic)
{
    onPass = [](int n) {
        logicTicks = 7;  // the timer keeps ticking meanwhile
        if (n == 3)
            key[KEY_SPACE] = 1;
    };
    PauseGame();
    EXPECT_EQ(3, passes);
    EXPECT_EQ(0, logicTicks.load());
}

// The SPACE held since before the page opened was meant for something else:
// the page waits for it to be let go and pressed again.
TEST_F(EndingScreens, SpaceAlreadyHeldEndsPauseAndHelpOnlyWhenPressedAgain)
{
    onPass = [](int n) { key[KEY_SPACE] = n % 10 != 2; };
    key[KEY_SPACE] = 1;
    PauseGame();
    EXPECT_EQ(3, passes);
    passes = 0;
    key[KEY_SPACE] = 1;
    GameHelp();
    EXPECT_EQ(3, passes);
}

TEST_F(EndingScreens, OtherKeysDoNotEndThePages)
{
    onPass = [](int n) {
        key[KEY_ENTER] = key[KEY_P] = key[KEY_ESC] = 1;
        if (n == 5)
            key[KEY_SPACE] = 1;
    };
    returnState = GameState::LEVEL_EDITOR;
    gameState = GameState::HELP;
    EXPECT_EQ(GameState::HELP, GameHelp());
    EXPECT_EQ(5, passes);
}

TEST_F(EndingScreens, EditorQuestionAnswersYesOnlyForY)
{
    onPass = [](int n) {
        if (n == 2)
            key[KEY_N] = 1;
    };
    EXPECT_FALSE(AskEditorMode());
    EXPECT_EQ(2, passes);

    ReleaseKeys();
    passes = 0;
    onPass = [](int n) {
        if (n == 2)
            key[KEY_Y] = 1;
    };
    EXPECT_TRUE(AskEditorMode());

    // Both at once count as yes.
    ReleaseKeys();
    onPass = [](int n) {
        if (n == 2)
            key[KEY_Y] = key[KEY_N] = 1;
    };
    EXPECT_TRUE(AskEditorMode());
}

TEST_F(EndingScreens, GameOverWithoutAPlaceGoesStraightToTheMenu)
{
    score = 10000;  // equal to the lowest entry: no place
    lives = 0;
    onPass = [](int n) {
        if (n == 4)
            key[KEY_ESC] = 1;
    };
    GameOver();
    EXPECT_EQ(4, passes);
    EXPECT_EQ(GameState::MENU, gameState);
    EXPECT_EQ(3, lives);
    EXPECT_EQ(-1, FileSize("HiScore/HiScore.sco"));
    for (const HighScoreEntry &e : highScores.entries)
        EXPECT_EQ(10000, e.score);
}

TEST_F(EndingScreens, GameOverWithAPlaceAsksForInitialsAndSavesTheTable)
{
    score = 10001;
    lives = 0;
    bool askedForInitials = false;
    onPass = [&askedForInitials](int n) {
        // The entry screen presents frames with the game state still RUN;
        // the ENTER that closed the page is let go, and a new press ends
        // the entry with "AAA".
        key[KEY_ENTER] = n == 2 || n == 3 || n >= 6;
        if (n > 2)
            askedForInitials = true;
    };
    GameOver();
    EXPECT_TRUE(askedForInitials);
    EXPECT_EQ(GameState::MENU, gameState);
    EXPECT_EQ(10001, highScores.entries[0].score);
    EXPECT_STREQ("AAA", highScores.entries[0].initials);
    EXPECT_EQ(84, FileSize("HiScore/HiScore.sco"));
}

TEST_F(EndingScreens, EscDuringTheRollSkipsToTheClosingLinesWhichPlayInFull)
{
    onPass = [](int n) {
        if (n == 10) {
            key[KEY_ESC] = 1;
            simulate_keypress(KEY_ESC << 8 | 27);
        }
    };
    gameState = GameState::CREDITS;
    ViewCredits();
    // 10 passes of the roll, 151 of the closing lines, and the buffered ESC
    // ends the last wait without another pass.
    EXPECT_EQ(10 + 151, passes);
    EXPECT_EQ(GameState::MENU, gameState);
}

TEST_F(EndingScreens, FullRollIs766PassesThenWaitsForAKey)
{
    onPass = [](int n) {
        if (n == 766 + 151 + 1)
            simulate_keypress(KEY_SPACE << 8 | ' ');
    };
    gameState = GameState::CREDITS;
    ViewCredits();
    EXPECT_EQ(766 + 151 + 1, passes);
    EXPECT_EQ(GameState::MENU, gameState);
}

TEST_F(EndingScreens, KeyBufferedBeforeGameWonDoesNotEndItEarly)
{
    simulate_keypress(KEY_A << 8 | 'a');
    onPass = [](int n) {
        if (n == 1)
            simulate_keypress(KEY_A << 8 | 'a');  // GameWon's own wait
        if (n == 3) {                             // second pass of the roll
            key[KEY_ESC] = 1;
            simulate_keypress(KEY_ESC << 8 | 27);
        }
    };
    gameState = GameState::QUIT;
    GameWon();
    EXPECT_EQ(1 + 2 + 151, passes);
    EXPECT_EQ(GameState::MENU, gameState);
    EXPECT_FALSE(keypressed());
}

// A winner's score is checked against the table as a loser's is: with a
// place, the initials entry and the saved table come before the credits;
// without one, the credits come straight after the winning page.
TEST_F(EndingScreens, GameWonOffersTheHallOfFameBeforeTheCredits)
{
    const struct {
        int score;
        bool placed;
    } cases[] = {{10001, true}, {10000, false}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.score);
        ReleaseKeys();
        std::remove("HiScore/HiScore.sco");
        ResetHighScores();
        passes = 0;
        score = c.score;
        // Every key of the endings goes down on even passes and up on odd
        // ones: each wait sees a new press, the initials stay "AAA", and the
        // buffered ESC cuts the roll short.
        onPass = [](int n) {
            const bool down = n % 2 == 0;
            key[KEY_ENTER] = key[KEY_ESC] = down;
            if (down)
                simulate_keypress(KEY_ESC << 8 | 27);
        };
        gameState = GameState::QUIT;
        GameWon();
        EXPECT_LT(passes, passLimit);
        EXPECT_GE(passes, 151) << "the credits did not follow";
        EXPECT_EQ(GameState::MENU, gameState);
        if (c.placed) {
            EXPECT_EQ(10001, highScores.entries[0].score);
            EXPECT_STREQ("AAA", highScores.entries[0].initials);
            EXPECT_EQ(84, FileSize("HiScore/HiScore.sco"));
        } else {
            EXPECT_EQ(-1, FileSize("HiScore/HiScore.sco"));
            for (const HighScoreEntry &e : highScores.entries)
                EXPECT_EQ(10000, e.score);
        }
    }
}

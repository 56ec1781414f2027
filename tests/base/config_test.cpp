// Reading the settings: defaults, the two truth rules, the window/full
// screen pairs, and a logic rate that cannot pace a timer.
#include <gtest/gtest.h>

#include <algorithm>
#include <allegro.h>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "base/config.h"
#include "base/log.h"
#include "base/sound.h"

namespace {

class ConfigTest : public testing::Test {
protected:
    static void SetUpTestSuite() { install_allegro(SYSTEM_NONE, &errno, atexit); }

    void SetUp() override
    {
        dir_ = std::string(testing::TempDir()) + "config_" +
               testing::UnitTest::GetInstance()->current_test_info()->name();
        mkdir(dir_.c_str(), 0755);
        mkdir((dir_ + "/Config").c_str(), 0755);
        unlink((dir_ + "/Config/Delvorn.ini").c_str());
        ASSERT_NE(getcwd(oldDir_, sizeof oldDir_), nullptr);
        ASSERT_EQ(chdir(dir_.c_str()), 0);
    }
    void TearDown() override
    {
        if (chdir(oldDir_) != 0)
            ADD_FAILURE() << "cannot return to " << oldDir_;
    }
    void WriteIni(const std::string &text) { std::ofstream(dir_ + "/Config/Delvorn.ini") << text; }

    std::string dir_;
    char oldDir_[4096];
};

TEST_F(ConfigTest, MissingFileGivesDefaults)
{
    EXPECT_EQ(ReadConfig(), 1);
    EXPECT_EQ(soundVolume, 200);
    EXPECT_EQ(midiVolume, 200);
    EXPECT_EQ(windowed, 1);
    EXPECT_TRUE(useJoystick);
    EXPECT_TRUE(soundOn);
    EXPECT_TRUE(musicOn);
    EXPECT_EQ(logicRate, 20);
    EXPECT_EQ(timerSetting, 1000);
    EXPECT_EQ(debugOverlay, 0);
}

TEST_F(ConfigTest, SoundSwitchesNeedExactlyOneButJoystickAnyNonZero)
{
    WriteIni("[Sound]\nSoundOn = 2\nMusicOn = 1\n[Control]\nUseJoystick = 2\n");
    ReadConfig();
    EXPECT_FALSE(soundOn);
    EXPECT_TRUE(musicOn);
    EXPECT_TRUE(useJoystick);
}

TEST_F(ConfigTest, FullScreenTakesTheFullScreenRates)
{
    WriteIni("[Graphics]\nWindowed = 0\n[System]\nWFPS = 50\nFFPS = 30\nWTIMER = 7\nFTIMER = 9\n");
    ReadConfig();
    EXPECT_EQ(windowed, 0);
    EXPECT_EQ(logicRate, 30);
    EXPECT_EQ(timerSetting, 9);
}

TEST_F(ConfigTest, AnyNonZeroWindowedTakesTheWindowRates)
{
    WriteIni("[Graphics]\nWindowed = 5\n[System]\nWFPS = 25\nFFPS = 30\nDebug = 1\n");
    ReadConfig();
    EXPECT_EQ(logicRate, 25);
    EXPECT_EQ(debugOverlay, 1);
}

// A rate the timer cannot pace would freeze play: too low keeps the
// default, too high the fastest rate the timer keeps; the log says which.
TEST_F(ConfigTest, UnusableLogicRateIsReplacedAndLogged)
{
    std::string logPath = dir_ + "/rate.log";
    LogFile log(logPath.c_str());
    ASSERT_TRUE(log.Open());
    gameLog = &log;
    const struct {
        const char *value;
        int used;
        const char *logged;  // null: nothing to say
    } cases[] = {
        {"0", 20, "Logic rate 0 is not usable, using 20"},
        {"-4", 20, "Logic rate -4 is not usable, using 20"},
        {"1", 1, nullptr},
        {"1000", 1000, nullptr},
        {"1001", 1000, "Logic rate 1001 is not usable, using 1000"},
        {"1193182", 1000, "Logic rate 1193182 is not usable, using 1000"},  // a timer period of 0
        {"2147483647", 1000, "Logic rate 2147483647 is not usable, using 1000"},
    };
    for (const auto &c : cases) {
        WriteIni(std::string("[System]\nWFPS = ") + c.value + "\n");
        ReadConfig();
        EXPECT_EQ(logicRate, c.used) << c.value;
    }
    gameLog = nullptr;
    log.Close();
    std::ifstream in(logPath);
    std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    int lines = 0;
    for (const auto &c : cases)
        if (c.logged) {
            lines++;
            EXPECT_NE(all.find(std::string(c.logged) + "\n"), std::string::npos) << c.logged;
        }
    EXPECT_EQ(std::count(all.begin(), all.end(), '\n'), lines + 2) << all;  // with the open and close lines
}

TEST_F(ConfigTest, StrayBytesAreDroppedInsteadOfHangingTheReader)
{
    // Bytes that are not UTF-8 once made the library's reader loop forever.
    std::string text = "\x0fSyste";
    text += std::string(44, '\xa1') + "\xff" + std::string(40, '\xa1') + "m]\nWFPS [";
    text += "\n[System]\nWFPS = 33\n[Sound]\nSoundVolume\xa1 = 99\n";
    WriteIni(text);
    EXPECT_EQ(ReadConfig(), 1);
    EXPECT_EQ(logicRate, 33);
    EXPECT_EQ(soundVolume, 99);
}

TEST_F(ConfigTest, GarbageValuesDoNotBreakTheReader)
{
    WriteIni("[Sound\nSoundVolume = loud\n\x01\x02 = =\n[System]\nWFPS = abc\n");
    EXPECT_EQ(ReadConfig(), 1);
    EXPECT_GE(logicRate, 1);
}

// Installed without the instrument set, the synthesizer finds none of the
// patches its list names: that is logged once, and the music stays off.
TEST_F(ConfigTest, MissingInstrumentPatchesAreLoggedAndTheMusicStaysOff)
{
    mkdir("pats", 0755);
    std::ofstream("pats/piano.pat") << "patch";
    std::ofstream("here.cfg") << "# a list\n1 pats/piano\n2 pats/none.pat\n";
    std::ofstream("gone.cfg") << "1 /no/such/Tone_000/000_Acoustic_Grand_Piano.pat\n2 pats/none.pat\n";
    std::ofstream("dirs.cfg") << "dir " + dir_ + "/pats\n1 piano.pat\n";
    const struct {
        const char *setting;  // null: no patches key at all
        bool found;
    } cases[] = {
        {nullptr, true}, {"here.cfg", true}, {"dirs.cfg", true}, {"gone.cfg", false}, {"missing.cfg", false},
    };
    std::string logPath = dir_ + "/patches.log";
    for (const auto &c : cases) {
        LogFile log(logPath.c_str());
        ASSERT_TRUE(log.Open());
        gameLog = &log;
        std::string settings = c.setting ? std::string("[sound]\npatches = ") + c.setting + "\n" : "";
        set_config_data(settings.c_str(), (int)settings.size());
        musicOn = 1;
        EXPECT_EQ(CheckInstrumentPatches(), c.found) << (c.setting ? c.setting : "no setting");
        EXPECT_EQ(musicOn, c.found ? 1 : 0);
        gameLog = nullptr;
        log.Close();
        std::ifstream in(logPath);
        std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const std::string line = std::string("Instrument patches not found where the settings point (") +
                                 (c.setting ? c.setting : "") + "): the music stays off\n";
        EXPECT_EQ(all.find(line) != std::string::npos, !c.found) << all;
    }
}

}  // namespace

// Reading the settings: defaults, the two truth rules, the window/full
// screen pairs, and a logic rate that cannot pace a timer.
#include <gtest/gtest.h>

#include <allegro.h>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "base/config.h"
#include "base/log.h"

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

TEST_F(ConfigTest, UnusableLogicRateKeepsTwentyAndIsLogged)
{
    std::string logPath = dir_ + "/rate.log";
    LogFile log(logPath.c_str());
    ASSERT_TRUE(log.Open());
    gameLog = &log;
    WriteIni("[System]\nWFPS = 0\n");
    ReadConfig();
    EXPECT_EQ(logicRate, 20);
    WriteIni("[System]\nWFPS = -4\n");
    ReadConfig();
    EXPECT_EQ(logicRate, 20);
    gameLog = nullptr;
    log.Close();
    std::ifstream in(logPath);
    std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(all.find("Logic rate 0 is not usable"), std::string::npos);
    EXPECT_NE(all.find("Logic rate -4 is not usable"), std::string::npos);
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

}  // namespace

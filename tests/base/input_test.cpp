// Folding keys, joystick 0 and mouse buttons into the input bits.
#include <gtest/gtest.h>

#include <allegro.h>
#include <cerrno>
#include <cstring>

#include "base/input.h"

namespace {

class InputTest : public testing::Test {
protected:
    static void SetUpTestSuite() { install_allegro(SYSTEM_NONE, &errno, atexit); }
    void SetUp() override { ReleaseAll(); }
    void TearDown() override { ReleaseAll(); }
    static void ReleaseAll()
    {
        for (int k = 0; k < KEY_MAX; k++)
            key[k] = 0;
        std::memset(&joy[0], 0, sizeof joy[0]);
        num_joysticks = 0;
    }
    // A pad with one two-axis stick and six buttons, as the driver fills it.
    static void FakePad()
    {
        num_joysticks = 1;
        joy[0].num_sticks = 1;
        joy[0].stick[0].num_axis = 2;
        joy[0].num_buttons = 6;
    }
};

TEST_F(InputTest, OppositeDirectionsHeldTogetherSetBothBits)
{
    InputControl input;
    key[KEY_LEFT] = 1;
    key[KEY_RIGHT] = 1;
    input.Poll();
    EXPECT_TRUE(input.IsLeft());
    EXPECT_TRUE(input.IsRight());
    EXPECT_FALSE(input.IsUp());
    EXPECT_EQ(input.IsLeft(), -1);
}

TEST_F(InputTest, EveryTableKeySetsItsBit)
{
    const int keys[10] = {KEY_LEFT, KEY_RIGHT,  KEY_UP,     KEY_DOWN,  KEY_LCONTROL,
                          KEY_ALT,  KEY_LSHIFT, KEY_EQUALS, KEY_MINUS, KEY_ENTER};
    InputControl input;
    for (int i = 0; i < 10; i++) {
        ReleaseAll();
        key[keys[i]] = 1;
        input.Poll();
        EXPECT_EQ(input.state, 1u << i) << "table position " << i;
    }
}

TEST_F(InputTest, OnlyHeldKeysCountAndEachPollStartsAfresh)
{
    InputControl input;
    key[KEY_UP] = 1;
    input.Poll();
    EXPECT_TRUE(input.IsUp());
    key[KEY_UP] = 0;
    input.Poll();
    EXPECT_EQ(input.state, 0u);
}

TEST_F(InputTest, JoystickIsIgnoredUntilEnabled)
{
    FakePad();
    joy[0].stick[0].axis[0].d1 = 1;
    joy[0].button[1].b = 1;
    InputControl input;
    input.Poll();
    EXPECT_EQ(input.state, 0u);
    input.joystickEnabled = 1;
    input.Poll();
    EXPECT_TRUE(input.IsLeft());
    EXPECT_TRUE(input.IsFire());
}

TEST_F(InputTest, PadButtonOneFiresAndButtonZeroIsButtonA)
{
    FakePad();
    InputControl input;
    input.joystickEnabled = 1;
    joy[0].button[0].b = 1;
    input.Poll();
    EXPECT_EQ(input.state, (uint32_t)INPUT_BUTTON_A);
    EXPECT_FALSE(input.IsFire());
    joy[0].button[0].b = 0;
    joy[0].button[1].b = 1;
    input.Poll();
    EXPECT_EQ(input.state, (uint32_t)INPUT_FIRE);
    joy[0].button[1].b = 0;
    joy[0].button[5].b = 1;
    joy[0].stick[0].axis[1].d2 = 1;
    joy[0].stick[0].axis[0].d2 = 1;
    input.Poll();
    EXPECT_EQ(input.state, (uint32_t)(INPUT_BUTTON_E | INPUT_DOWN | INPUT_RIGHT));
}

TEST_F(InputTest, KeyboardAndPadAreCombined)
{
    FakePad();
    InputControl input;
    input.joystickEnabled = 1;
    joy[0].stick[0].axis[1].d1 = 1;
    key[KEY_DOWN] = 1;
    input.Poll();
    EXPECT_TRUE(input.IsUp());
    EXPECT_TRUE(input.IsDown());
}

}  // namespace

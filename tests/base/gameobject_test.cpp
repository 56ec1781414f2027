// Game objects: the collision box, every animation mode, and drawing.
#include <gtest/gtest.h>

#include "base/gameobject.h"
#include "tests/support/level_support.h"

namespace {

GameObject Figure(float x, float y)
{
    GameObject o;
    o.width = o.height = 32;
    o.x = x;
    o.y = y;
    return o;
}

// A figure with n frames, each flat in colour 100 + index, without bitmaps
// from any data file.
GameObject *Animated(int n, int flags, int delay)
{
    StartHeadlessAllegro();
    GameObject *o = new GameObject();
    EXPECT_EQ(1, o->Init(0, 0, 32, 32, n, flags, 0, 16));
    for (int i = 0; i < n; i++)
        clear_to_color(o->frames[i], 100 + i);
    o->SetFrameDelay(delay);
    return o;
}

}  // namespace

TEST(CollisionBox, OverlapsWhenCornersAreLessThan24PixelsApart)
{
    GameObject a = Figure(100, 100);
    EXPECT_TRUE(a.Collides(&a));
    GameObject b = Figure(123, 100);
    EXPECT_TRUE(a.Collides(&b));
    EXPECT_TRUE(b.Collides(&a));
    b = Figure(124, 100);
    EXPECT_FALSE(a.Collides(&b));
    b = Figure(100, 76);
    EXPECT_FALSE(a.Collides(&b));
    b = Figure(77, 77);
    EXPECT_TRUE(a.Collides(&b));
    EXPECT_FALSE(a.Collides(nullptr));
}

TEST(CollisionBox, CentreIsTruncatedAfterAddingTheHalfExtent)
{
    // x = -4.5: centre trunc(7.5) = 7, not trunc(-4.5) + 12 = 8.
    GameObject a = Figure(-4.5f, 0);
    GameObject b = Figure(18, 0);  // centre 30: 23 apart
    EXPECT_TRUE(a.Collides(&b));
    b = Figure(19, 0);  // centre 31: 24 apart
    EXPECT_FALSE(a.Collides(&b));
}

TEST(Animation, StaticFigureAlwaysShowsFrameZero)
{
    GameObject *o = Animated(3, GO_STATIC | GO_VISIBLE, 1);
    o->currentFrame = 2;
    o->Animate();
    EXPECT_EQ(0, o->currentFrame);
    DeleteGameObject(o);
}

TEST(Animation, LoopStepsEveryDelayAndWraps)
{
    GameObject *o = Animated(3, GO_LOOP | GO_VISIBLE, 2);
    std::vector<int> seen;
    for (int i = 0; i < 8; i++) {
        o->Animate();
        seen.push_back(o->currentFrame);
    }
    EXPECT_EQ((std::vector<int>{0, 1, 1, 2, 2, 0, 0, 1}), seen);
    o->Animate();
    o->SetFrameDelay(1);  // lowered mid-count: the next step still moves
    o->Animate();
    EXPECT_EQ(2, o->currentFrame);
    DeleteGameObject(o);
}

TEST(Animation, SequenceRestartsAtItsEndMark)
{
    GameObject *o = Animated(8, GO_SEQUENCE | GO_VISIBLE, 1);
    const int list[] = {5, 6, 7};
    ASSERT_EQ(1, o->AddSequence(2, 3, list));
    o->SetSequence(2);
    std::vector<int> seen;
    for (int i = 0; i < 5; i++) {
        o->Animate();
        seen.push_back(o->currentFrame);
    }
    EXPECT_EQ((std::vector<int>{6, 7, 5, 6, 7}), seen);
    EXPECT_EQ(0, o->animationDone);
    DeleteGameObject(o);
}

TEST(Animation, StopAtEndHoldsTheLastFrame)
{
    GameObject *o = Animated(8, GO_SEQUENCE | GO_STOP_AT_END | GO_VISIBLE, 1);
    const int list[] = {1, 2, 3};
    o->AddSequence(0, 3, list);
    o->SetSequence(0);
    for (int i = 0; i < 5; i++)
        o->Animate();
    EXPECT_EQ(3, o->currentFrame);
    EXPECT_EQ(2, o->sequencePos);
    EXPECT_EQ(3, o->animationDone);
    DeleteGameObject(o);
}

TEST(Animation, EarlyEndMarkInAListEndsPlayback)
{
    GameObject *o = Animated(8, GO_SEQUENCE | GO_VISIBLE, 1);
    const int list[] = {4, 5, -1, 6};
    o->AddSequence(0, 4, list);
    o->SetSequence(0);
    o->Animate();
    EXPECT_EQ(5, o->currentFrame);
    o->Animate();
    EXPECT_EQ(4, o->currentFrame);
    DeleteGameObject(o);
}

TEST(Animation, DirectSwitchPastTheNewSequencesEndShowsItsFirstFrame)
{
    GameObject *o = Animated(16, GO_SEQUENCE | GO_VISIBLE, 1);
    const int longList[] = {0, 1, 2, 3, 4, 5, 6};
    const int shortList[] = {10, 11};
    o->AddSequence(0, 7, longList);
    o->AddSequence(1, 2, shortList);
    o->SetSequence(0);
    for (int i = 0; i < 5; i++)
        o->Animate();
    ASSERT_EQ(5, o->sequencePos);
    o->sequenceIndex = 1;  // as the movement code switches
    o->Animate();
    EXPECT_EQ(10, o->currentFrame);
    EXPECT_EQ(0, o->sequencePos);

    // With stop-at-end it holds the new sequence's last real frame.
    o->flags |= GO_STOP_AT_END;
    o->sequenceIndex = 0;
    o->sequencePos = 6;
    o->Animate();
    o->sequenceIndex = 1;
    o->sequencePos = 9;
    o->Animate();
    EXPECT_EQ(11, o->currentFrame);
    DeleteGameObject(o);
}

TEST(Animation, ChangesFrameOnlyEveryDelaySteps)
{
    GameObject *o = Animated(8, GO_SEQUENCE | GO_VISIBLE, 3);
    const int list[] = {1, 2, 3};
    o->AddSequence(0, 3, list);
    o->SetSequence(0);
    o->Animate();
    o->Animate();
    EXPECT_EQ(0, o->currentFrame);
    o->Animate();
    EXPECT_EQ(2, o->currentFrame);
    // A delay lowered below the count already reached still lets it move.
    o->Animate();
    o->Animate();
    o->SetFrameDelay(1);
    o->Animate();
    EXPECT_EQ(3, o->currentFrame);
    DeleteGameObject(o);
}

TEST(Animation, MissingSequenceKeepsThePictureShown)
{
    GameObject *o = Animated(4, GO_SEQUENCE | GO_VISIBLE, 1);
    o->currentFrame = 2;
    o->SetSequence(7);
    o->Animate();
    EXPECT_EQ(2, o->currentFrame);
    o->sequenceIndex = 99;
    o->Animate();
    EXPECT_EQ(2, o->currentFrame);
    DeleteGameObject(o);
}

TEST(Drawing, MaskedAtTruncatedPositionAndOnlyWhenVisible)
{
    GameObject *o = Animated(2, GO_LOOP | GO_VISIBLE, 1);
    BITMAP *target = create_bitmap_ex(16, 100, 100);
    clear_to_color(target, 7);
    putpixel(o->frames[1], 0, 0, bitmap_mask_color(o->frames[1]));
    o->currentFrame = 1;
    o->x = 10.9f;
    o->y = 20.2f;
    o->Draw(target);
    EXPECT_EQ(7, getpixel(target, 10, 20));  // the mask pixel lets through
    EXPECT_EQ(101, getpixel(target, 11, 20));
    EXPECT_EQ(101, getpixel(target, 41, 51));
    EXPECT_EQ(7, getpixel(target, 42, 52));

    clear_to_color(target, 7);
    o->flags &= ~GO_VISIBLE;
    o->Draw(target);
    EXPECT_EQ(7, getpixel(target, 20, 30));

    // A frame index no bitmap belongs to draws nothing.
    o->flags |= GO_VISIBLE;
    o->currentFrame = 5;
    o->Draw(target);
    o->currentFrame = -1;
    o->Draw(target);
    EXPECT_EQ(7, getpixel(target, 20, 30));
    destroy_bitmap(target);
    DeleteGameObject(o);
}

TEST(Frames, SetFrameCopiesAndRejectsBadIndexes)
{
    GameObject *o = Animated(2, GO_LOOP | GO_VISIBLE, 1);
    BITMAP *picture = create_bitmap_ex(16, 40, 40);
    clear_to_color(picture, 1234);
    EXPECT_EQ(1, o->SetFrame(1, picture));
    EXPECT_TRUE(o->flags & GO_FRAME_SET);
    clear_to_color(picture, 99);  // a copy, not a reference
    EXPECT_EQ(1234, getpixel(o->frames[1], 31, 31));
    EXPECT_EQ(0, o->SetFrame(2, picture));
    EXPECT_EQ(0, o->SetFrame(-1, picture));
    EXPECT_EQ(0, o->SetFrame(0, nullptr));
    destroy_bitmap(picture);

    GameObject big;
    EXPECT_EQ(0, big.Init(0, 0, 32, 32, GO_MAX_FRAMES + 1, GO_LOOP, 0, 16));
    DeleteGameObject(o);
}

TEST(Lifetime, InitSetsFieldsAndDeleteIsNullSafe)
{
    StartHeadlessAllegro();
    GameObject *o = new GameObject();
    EXPECT_EQ(16, o->spare);
    EXPECT_EQ(-1, o->maxX);  // no graphics mode
    EXPECT_EQ(0, o->work[20]);
    o->state = 0;
    ASSERT_EQ(1, o->Init(3, 4, 32, 32, 2, GO_LOOP, 0, 9));
    EXPECT_EQ(1, o->state);
    EXPECT_EQ(3.0f, o->x);
    EXPECT_EQ(9, o->spare);
    const int list[] = {0, 1};
    o->AddSequence(0, 2, list);
    EXPECT_EQ(0, o->AddSequence(GO_MAX_SEQUENCES, 2, list));
    EXPECT_EQ(-1, o->sequences[0][2]);
    DeleteGameObject(o);
    EXPECT_EQ(nullptr, o);
    DeleteGameObject(o);
}

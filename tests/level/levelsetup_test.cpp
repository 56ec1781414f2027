// The figure pool: what InitCharacters makes and logs, the new-game values
// and the per-level reset.
#include <gtest/gtest.h>

#include "base/resources.h"
#include "base/seam.h"
#include "gameplay/figures.h"
#include "level/levelsetup.h"
#include "level/play.h"
#include "map/levelmap.h"
#include "tests/support/level_support.h"

namespace {

class Pool : public ::testing::Test {
protected:
    void SetUp() override
    {
        InstallFakeData();
        EnterScratchFolder();
        OpenTestLog();
        ASSERT_EQ(1, InitCharacters());
    }
    void TearDown() override
    {
        DeleteCharacters();
        CloseTestLog();
        RemoveFakeData();
    }
};

int FrameEntryColour(const GameObject *figure, int frame)
{
    return getpixel(figure->frames[frame], 0, 0);
}

std::vector<int> Sequence(const GameObject *figure, int index)
{
    std::vector<int> frames;
    for (const int32_t *p = figure->sequences[index]; p && *p != -1; p++)
        frames.push_back(*p);
    return frames;
}

std::vector<int> Frames(int first, int last)
{
    std::vector<int> v;
    for (int i = first; i <= last; i++)
        v.push_back(i);
    return v;
}

}  // namespace

TEST_F(Pool, CreationLogsEachStepInOrder)
{
    std::string log = LogText();
    const char *lines[] = {"Creating Zub\n", "Creating NPCS\n",  "Char1 \n",         "Char 2\n",
                           "Char 3\n",       "Char 4\n",         "Char 5\n",         "Money \n",
                           "Bombs\n",        "Creating Heart\n", "Creating Potion\n"};
    size_t at = 0;
    for (const char *line : lines) {
        size_t found = log.find(line, at);
        ASSERT_NE(std::string::npos, found) << line;
        at = found + 1;
    }
}

TEST_F(Pool, HeroHasItsFramesAndSevenSequences)
{
    EXPECT_EQ(55, hero->frameCount);
    EXPECT_EQ(EntryColour(237), FrameEntryColour(hero, 0));
    EXPECT_EQ(EntryColour(291), FrameEntryColour(hero, 54));
    EXPECT_EQ(GO_SEQUENCE | GO_VISIBLE | GO_FRAME_SET, hero->flags);
    EXPECT_EQ(6, hero->frameDelay);
    EXPECT_EQ(0, hero->sequenceIndex);
    EXPECT_EQ(Frames(0, 2), Sequence(hero, 0));
    EXPECT_EQ(Frames(33, 40), Sequence(hero, 1));
    EXPECT_EQ(Frames(13, 20), Sequence(hero, 2));
    EXPECT_EQ(Frames(10, 12), Sequence(hero, 3));
    EXPECT_EQ(Frames(53, 54), Sequence(hero, 4));
    EXPECT_EQ(Frames(7, 9), Sequence(hero, 5));
    EXPECT_EQ(Frames(8, 9), Sequence(hero, 6));
    EXPECT_EQ(32, hero->width);
    EXPECT_EQ(16, hero->spare);
}

TEST_F(Pool, EnemiesTakeConsecutivePicturesAndTheirSequences)
{
    const int counts[] = {14, 16, 12, 16, 18};
    int entry = 124;
    for (int i = 0; i < ENEMY_COUNT; i++) {
        const GameObject *e = enemies[i];
        ASSERT_EQ(counts[i], e->frameCount);
        EXPECT_EQ(EntryColour(entry), FrameEntryColour(e, 0));
        EXPECT_EQ(EntryColour(entry + counts[i] - 1), FrameEntryColour(e, counts[i] - 1));
        entry += counts[i];
        EXPECT_EQ(i == 0 ? 0 : 1, e->sequenceIndex);
        EXPECT_EQ(6, e->frameDelay);
        EXPECT_EQ(1, e->state);
        EXPECT_EQ(768, e->x);
        EXPECT_EQ(0, e->y);
        EXPECT_EQ(50 * (i + 1), e->work[ENEMY_START_DELAY]);
        EXPECT_EQ(50 * (i + 1), enemyHomes[i].startDelay);
        EXPECT_EQ(4, e->work[ENEMY_DIRECTION]);
        EXPECT_EQ(3, e->work[ENEMY_RETURNS_LEFT]);
        EXPECT_EQ(20, e->work[ENEMY_DIGGING_LEFT]);
        EXPECT_EQ(Sequence(e, 2), Sequence(e, 4));
    }
    EXPECT_EQ(200, entry);
    EXPECT_EQ(Frames(0, 3), Sequence(enemies[0], 0));
    EXPECT_EQ(Frames(4, 7), Sequence(enemies[0], 1));
    EXPECT_EQ(Frames(11, 13), Sequence(enemies[0], 3));
    EXPECT_EQ(Frames(5, 9), Sequence(enemies[1], 1));
    EXPECT_EQ(Frames(6, 8), Sequence(enemies[2], 2));
    EXPECT_EQ(Frames(0, 5), Sequence(enemies[4], 0));
    EXPECT_EQ(Frames(15, 17), Sequence(enemies[4], 3));
}

TEST_F(Pool, BombsNeverShowTheEnemysPictures)
{
    const GameObject *b = bombs[11];
    ASSERT_EQ(19, b->frameCount);
    EXPECT_EQ(EntryColour(94), FrameEntryColour(b, 0));
    EXPECT_EQ(EntryColour(96), FrameEntryColour(b, 2));
    EXPECT_EQ(EntryColour(111), FrameEntryColour(b, 3));
    EXPECT_EQ(EntryColour(123), FrameEntryColour(b, 15));
    for (int f = 16; f < 19; f++)
        EXPECT_EQ(EntryColour(123), FrameEntryColour(b, f));
    EXPECT_EQ(Frames(0, 2), Sequence(b, 0));
    EXPECT_EQ(Frames(3, 18), Sequence(b, 1));
    EXPECT_EQ(6, b->frameDelay);
    EXPECT_EQ(1, b->state);
    EXPECT_EQ(32, b->work[BOMB_FUSE]);
    EXPECT_EQ(16, b->work[BOMB_BLAST_TIME]);
}

TEST_F(Pool, BagsHeartAndPotion)
{
    for (int i = 0; i < MONEYBAG_COUNT; i++) {
        const GameObject *bag = moneyBags[i];
        EXPECT_EQ(1, bag->frameCount);
        EXPECT_EQ(EntryColour(90), FrameEntryColour(bag, 0));
        EXPECT_TRUE(bag->flags & GO_STATIC);
        EXPECT_EQ(0, bag->state);
        EXPECT_EQ(i * 32, bag->x);
        EXPECT_EQ(4.0f, BagFallSpeed(bag));
    }
    EXPECT_EQ(5, heart->frameCount);
    EXPECT_EQ(EntryColour(212), FrameEntryColour(heart, 4));
    EXPECT_EQ(16, heart->frameDelay);
    EXPECT_EQ(Frames(0, 4), Sequence(heart, 0));
    EXPECT_EQ(0, heart->state);
    EXPECT_EQ(2, potion->frameCount);
    EXPECT_EQ(EntryColour(300), FrameEntryColour(potion, 1));
    EXPECT_EQ(12, potion->frameDelay);
    EXPECT_EQ(Frames(0, 1), Sequence(potion, 0));
    EXPECT_EQ(0, potion->state);
}

TEST_F(Pool, ResetLevelPutsEveryFigureBack)
{
    heart->state = 1;
    heart->SetPosition(64, 64);
    potion->state = 1;
    hero->SetFrameDelay(2);
    hero->SetSequence(3);
    enemies[0]->SetSequence(0);
    enemies[2]->state = 2;
    enemies[2]->SetPosition(5, 5);
    enemies[2]->work[ENEMY_RETURNS_LEFT] = 0;
    enemies[2]->work[ENEMY_BUMP_COUNT] = 7;
    enemies[2]->work[ENEMY_DIGGING] = 1;
    moneyBags[7]->state = 2;
    moneyBags[7]->SetPosition(300, 300);
    moneyBags[7]->work[BAG_WOBBLE_TIME] = 9;
    SetBagFallSpeed(moneyBags[7], 9.5f);
    bombs[3]->state = 2;
    bombs[3]->SetSequence(1);
    bombs[3]->work[BOMB_FUSE] = 0;
    potionActive = 1;
    itemsLeft = 12;
    bombsOut = 1;  // the bomb above was still exploding when the level ended

    ResetLevel(4);

    EXPECT_EQ(0, bombsOut);
    EXPECT_EQ(0, heart->state);
    EXPECT_EQ(0, heart->x);
    EXPECT_EQ(0, potion->state);
    EXPECT_EQ(6, hero->frameDelay);
    EXPECT_EQ(0, hero->sequenceIndex);
    for (int i = 0; i < ENEMY_COUNT; i++) {
        const GameObject *e = enemies[i];
        EXPECT_EQ(1, e->sequenceIndex);
        EXPECT_EQ(1, e->state);
        EXPECT_EQ(768, e->x);
        EXPECT_EQ(0, e->y);
        EXPECT_EQ(50 * (i + 1), e->work[ENEMY_START_DELAY]);
        EXPECT_EQ(50, e->work[ENEMY_BUMP_COOLDOWN]);
        EXPECT_EQ(4, e->work[ENEMY_DIRECTION]);
        EXPECT_EQ(0, e->work[ENEMY_OFFSET_X]);
        EXPECT_EQ(0, e->work[ENEMY_PAUSE_TICKS]);
        EXPECT_EQ(3, e->work[ENEMY_RETURNS_LEFT]);
        EXPECT_EQ(0, e->work[ENEMY_DIGGING]);
        EXPECT_EQ(20, e->work[ENEMY_DIGGING_LEFT]);
        EXPECT_EQ(0, e->work[ENEMY_BUMP_COUNT]);
    }
    EXPECT_EQ(0, moneyBags[7]->state);
    EXPECT_EQ(224, moneyBags[7]->x);
    EXPECT_EQ(0, moneyBags[7]->y);
    EXPECT_EQ(0, moneyBags[7]->work[BAG_WOBBLE_TIME]);
    EXPECT_EQ(4.0f, BagFallSpeed(moneyBags[7]));
    for (const GameObject *b : bombs) {
        EXPECT_EQ(4, b->frameDelay);  // InitCharacters gave 6
        EXPECT_EQ(0, b->sequenceIndex);
        EXPECT_EQ(1, b->state);
        EXPECT_EQ(32, b->work[BOMB_FUSE]);
        EXPECT_EQ(16, b->work[BOMB_BLAST_TIME]);
    }
    EXPECT_EQ(0, potionActive);
    EXPECT_EQ(0, itemsLeft);
}

TEST_F(Pool, DeleteCharactersLeavesNoFigure)
{
    DeleteCharacters();
    EXPECT_EQ(nullptr, hero);
    EXPECT_EQ(nullptr, heart);
    EXPECT_EQ(nullptr, potion);
    for (GameObject *e : enemies)
        EXPECT_EQ(nullptr, e);
    for (GameObject *b : moneyBags)
        EXPECT_EQ(nullptr, b);
    for (GameObject *b : bombs)
        EXPECT_EQ(nullptr, b);
    ResetLevel(1);  // a reset without a pool does no harm
    EXPECT_EQ(0, itemsLeft);
}

TEST(NewGame, StartsAtLevelZeroWithThreeLivesAndNothingElse)
{
    score = 1234;
    lives = 1;
    currentLevel = 7;
    bombsOut = 3;
    potionActive = 1;
    keepLives = true;
    heroSpeed = 8;
    enemySpeed = 2;
    bombCapacity = 5;
    NewGameReset();
    EXPECT_EQ(0, score);
    EXPECT_EQ(3, lives);
    EXPECT_EQ(0, currentLevel);
    EXPECT_EQ(0, bombsOut);
    EXPECT_EQ(0, potionActive);
    EXPECT_FALSE(keepLives);
    EXPECT_EQ(4, heroSpeed);
    EXPECT_EQ(4, enemySpeed);
    EXPECT_EQ(5, bombCapacity);  // the menu sets it
}

TEST(LevelComplete, RunsWithoutAScreenOrSound)
{
    StartHeadlessAllegro();
    skipWaits = true;
    OpenTestLog();
    LevelDone(3);
    LevelDone(-1);
    EXPECT_EQ(std::string::npos, LogText().find("EXCEPT"));
    CloseTestLog();
    skipWaits = false;
}

// levelsetup.cpp: the figure pool, made once at start-up; putting every
// figure back at a level's start; the level-complete line.
#include "level/levelsetup.h"

#include <allegro.h>
#include <string>

#include "base/log.h"
#include "base/message.h"
#include "base/resources.h"
#include "base/sound.h"
#include "gameplay/enemies.h"
#include "gameplay/figures.h"
#include "gameplay/hero.h"
#include "map/levelmap.h"

namespace {

void Log(const char *line)
{
    if (gameLog)
        gameLog->Printf("%s", line);
}

// A 32 x 32 figure whose frames come from the given data file entries.
GameObject *MakeFigure(const int *entries, int count, int flags)
{
    GameObject *figure = new GameObject();
    if (!figure->Init(0, 0, 32, 32, count, flags, 0, 16)) {
        DeleteGameObject(figure);
        return nullptr;
    }
    for (int i = 0; i < count; i++) {
        BITMAP *picture = DataBitmap(entries[i]);
        if (picture)
            figure->SetFrame(i, picture);
    }
    return figure;
}

GameObject *MakeRunFigure(int firstEntry, int count, int flags)
{
    int entries[GO_MAX_FRAMES];
    for (int i = 0; i < count && i < GO_MAX_FRAMES; i++)
        entries[i] = firstEntry + i;
    return MakeFigure(entries, count, flags);
}

// Sequence of consecutive frames first..last.
void AddRun(GameObject *figure, int index, int first, int last)
{
    int list[GO_MAX_FRAMES];
    int n = 0;
    for (int f = first; f <= last && n < GO_MAX_FRAMES; f++)
        list[n++] = f;
    figure->AddSequence(index, n, list);
}

void ResetEnemy(int i)
{
    enemies[i]->SetSequence(DIR_RIGHT);
    enemies[i]->state = ENEMY_ACTIVE;
    SendEnemyHome(i);
    enemies[i]->work[ENEMY_RETURNS_LEFT] = 3;
}

void ResetBag(GameObject *bag, int i)
{
    bag->state = BAG_GONE;
    bag->SetPosition(i * 32, 0);
    bag->work[BAG_WOBBLE_TIME] = 0;
    SetBagFallSpeed(bag, 4.0f);
}

void ResetBomb(GameObject *bomb, int delay)
{
    bomb->SetFrameDelay(delay);
    bomb->SetSequence(BOMB_SEQ_FUSE);
    bomb->state = BOMB_IN_STOCK;
    bomb->SetPosition(0, 0);
    bomb->work[BOMB_FUSE] = 32;
    bomb->work[BOMB_BLAST_TIME] = 16;
}

const int SEQUENCE_VISIBLE = GO_SEQUENCE | GO_VISIBLE;

int CreateHero()
{
    hero = MakeRunFigure(PIC_HERO, HERO_FRAMES, SEQUENCE_VISIBLE);
    if (!hero)
        return 0;
    AddRun(hero, HERO_SEQ_STANDING, 0, 2);
    AddRun(hero, HERO_SEQ_RIGHT, 33, 40);
    AddRun(hero, HERO_SEQ_LEFT, 13, 20);
    AddRun(hero, HERO_SEQ_UP, 10, 12);
    AddRun(hero, HERO_SEQ_DOWN, 53, 54);
    AddRun(hero, HERO_SEQ_CAUGHT, 7, 9);
    AddRun(hero, HERO_SEQ_DYING, 8, 9);
    hero->SetFrameDelay(6);
    hero->SetSequence(HERO_SEQ_STANDING);
    ResetHero();
    return 1;
}

int CreateEnemies()
{
    for (int i = 0; i < ENEMY_COUNT; i++)
        enemyHomes[i] = {768, 0, 50 * (i + 1)};
    static_assert((int)ENEMY_COUNT == (int)ENEMY_KINDS, "one set of pictures per enemy");
    static const char *const lines[ENEMY_COUNT] = {"Char1 \n", "Char 2\n", "Char 3\n", "Char 4\n",
                                                   "Char 5\n"};
    for (int i = 0; i < ENEMY_COUNT; i++) {
        Log(lines[i]);
        int n = enemyFrames[i];
        GameObject *enemy = MakeRunFigure(EnemyFirstPicture(i), n, SEQUENCE_VISIBLE);
        if (!enemy)
            return 0;
        enemies[i] = enemy;
        // Left and right share the first frames evenly; down and up have
        // three frames each at the end; sequence 4 repeats down.
        int walk = (n - 6) / 2;
        AddRun(enemy, DIR_LEFT, 0, walk - 1);
        AddRun(enemy, DIR_RIGHT, walk, 2 * walk - 1);
        AddRun(enemy, DIR_DOWN, 2 * walk, 2 * walk + 2);
        AddRun(enemy, DIR_UP, 2 * walk + 3, 2 * walk + 5);
        AddRun(enemy, ENEMY_SEQ_HERO_DOWN, 2 * walk, 2 * walk + 2);
        enemy->SetFrameDelay(6);
        ResetEnemy(i);
        enemy->SetSequence(i == 0 ? DIR_LEFT : DIR_RIGHT);
    }
    return 1;
}

int CreateMoneyBags()
{
    const int entry = PIC_BAG;
    for (int i = 0; i < MONEYBAG_COUNT; i++) {
        moneyBags[i] = MakeFigure(&entry, 1, GO_STATIC | GO_VISIBLE);
        if (!moneyBags[i])
            return 0;
        moneyBags[i]->SetFrameDelay(0);
        ResetBag(moneyBags[i], i);
    }
    return 1;
}

int CreateBombs()
{
    // Three burning frames, then the blast. Its last three frames would fall
    // on the first enemy's pictures; the last blast picture is held instead.
    int entries[19];
    for (int f = 0; f < 3; f++)
        entries[f] = PIC_BOMB + f;
    for (int f = 3; f < 19; f++)
        entries[f] = f - 3 < BLAST_FRAMES ? PIC_BLAST + f - 3 : PIC_BLAST_LAST;
    for (int i = 0; i < BOMB_COUNT; i++) {
        bombs[i] = MakeFigure(entries, 19, SEQUENCE_VISIBLE);
        if (!bombs[i])
            return 0;
        AddRun(bombs[i], BOMB_SEQ_FUSE, 0, 2);
        AddRun(bombs[i], BOMB_SEQ_BLAST, 3, 18);
        ResetBomb(bombs[i], 6);
    }
    return 1;
}

int CreateHeart()
{
    heart = MakeRunFigure(PIC_HEART, HEART_FRAMES, SEQUENCE_VISIBLE);
    if (!heart)
        return 0;
    AddRun(heart, SEQ_ONLY, 0, HEART_FRAMES - 1);
    heart->SetFrameDelay(16);
    heart->SetSequence(SEQ_ONLY);
    heart->state = PICKUP_ABSENT;
    heart->SetPosition(0, 0);
    return 1;
}

int CreatePotion()
{
    potion = MakeRunFigure(PIC_POTION, POTION_FRAMES, SEQUENCE_VISIBLE);
    if (!potion)
        return 0;
    AddRun(potion, SEQ_ONLY, 0, POTION_FRAMES - 1);
    potion->SetFrameDelay(12);
    potion->SetSequence(SEQ_ONLY);
    potion->state = PICKUP_ABSENT;
    potion->SetPosition(0, 0);
    return 1;
}

}  // namespace

int InitCharacters()
{
    try {
        // Made once; a second call must not lose the first pool.
        DeleteCharacters();
        Log("Creating Zub\n");
        if (!CreateHero())
            return 0;
        Log("Creating NPCS\n");
        if (!CreateEnemies())
            return 0;
        Log("Money \n");
        if (!CreateMoneyBags())
            return 0;
        Log("Bombs\n");
        if (!CreateBombs())
            return 0;
        Log("Creating Heart\n");
        if (!CreateHeart())
            return 0;
        Log("Creating Potion\n");
        if (!CreatePotion())
            return 0;
        return 1;
    } catch (...) {
        LogExceptReport("InitCharacters");
        return 0;
    }
}

void ResetLevel(int /*level*/)
{
    try {
        if (heart) {
            heart->state = PICKUP_ABSENT;
            heart->SetPosition(0, 0);
        }
        if (potion) {
            potion->state = PICKUP_ABSENT;
            potion->SetPosition(0, 0);
        }
        if (hero) {
            hero->SetFrameDelay(6);
            hero->SetSequence(HERO_SEQ_STANDING);
            ResetHero();
        }
        for (int i = 0; i < ENEMY_COUNT; i++)
            if (enemies[i])
                ResetEnemy(i);
        for (int i = 0; i < MONEYBAG_COUNT; i++)
            if (moneyBags[i])
                ResetBag(moneyBags[i], i);
        for (GameObject *bomb : bombs)
            if (bomb)
                ResetBomb(bomb, 4);
        // Every bomb is back in the pool, so none can still count as out: a
        // bomb burning at the exit must not cost a slot for the rest of the game.
        bombsOut = 0;
        potionActive = 0;
        itemsLeft = 0;
    } catch (...) {
        LogExceptReport("ResetLevel");
    }
}

void LevelDone(int level)
{
    try {
        PlaySfx(SFX_BAG_BURSTS);
        std::string text = "CONGRATULATIONS. LEVEL " + std::to_string(level) + " COMPLETE";
        ClearScreen();
        ShowMessage(text.c_str(), 1000, 18, makecol(84, 85, 146), screen);
    } catch (...) {
        LogExceptReport("LevelDone ");
    }
}

void DeleteNpcs()
{
    DeleteGameObject(potion);
    DeleteGameObject(heart);
    for (GameObject *&bag : moneyBags)
        DeleteGameObject(bag);
    for (GameObject *&enemy : enemies)
        DeleteGameObject(enemy);
}

void DeleteBombs()
{
    for (GameObject *&bomb : bombs)
        DeleteGameObject(bomb);
}

void DeleteHero()
{
    DeleteGameObject(hero);
}

void DeleteCharacters()
{
    DeleteNpcs();
    DeleteBombs();
    DeleteHero();
}

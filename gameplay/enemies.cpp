// enemies.cpp: the five enemies: start delays, the chase decided at grid
// crossings, digging mode, flight from the potion, deaths and returns.
#include "gameplay/enemies.h"

#include <cmath>
#include <cstdlib>

#include "base/log.h"
#include "base/sound.h"
#include "gameplay/dig.h"
#include "gameplay/figures.h"
#include "gameplay/hero.h"
#include "gameplay/particles.h"
#include "gameplay/random.h"
#include "map/levelmap.h"

int RandomBelow(int n)
{
    return n > 0 ? GameRandom() % n : 0;
}

int OppositeDirection(int direction)
{
    switch (direction) {
    case DIR_LEFT: return DIR_RIGHT;
    case DIR_RIGHT: return DIR_LEFT;
    case DIR_DOWN: return DIR_UP;
    case DIR_UP: return DIR_DOWN;
    default: return GameRandom() % 3;
    }
}

bool EnemyCanMove(int direction, int column, int row)
{
    switch (direction) {
    case DIR_LEFT: column -= 1; break;
    case DIR_RIGHT: column += 1; break;
    case DIR_DOWN: row += 1; break;
    case DIR_UP: row -= 1; break;
    default: return false;
    }
    return CellInMap(column, row) && CellCode(0, column, row) == dugBlockCode &&
           CellCode(2, column, row) != BAG_START_CODE;
}

bool EnemyBumpsOther(int index)
{
    for (int i = 0; i < ENEMY_COUNT; i++)
        if (i != index && enemies[index]->Collides(enemies[i]))
            return true;
    return false;
}

// Back at home with every slot as at a (re)start; returnsLeft is the
// caller's business.
void SendEnemyHome(int index)
{
    GameObject *e = enemies[index];
    e->SetPosition(enemyHomes[index].x, enemyHomes[index].y);
    e->work[ENEMY_START_DELAY] = enemyHomes[index].startDelay;
    e->work[ENEMY_BUMP_COOLDOWN] = 50;
    e->work[ENEMY_DIRECTION] = DIR_NONE;
    e->work[ENEMY_OFFSET_X] = 0;
    e->work[ENEMY_OFFSET_Y] = 0;
    e->work[ENEMY_PAUSE_TICKS] = 0;
    e->work[ENEMY_DIGGING] = 0;
    e->work[ENEMY_DIGGING_LEFT] = 20;
    e->work[ENEMY_BUMP_COUNT] = 0;
}

void RespawnEnemy(int index)
{
    GameObject *e = enemies[index];
    if (e->work[ENEMY_RETURNS_LEFT] == 0) {
        e->state = ENEMY_INACTIVE;  // gone for the rest of the level
        return;
    }
    e->state = ENEMY_ACTIVE;
    SendEnemyHome(index);
    e->work[ENEMY_RETURNS_LEFT] -= 1;
}

void ResetEnemies()
{
    for (int i = 0; i < ENEMY_COUNT; i++) {
        if (enemies[i]->work[ENEMY_RETURNS_LEFT] != 0)
            enemies[i]->state = ENEMY_ACTIVE;
        SendEnemyHome(i);
    }
}

// The four directions, best first, for an enemy standing on a cell.
static int ChooseDirection(GameObject *e, int column, int row)
{
    int *slot = e->work;
    int towardX = hero->x >= e->x ? DIR_RIGHT : DIR_LEFT;
    int awayX = towardX == DIR_RIGHT ? DIR_LEFT : DIR_RIGHT;
    int towardY = hero->y >= e->y ? DIR_DOWN : DIR_UP;
    int awayY = towardY == DIR_DOWN ? DIR_UP : DIR_DOWN;

    int p[4];
    if (std::fabs(hero->y - e->y) > std::fabs(hero->x - e->x)) {
        p[0] = towardY;
        p[1] = towardX;
        p[2] = awayX;
        p[3] = awayY;
    } else {
        p[0] = towardX;
        p[1] = towardY;
        p[2] = awayY;
        p[3] = awayX;
    }
    if (potionActive == 1) {  // flee: the ranking turned upside down
        int t = p[0];
        p[0] = p[3];
        p[3] = t;
        t = p[1];
        p[1] = p[2];
        p[2] = t;
    }

    // Turning back is the last resort.
    int reverse = OppositeDirection(slot[ENEMY_DIRECTION]);
    for (int k = 0; k < 3; k++) {
        if (p[k] == reverse) {
            for (int m = k; m < 3; m++)
                p[m] = p[m + 1];
            p[3] = reverse;
            break;
        }
    }

    // A little unpredictability on the first levels.
    int r = RandomBelow(currentLevel + 5);
    if (r == 1 && currentLevel < 5) {
        int t = p[0];
        p[0] = p[2];
        p[2] = t;
    }

    int choice = reverse;
    for (int k = 0; k < 4; k++) {
        if (EnemyCanMove(p[k], column, row)) {
            choice = p[k];
            break;
        }
    }
    if (slot[ENEMY_DIGGING] == 1)
        choice = p[0];
    return choice;
}

static void Decide(GameObject *e, int column, int row)
{
    int *slot = e->work;
    if (slot[ENEMY_BUMP_COUNT] > 5) {
        slot[ENEMY_BUMP_COUNT] = 0;
        slot[ENEMY_DIGGING] = 1;
    }
    if (slot[ENEMY_DIGGING] != 0 && --slot[ENEMY_DIGGING_LEFT] < 0) {
        slot[ENEMY_DIGGING_LEFT] = 20;
        slot[ENEMY_DIGGING] = 0;
    }
    int choice = ChooseDirection(e, column, row);
    if (choice != slot[ENEMY_DIRECTION])
        slot[ENEMY_PAUSE_TICKS] += 1;  // a turn costs a tick
    slot[ENEMY_DIRECTION] = choice;
}

static void DigAhead(GameObject *e)
{
    int direction = e->work[ENEMY_DIRECTION];
    int px = (int)e->x, py = (int)e->y;
    if (direction == DIR_RIGHT)
        px += 31;
    if (direction == DIR_DOWN)
        py += 31;
    if ((px & ~31) > 768)
        px = 768;
    if (px < 0)
        px = 0;
    if ((py & ~31) > 512)
        py = 512;
    if (py < 0)
        py = 0;
    int column = px >> 5, row = py >> 5;

    int ground = CellCode(0, column, row);
    if (ground != dugBlockCode && ground != EXIT_CODE)  // never the exit door
        DigCell(column, row);

    int object = CellCode(2, column, row);
    if (object != GOLD_CODE && IsItem(object)) {
        SetCellCode(2, column, row, CELL_EMPTY);
        if (itemsLeft > 0)
            itemsLeft -= 1;
    }
    if (itemsLeft == 0 && !shieldsOpen)
        OpenShields();
}

void NPCAI(int index)
{
    GameObject *e = enemies[index];
    int column = (int)e->x >> 5;
    int row = (int)e->y >> 5;
    float oldX = e->x, oldY = e->y;
    try {
        int *slot = e->work;
        if (slot[ENEMY_OFFSET_X] == 0 && slot[ENEMY_OFFSET_Y] == 0)
            Decide(e, column, row);

        switch (slot[ENEMY_DIRECTION]) {
        case DIR_LEFT: e->x -= enemySpeed; break;
        case DIR_RIGHT: e->x += enemySpeed; break;
        case DIR_DOWN: e->y += enemySpeed; break;
        case DIR_UP: e->y -= enemySpeed; break;
        default: break;
        }

        // Only a digging enemy gets past the edge; it turns back there.
        int d = slot[ENEMY_DIRECTION];
        if ((d == DIR_RIGHT && column > 24) || (d == DIR_LEFT && column < 0) || (d == DIR_DOWN && row > 16) ||
            (d == DIR_UP && row < 0))
            slot[ENEMY_DIRECTION] = OppositeDirection(d);

        if (hero->state != HERO_ALIVE) {
            e->x = oldX;
            e->y = oldY;
            if (e->sequenceIndex != ENEMY_SEQ_HERO_DOWN)
                e->SetSequence(ENEMY_SEQ_HERO_DOWN);
        }

        if (slot[ENEMY_DIGGING] == 1)
            DigAhead(e);

        slot[ENEMY_OFFSET_X] = (int)e->x % 32;
        slot[ENEMY_OFFSET_Y] = (int)e->y % 32;
    } catch (...) {
        static const char dashes[] = "-----------------------------------------------------------\n";
        if (gameLog) {
            gameLog->Printf("%s", dashes);
            gameLog->Printf("NPCAI::EXCEPT - Function exited abnormally\n");
            gameLog->Printf("DUMP::\n");
            gameLog->Printf("Index = %d, PosX = %d, PosY = %d, OldX = %d, OldY = %d\n", index, column, row,
                            (int)oldX, (int)oldY);
            gameLog->Printf("%s", dashes);
        }
    }
}

// Kills by a blast; one kill per tick however many blasts overlap, so a
// dead enemy is not paid for twice.
static void BlastCheck(int index)
{
    GameObject *e = enemies[index];
    for (int b = 0; b < BOMB_COUNT; b++) {
        if (bombs[b]->state == BOMB_EXPLODING && e->Collides(bombs[b])) {
            e->state = ENEMY_INACTIVE;
            score += 1000;
            RespawnEnemy(index);
            PlaySfx(SFX_ENEMY_KILLED);
            return;
        }
    }
}

static void EnemyTick(int index)
{
    GameObject *e = enemies[index];
    int *slot = e->work;
    if (e->state != ENEMY_ACTIVE)
        return;
    if (slot[ENEMY_START_DELAY] > 0) {
        slot[ENEMY_START_DELAY] -= 1;
        return;
    }
    if (slot[ENEMY_PAUSE_TICKS] != 0) {
        slot[ENEMY_PAUSE_TICKS] -= 1;
        return;
    }

    NPCAI(index);

    int d = slot[ENEMY_DIRECTION];
    if (hero->state == HERO_ALIVE && d >= 0 && d <= 3 && e->sequenceIndex != d)
        e->SetSequence(d);

    // The potion's clock runs once per enemy on the move.
    if (potionActive == 1 && --hero->work[HERO_POTION_TIME] < 0) {
        potionActive = 0;
        hero->work[HERO_POTION_TIME] = 1024;
    }

    int column = (int)e->x >> 5, row = (int)e->y >> 5;
    if (CellCode(2, column, row) == GOLD_CODE) {
        SetCellCode(2, column, row, CELL_EMPTY);
        SpawnBurstAtCell(column, row, 1);
        PlaySfx(SFX_GOLD);
    }

    if (slot[ENEMY_BUMP_COOLDOWN] < 1) {
        if (EnemyBumpsOther(index)) {
            slot[ENEMY_DIRECTION] = OppositeDirection(slot[ENEMY_DIRECTION]);
            slot[ENEMY_BUMP_COUNT] += 1;
            slot[ENEMY_BUMP_COOLDOWN] = 25;
        }
    } else {
        slot[ENEMY_BUMP_COOLDOWN] -= 1;
    }

    BlastCheck(index);

    if (hero->state == HERO_ALIVE && e->state == ENEMY_ACTIVE && e->Collides(hero)) {
        if (potionActive == 1) {
            e->state = ENEMY_INACTIVE;
            score += 800;
            RespawnEnemy(index);
            PlaySfx(SFX_ENEMY_KILLED);
        } else {
            KillHero();
        }
    }
}

void ProcessNPCS()
{
    try {
        for (int i = 0; i < ENEMY_COUNT; i++)
            EnemyTick(i);
    } catch (...) {
        LogExceptReport("ProcessNPCS");
    }
}

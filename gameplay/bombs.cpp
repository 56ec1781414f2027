// bombs.cpp: dropped bombs with their fuse and blast, and the rotating
// picture shown while a potion is active.
#include "gameplay/bombs.h"

#include <allegro.h>

#include "base/resources.h"
#include "base/sound.h"
#include "gameplay/figures.h"

int potionEffectAngle = 0;

void DropBomb()
{
    for (int i = 0; i < BOMB_COUNT; i++) {
        GameObject *bomb = bombs[i];
        if (bomb->state != BOMB_IN_STOCK)
            continue;
        bomb->state = BOMB_BURNING;
        bomb->SetPosition((int)hero->x, (int)hero->y);
        bomb->work[BOMB_FUSE] = 32;
        bomb->work[BOMB_BLAST_TIME] = 16;
        bomb->SetSequence(BOMB_SEQ_FUSE);
        return;
    }
}

void UpdateBombs()
{
    for (int i = 0; i < BOMB_COUNT; i++) {
        GameObject *bomb = bombs[i];
        if (bomb->state == BOMB_BURNING && --bomb->work[BOMB_FUSE] < 0) {
            bomb->state = BOMB_EXPLODING;
            if (bomb->sequenceIndex != BOMB_SEQ_BLAST) {
                bomb->SetSequence(BOMB_SEQ_BLAST);
                PlaySfx(SFX_BOMB_BLAST);
            }
        }
        if (bomb->state == BOMB_EXPLODING && --bomb->work[BOMB_BLAST_TIME] < 0) {
            bomb->state = BOMB_IN_STOCK;  // back in the pool
            if (bombsOut > 0)
                bombsOut -= 1;
        }
    }
}

void DrawPotionEffect()
{
    if (potionActive != 1) {
        potionEffectAngle = 0;
        return;
    }
    if (potionEffectAngle > 256)
        potionEffectAngle = 0;
    potionEffectAngle += 4;
    BITMAP *picture = DataBitmap(PIC_POTION_SIGN);
    if (backBuffer && picture)
        rotate_sprite(backBuffer, picture, 300, 300, itofix(potionEffectAngle) / 2);
}

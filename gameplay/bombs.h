// bombs.h: dropped bombs, their fuse and blast, and the rotating potion
// indicator.
#ifndef DELVORN_BOMBS_H
#define DELVORN_BOMBS_H

extern int potionEffectAngle;

void DropBomb();
void UpdateBombs();
void DrawPotionEffect();

#endif

// STUB: replaced by the owning subsystem.
#include "gameplay/bombs.h"
int potionEffectAngle = 0;
void DropBomb() {}
void UpdateBombs() {}
void DrawPotionEffect() {}

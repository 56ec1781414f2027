// masked_sprite.h: the picture operations of the two hot paths, with the
// same results as Allegro's own. The play frame draws every cell, figure,
// particle and the backdrop as masked sprites, over a million pixels a
// frame: Allegro's generic routine tests them one by one, DrawMaskedSprite
// eight at a time. A level load fills and copies some 2,500 small frames:
// FillPicture and CopyPicture do it a row at a time, without Allegro's
// per-row bank switching.
#ifndef DELVORN_MASKED_SPRITE_H
#define DELVORN_MASKED_SPRITE_H

#include <allegro.h>

// Pixels of the sprite's mask colour are skipped; the target's clipping
// rectangle holds. Memory bitmaps of one depth (15, 16 or 32 bits) take the
// fast path, anything else goes to draw_sprite.
void DrawMaskedSprite(BITMAP *target, BITMAP *sprite, int x, int y);

// clear_to_color: the clipping rectangle filled with the colour.
void FillPicture(BITMAP *picture, int colour);

// blit(source, target, 0, 0, 0, 0, w, h).
void CopyPicture(BITMAP *source, BITMAP *target, int w, int h);

#endif

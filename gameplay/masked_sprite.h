// masked_sprite.h: draw_sprite for the play frame's hot path. Every cell,
// figure, particle and the backdrop are masked sprites on the back buffer,
// over a million pixels a frame; Allegro's generic routine tests them one
// by one, this one eight at a time. Same result as draw_sprite.
#ifndef DELVORN_MASKED_SPRITE_H
#define DELVORN_MASKED_SPRITE_H

#include <allegro.h>

// Pixels of the sprite's mask colour are skipped; the target's clipping
// rectangle holds. Memory bitmaps of one depth (15, 16 or 32 bits) take the
// fast path, anything else goes to draw_sprite.
void DrawMaskedSprite(BITMAP *target, BITMAP *sprite, int x, int y);

#endif

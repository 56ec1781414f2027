// art.h: the picture makers behind MakePicture, one per kind of picture.
#ifndef DELVORN_ART_ART_H
#define DELVORN_ART_ART_H

#include "tools/datbuild/assets.h"

Picture BlockTile(int code);               // tiles.cpp: block codes 0..73
Picture ObjectTile(int code);              // objects.cpp: object codes 0..26
Picture HeroFrame(int frame);              // hero.cpp: 0..54
Picture EnemyFrame(int enemy, int frame);  // enemies.cpp: enemy 0..4
Picture BlastFrame(int frame);             // effects.cpp: 0..12, a bomb going off
Picture HeartFrame(int frame);             // effects.cpp: 0..4, beating
Picture PotionFrame(int frame);            // effects.cpp: 0..1, bubbling
Picture SparkPicture();                    // effects.cpp: one particle
Picture PotionSigil();                     // effects.cpp: the potion-power sign
Picture MarkerFrame(int frame);            // effects.cpp: menu pointer 0..2
Picture TrophyPicture();                   // effects.cpp: high score emblem
Picture BackdropPicture();                 // scenes.cpp: 800x600 behind the level
Picture StatusPanelPicture();              // scenes.cpp: 800x55
Picture MenuPicture();                     // scenes.cpp: 800x600
Picture TitlePicture();                    // scenes.cpp: 800x600
Picture ProgressMapPicture();              // scenes.cpp: at most 600x407
Picture IconPicture(int size);             // icon.cpp: the desktop icon, size x size

// Shared drawing between the object tiles and their animated figures.
class Canvas;
void DrawHeart(Canvas &c, float cx, float cy, float scale);
void DrawBomb(Canvas &c, int fuseStage);  // 0 the pickup, 1 and 2 burning
void DrawPotion(Canvas &c);
void DrawBones(Canvas &c);                 // decor.cpp, also in the bone-earth tile
void DrawDecoration(Canvas &c, int code);  // decor.cpp: block codes 40..70, 72, 73

#endif

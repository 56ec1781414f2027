// levelsetup.h: the figure pool's creation, the reset of every figure at a
// level's start, and the level-complete line.
#ifndef DELVORN_LEVELSETUP_H
#define DELVORN_LEVELSETUP_H

int InitCharacters();
void ResetLevel(int level);
void LevelDone(int level);
// The pool's release, in the parts shutdown logs one by one: the potion,
// heart, bags and enemies; the bombs; the hero. DeleteCharacters does all.
void DeleteNpcs();
void DeleteBombs();
void DeleteHero();
void DeleteCharacters();

#endif

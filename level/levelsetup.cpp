// STUB: replaced by the owning subsystem.
#include "level/levelsetup.h"
int InitCharacters() { return 1; }
void NewGameReset() {}
void ResetLevel(int) {}
void LevelDone(int) {}
void DeleteCharacters() {}

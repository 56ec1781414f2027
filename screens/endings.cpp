// STUB: replaced by the owning subsystem.
#include "screens/endings.h"
void GameOver() {}
void GameWon() {}
void ViewCredits() {}

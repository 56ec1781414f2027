// STUB: replaced by the owning subsystem.
#include "screens/pause.h"
void PauseGame() {}
int GameHelp() { return 0; }
bool AskEditorMode() { return false; }

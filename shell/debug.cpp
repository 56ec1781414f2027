// STUB: replaced by the owning subsystem.
#include "shell/debug.h"
void DrawDebugOverlay(BITMAP *) {}
void DebugSwitch() {}
int SaveScreenshot() { return 0; }

// STUB: replaced by the owning subsystem.
#include "level/statusbar.h"
void DrawStatusBar() {}

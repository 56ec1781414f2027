// STUB: replaced by the owning subsystem.
#include "level/mapdraw.h"
void DrawPlayFrame() {}
void DrawMap() {}

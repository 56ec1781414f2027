// STUB: replaced by the owning subsystem.
#include "level/progressmap.h"
void ProcessMap() {}

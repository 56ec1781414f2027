// STUB: replaced by the owning subsystem.
#include "gameplay/moneybags.h"
void ProcessMoneyBags() {}
int CreatePathFinder() { return 1; }

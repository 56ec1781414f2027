// STUB: replaced by the owning subsystem.
#include "screens/menu.h"
int ProcessMenu() { return 4; }
void UpdateMarker() {}
bool InitObjects() { return true; }
void DeleteObjects() {}

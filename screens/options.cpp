// STUB: replaced by the owning subsystem.
#include "screens/options.h"
void MessageBox() {}

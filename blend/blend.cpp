// STUB: replaced by the owning subsystem.
#include "blend/blend.h"
void BlendToColour(BITMAP *, BITMAP *, int, int, int, int) {}
void Fade(BITMAP *, BITMAP *, int, int, int, int, int) {}

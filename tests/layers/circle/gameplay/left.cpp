// Not built: with right.cpp, a circle the layer check must refuse.
#include "right.h"

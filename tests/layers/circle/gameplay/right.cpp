// Not built: with left.cpp, a circle the layer check must refuse.
#include "left.h"

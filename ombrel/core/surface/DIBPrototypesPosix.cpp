#include "surface/DIBPrototypes.h"

cSurfaceImpl* MakeDIBPrototype(int32_t, bool) { return nullptr; }

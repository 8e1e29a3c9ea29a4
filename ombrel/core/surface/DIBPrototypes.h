// The DIB-section prototypes of the surface library, where the platform has
// DIB sections; elsewhere null (the handles stay empty).
#pragma once

#include <cstdint>

class cSurfaceImpl;

cSurfaceImpl* MakeDIBPrototype(int32_t depth, bool ownDC);

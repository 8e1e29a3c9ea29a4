#include "surface/DirectDraw.h"

cSurfaceImpl* MakeDirectDrawPrototype(bool) { return nullptr; }
bool IsDirectDrawUsable(cSurfaceImpl*) { return false; }
int32_t DirectDrawInUseDepth() { return 0; }
bool IsDirectDrawFullScreen() { return false; }
void ReleaseThreadDirectDraw() {}

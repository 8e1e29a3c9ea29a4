// The library's DirectDraw state as the rest of the library sees it: whether
// DirectDraw can be used, the depth its surfaces get, the full-screen flag,
// and the release of the calling thread's objects at shut-down. Where there is
// no DirectDraw these answer "not usable".
#pragma once

#include <cstdint>

class cSurfaceImpl;

// The DirectDraw prototypes (depth 8 until an instance is made); null where
// there is no DirectDraw.
cSurfaceImpl* MakeDirectDrawPrototype(bool systemMemory);
// True once a DirectDraw surface was made; otherwise tries a 32 x 32 one from
// `maker` under the library lock.
bool IsDirectDrawUsable(cSurfaceImpl* maker);
// The depth DirectDraw surfaces get (the display's); 0 before the first one.
int32_t DirectDrawInUseDepth();
bool IsDirectDrawFullScreen();
// Releases the calling thread's primary and DirectDraw object and forgets them.
void ReleaseThreadDirectDraw();

// The display beam that paces presents: the calling thread's DirectDraw
// object, where there is one.
#pragma once

#include <cstdint>

// Paces a present of a window whose bottom edge is at screen line `limit`
// on the thread's DirectDraw object and updates `lastPresent`; false (and
// nothing done) when the thread has none.
bool PaceOnThreadBeam(int32_t limit, uint32_t* lastPresent);

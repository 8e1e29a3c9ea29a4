// SSE2 keyed copies of the 8- and 16-bit rows (used when a surface's flag
// bit 0 is set): the same bytes as the plain per-pixel test. Internal to
// pixel/.
#pragma once

#include <cstdint>

namespace pixel {

void KeyedCopyRow8Vector(const uint8_t* src, uint8_t* dest, int32_t n, uint32_t key);
void KeyedCopyRow16Vector(const uint8_t* src, uint8_t* dest, int32_t n, uint32_t key);

}  // namespace pixel

// Byte-buffer comparison that names the first difference instead of
// printing whole buffers.
#pragma once

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

// "" when equal; otherwise the first differing offset with both bytes.
inline std::string FirstDifference(const std::vector<uint8_t>& got,
                                   const std::vector<uint8_t>& want) {
  if (got.size() != want.size()) return "sizes differ";
  for (size_t i = 0; i < got.size(); ++i)
    if (got[i] != want[i]) {
      std::ostringstream o;
      o << "byte " << i << ": got 0x" << std::hex << int(got[i]) << ", want 0x" << int(want[i]);
      return o.str();
    }
  return "";
}

// Reference model of colour-to-index lookups, written straight from the
// rules: a brute-force nearest-entry search and a model of the inverse colour
// table that replays questions in order.
#pragma once

#include <cstdint>
#include <vector>

#include "palette/PaletteTypes.h"

namespace palref {

// Squared distance over red, green and blue; an exact match returns the first
// exact entry; otherwise the nearest, ties to the later entry. Over 256
// entries black alone answers 0 and entry 0 takes no part otherwise.
int Nearest(const PaletteEntry* entries, int count, uint32_t colour);

// The inverse table of one palette as a lookup sees it: every entry's index
// written at its key in entry order (a later entry takes the key), an exact
// entry colour answered by the last entry of that colour, and a key without
// an answer filled with the nearest entry to the first colour asked there.
class InverseTableModel {
 public:
  InverseTableModel(const PaletteEntry* entries, int count);
  int Resolve(uint32_t colour);

 private:
  const PaletteEntry* entries_;
  int count_;
  std::vector<uint8_t> table_;
};

}  // namespace palref

// A shared, reference-counted 256-entry palette with a lazily built inverse
// colour table and a lazily made system palette handle.
#pragma once

#include <cstdint>

#include "OmbrelApi.h"
#include "palette/PaletteTypes.h"

struct PaletteContext;

constexpr uint32_t kInverseTableBytes = 32768;

// One heap block (MemAlloc); created only by PaletteGetShared and freed by
// its last release (or by the shutdown of its context when nobody holds it).
class cPalette {
 public:
  LogPalette log;      // all 256 entries stored whatever `count` says
  uint8_t* inverse;    // 32768 bytes by ColourKey; 0 = no answer yet; null until built.
                       // The block carries the same-key links after them: read colours
                       // through PaletteColourToIndex or NearestIndexCached, which answer
                       // an exact entry colour with its own entry.
  void* handle;        // system palette handle, owned; null until made
  int32_t blackIndex;  // entry nearest to black among 1..count-1
  int32_t refCount;    // guarded by the palette lock
  PaletteContext* owner;  // context whose list holds it; null once orphaned
};
OMB_PIN_OFFSET(cPalette, inverse, 1028);
OMB_PIN_OFFSET(cPalette, handle, 1032);
OMB_PIN_OFFSET(cPalette, blackIndex, 1036);
OMB_PIN_OFFSET(cPalette, refCount, 1040);
OMB_PIN_SIZE(cPalette, 1048);

// The index `colour` maps to in `palette`: entries named directly
// (0x01000000 + n) give n; black gives 0; otherwise through the inverse table
// when it exists, else by the nearest-entry search. Null palette: 0.
int PaletteColourToIndex(const cPalette* palette, uint32_t colour);

// The inverse table's answer for a colour key (ColourKey) when the table
// alone decides it: the key has an answer that no other entry shares; -1
// otherwise (a miss, a shared key), and for black and colours naming an entry,
// which the table does not answer: PaletteColourToIndex decides those. The
// table block holds the 32768 answers, then one bit per key set where
// entries share it.
inline int InverseTableAnswerOfKey(const uint8_t* inverse, uint32_t key) {
  const uint8_t answer = __atomic_load_n(inverse + key, __ATOMIC_RELAXED);
  const uint8_t* shared = inverse + kInverseTableBytes;
  if (answer == 0 || ((shared[key >> 3] >> (key & 7)) & 1) != 0) return -1;
  return answer;
}

// Reference count as seen now (for diagnostics and tests).
int32_t PaletteRefCount(const cPalette* palette);

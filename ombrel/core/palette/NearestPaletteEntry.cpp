#include "palette/NearestPaletteEntry.h"

int NearestPaletteEntry(const PaletteEntry* entries, int count, uint32_t colour) {
  if (entries == nullptr || count < 1) return 0;
  int first = 0;
  if (count == kPaletteEntries) {
    if ((colour & 0xFFFFFFu) == 0) return 0;
    first = 1;
  }
  const int r = int(colour & 0xFF), g = int((colour >> 8) & 0xFF), b = int((colour >> 16) & 0xFF);
  int best = first;
  int bestDistance = 0x7FFFFFFF;
  for (int i = first; i < count; ++i) {
    const int dr = int(entries[i].red) - r;
    int d = dr * dr;
    if (d > bestDistance) continue;  // partial sums only grow
    const int dg = int(entries[i].green) - g;
    d += dg * dg;
    if (d > bestDistance) continue;
    const int db = int(entries[i].blue) - b;
    d += db * db;
    if (d == 0) return i;
    if (d <= bestDistance) {
      bestDistance = d;
      best = i;
    }
  }
  return best;
}

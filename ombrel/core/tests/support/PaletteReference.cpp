#include "support/PaletteReference.h"

namespace palref {
namespace {

bool Same(PaletteEntry e, uint32_t colour) { return EntryColour(e) == (colour & 0xFFFFFF); }

uint32_t Key(uint32_t colour) {
  const uint32_t r = colour & 0xFF, g = colour >> 8 & 0xFF, b = colour >> 16 & 0xFF;
  return (r / 8) * 1024 + (g / 8) * 32 + b / 8;
}

}  // namespace

int Nearest(const PaletteEntry* e, int n, uint32_t colour) {
  int first = 0;
  if (n == 256) {
    if ((colour & 0xFFFFFF) == 0) return 0;
    first = 1;
  }
  for (int i = first; i < n; ++i)
    if (Same(e[i], colour)) return i;
  int best = first;
  long bestD = -1;
  for (int i = first; i < n; ++i) {
    const long dr = long(e[i].red) - long(colour & 0xFF);
    const long dg = long(e[i].green) - long((colour >> 8) & 0xFF);
    const long db = long(e[i].blue) - long((colour >> 16) & 0xFF);
    const long d = dr * dr + dg * dg + db * db;
    if (bestD < 0 || d <= bestD) {
      bestD = d;
      best = i;
    }
  }
  return best;
}

InverseTableModel::InverseTableModel(const PaletteEntry* entries, int count)
    : entries_(entries), count_(count), table_(32768, 0) {
  for (int i = 1; i < count; ++i) table_[Key(EntryColour(entries[i]))] = uint8_t(i);
}

int InverseTableModel::Resolve(uint32_t colour) {
  const int first = count_ == 256 ? 1 : 0;
  for (int i = count_ - 1; i >= first; --i)
    if (Same(entries_[i], colour)) return i;
  uint8_t& cell = table_[Key(colour)];
  if (cell == 0) cell = uint8_t(Nearest(entries_, count_, colour));
  return cell;
}

}  // namespace palref

// Byte-run unpacking of a client's packed image data into a buffer of a
// given capacity: the result never exceeds it, and packing the result again
// and unpacking gives the same bytes. Input: unit flags, capacity (two
// bytes), then the packed bytes.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "pixel/RunLengthPack.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  const uint32_t unit = data[0] & 7;
  const uint32_t capacity = data[1] | uint32_t(data[2]) << 8;
  std::vector<uint8_t> packed(data + 3, data + size);
  std::vector<uint8_t> out(capacity);
  const uint32_t n = RleUnpack(out.data(), capacity, packed.data(), uint32_t(packed.size()), unit);
  if (n > capacity) std::abort();
  std::vector<uint8_t> again(RlePackedSize(out.data(), n, unit));
  const uint32_t m = RlePack(again.data(), out.data(), n, unit);
  if (m != again.size()) std::abort();
  std::vector<uint8_t> back(n);
  const uint32_t whole = n - n % uint32_t(RlePackUnit(unit) == 0 ? 1 : RlePackUnit(unit));
  if (RlePackUnit(unit) == 0) return 0;
  if (RleUnpack(back.data(), n, again.data(), m, unit) != whole) std::abort();
  if (whole != 0 && std::memcmp(back.data(), out.data(), whole) != 0) std::abort();
  return 0;
}

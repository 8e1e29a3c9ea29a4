#include "pixel/RunLengthPack.h"

#include <cstring>

namespace {

constexpr uint32_t kMaxBlock = 127;

struct Units {
  const uint8_t* bytes;
  uint32_t count;
  uint32_t size;
  bool Equal(uint32_t a, uint32_t b) const {
    return std::memcmp(bytes + size_t(a) * size, bytes + size_t(b) * size, size) == 0;
  }
  // A run starts at i: three equal bytes (1-byte units) or two equal units.
  bool BeginsRun(uint32_t i) const {
    if (size == 1) return i + 2 < count && Equal(i, i + 1) && Equal(i + 1, i + 2);
    return i + 1 < count && Equal(i, i + 1);
  }
};

// Walks the packing decisions: run(first unit, n) and literal(first unit, n).
template <class Run, class Literal>
void Decide(const Units& u, Run run, Literal literal) {
  uint32_t i = 0;
  while (i < u.count) {
    uint32_t n = 1;
    while (i + n < u.count && n < kMaxBlock && u.Equal(i, i + n)) ++n;
    if (n >= 2) {
      run(i, n);
      i += n;
      continue;
    }
    n = 1;
    while (i + n < u.count && n < kMaxBlock && !u.BeginsRun(i + n)) ++n;
    literal(i, n);
    i += n;
  }
}

}  // namespace

int32_t RlePackUnit(uint32_t unitFlags) {
  if (unitFlags & 4) return 3;
  if (unitFlags & 2) return 2;
  if (unitFlags & 1) return 1;
  return 0;
}

uint32_t RlePack(uint8_t* dest, const uint8_t* src, uint32_t length, uint32_t unitFlags) {
  const uint32_t size = uint32_t(RlePackUnit(unitFlags));
  uint8_t* out = dest;
  if (size != 0 && src != nullptr) {
    const Units u{src, length / size, size};
    Decide(
        u,
        [&](uint32_t first, uint32_t n) {
          *out++ = uint8_t(n);
          std::memcpy(out, src + size_t(first) * size, size);
          out += size;
        },
        [&](uint32_t first, uint32_t n) {
          *out++ = uint8_t(0x80 + n);
          std::memcpy(out, src + size_t(first) * size, size_t(n) * size);
          out += size_t(n) * size;
        });
  }
  *out++ = 0;
  return uint32_t(out - dest);
}

uint32_t RlePackedSize(const uint8_t* src, uint32_t length, uint32_t unitFlags) {
  const uint32_t size = uint32_t(RlePackUnit(unitFlags));
  uint64_t total = 1;
  if (size != 0 && src != nullptr) {
    const Units u{src, length / size, size};
    Decide(
        u, [&](uint32_t, uint32_t) { total += 1 + size; },
        [&](uint32_t, uint32_t n) { total += 1 + uint64_t(n) * size; });
  }
  return uint32_t(total);
}

uint32_t RleUnpack(uint8_t* dest, uint32_t capacity, const uint8_t* packed, uint32_t packedLength,
                   uint32_t unitFlags) {
  const uint32_t size = uint32_t(RlePackUnit(unitFlags));
  if (size == 0 || packed == nullptr || (dest == nullptr && capacity != 0)) return 0;
  uint32_t in = 0, out = 0;
  while (in < packedLength) {
    const uint32_t control = packed[in++];
    if (control == 0) return out;
    const uint32_t n = control & 0x7F;
    const uint64_t bytes = uint64_t(n) * size;
    if (out + bytes > capacity) return 0;
    if (n == 0) {  // an empty block: nothing to write (the destination may be null)
      if (!(control & 0x80)) in += size;
      if (in > packedLength) return 0;
      continue;
    }
    if (control & 0x80) {
      if (in + bytes > packedLength) return 0;
      std::memcpy(dest + out, packed + in, size_t(bytes));
      in += uint32_t(bytes);
    } else {
      if (in + size > packedLength) return 0;
      for (uint32_t k = 0; k < n; ++k) std::memcpy(dest + out + size_t(k) * size, packed + in, size);
      in += size;
    }
    out += uint32_t(bytes);
  }
  return 0;  // no terminator
}

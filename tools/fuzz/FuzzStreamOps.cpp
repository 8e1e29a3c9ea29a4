// Operation sequences on a memory source and a memory sink: each input byte
// pair is one operation (read, read a byte, seek from an origin, write) with
// its size or offset; positions must stay inside the data at every step.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "stream/cMemorySink.h"
#include "stream/cMemorySource.h"

#define FUZZ_CHECK(c) \
  do {                \
    if (!(c)) std::abort(); \
  } while (0)

namespace {

// An operation's size or offset is its signed argument byte times this step,
// so the largest one is 128 steps (78,464 bytes): the read and write buffer
// holds that much, larger than the source's data.
constexpr int32_t kStep = 613;
constexpr size_t kLargestArg = 128 * kStep;
constexpr size_t kSourceBytes = 70000;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const uint8_t kBytes[kSourceBytes] = {};
  cMemorySource src;
  src.Attach(kBytes, static_cast<uint32_t>(size * 97 % sizeof kBytes));
  cMemorySink sink;
  std::vector<uint8_t> buffer(kLargestArg);
  for (size_t i = 0; i + 1 < size; i += 2) {
    const int32_t arg = static_cast<int8_t>(data[i + 1]) * kStep;
    switch (data[i] % 6) {
      case 0: {
        uint32_t got = 0;
        src.ReadCount(buffer.data(), static_cast<uint32_t>(arg < 0 ? -arg : arg), &got);
        break;
      }
      case 1: {
        uint8_t b = 0;
        src.ReadByte(&b);
        break;
      }
      case 2:
        src.Seek(arg, data[i] / 6 % 4);
        break;
      case 3:
        src.ReadAlloc(static_cast<uint32_t>(arg < 0 ? -arg : arg));
        break;
      case 4:
        sink.Write(buffer.data(), static_cast<uint32_t>(arg < 0 ? -arg : arg));
        break;
      default:
        sink.Seek(arg, data[i] / 6 % 4);
    }
    FUZZ_CHECK(src.Tell() <= src.GetSize());
    FUZZ_CHECK(sink.Tell() <= sink.GetSize());
  }
  return 0;
}

// The inflate job over hostile data: the input is the compressed stream; the
// output goes into a fixed 1 MiB block, so memory stays bounded whatever the
// data claims. Every outcome must be a clear code.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "compress/Compression.h"
#include "stream/cMemorySink.h"
#include "stream/cMemorySource.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > (1u << 20)) return 0;
  static std::vector<uint8_t> block(1u << 20);
  cMemorySource src;
  src.Attach(data, static_cast<uint32_t>(size));
  cMemorySink sink;
  sink.AttachFixed(block.data(), static_cast<uint32_t>(block.size()));
  const LibError e = InflateStream(&sink, &src, size % 2 ? kWholeSource : static_cast<uint32_t>(size));
  if (e != LibOk && e != ErrCompression && e != ErrBufferFull && e != ErrEndOfFile) std::abort();
  return 0;
}

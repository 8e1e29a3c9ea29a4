// Ombrel's length-prefixed block readers over the POSIX file layer. The first
// input byte picks the readers' order (two bits per read); the rest is the
// file. The heap refuses blocks above 16 MiB, as a 32-bit process would run
// out, so huge length prefixes take the out-of-memory path quickly.
#include "FuzzScratch.h"

#include "FileBlocks.h"
#include "FileIo.h"
#include "Memory.h"

#include <cstdlib>
#include <cstring>

namespace {

class CappedHeap final : public HeapBackend {
 public:
  static constexpr size_t kCap = 16u << 20;
  void* Alloc(size_t size) override { return size > kCap ? nullptr : std::malloc(size); }
  void* Calloc(size_t size) override { return size > kCap ? nullptr : std::calloc(1, size); }
  void* Realloc(void* block, size_t size) override { return size > kCap ? nullptr : std::realloc(block, size); }
  void Free(void* block) override { std::free(block); }
  int Compact() override { return 0; }
  size_t UsableSize(void*) override { return 0; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const uint8_t order = data[0];
  const std::string path = FuzzScratchDir() + "/blocks.bin";
  FuzzWriteFile(path, data + 1, size - 1);
  const OmbHandle f = FileOpen(path.c_str(), 0);
  FUZZ_CHECK(f != OmbInvalidHandle());
  CappedHeap heap;
  uint32_t position = 0;
  for (int read = 0;; ++read) {
    const int kind = (order >> (2 * (read % 4))) & 3;
    const BlockPrefix prefix = kind == 2 ? BlockPrefix::Bits32 : BlockPrefix::Bits16;
    const bool terminate = kind == 1;
    void* block = nullptr;
    const LibError e = ReadPrefixedBlock(f, prefix, terminate, heap, &block);
    if (e == LibOk) {
      const uint32_t now = FileTell(f);
      FUZZ_CHECK(block != nullptr && now > position);
      position = now;
    } else {
      FUZZ_CHECK(e == ErrEndOfFile || e == ErrOutOfMemory);
      FUZZ_CHECK(e != ErrOutOfMemory || block == nullptr);
    }
    heap.Free(block);
    if (e != LibOk) break;
    FUZZ_CHECK(read < 1 << 20);
  }
  FUZZ_CHECK(FileClose(f));
  return 0;
}

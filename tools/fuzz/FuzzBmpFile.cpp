// Ombrel's BMP reader over the POSIX file layer: the input is the file. The
// block reader runs on a heap that refuses blocks above 16 MiB (a 32-bit
// process would run out) and must never ask for more than the file holds;
// the whole load then fills a 24-bit surface or leaves it unchanged.
#include "FuzzScratch.h"

#include "FileIo.h"
#include "Memory.h"
#include "surface/BmpRead.h"
#include "surface/SurfaceHandle.h"
#include "surface/SurfaceLibrary.h"

#include <cstdlib>

namespace {

class CappedHeap final : public HeapBackend {
 public:
  static constexpr size_t kCap = 16u << 20;
  void* Alloc(size_t size) override { return Note(size) > kCap ? nullptr : std::malloc(size); }
  void* Calloc(size_t size) override { return Note(size) > kCap ? nullptr : std::calloc(1, size); }
  void* Realloc(void*, size_t) override { return nullptr; }
  void Free(void* block) override { std::free(block); }
  int Compact() override { return 0; }
  size_t UsableSize(void*) override { return 0; }
  size_t largest = 0;

 private:
  size_t Note(size_t size) {
    if (size > largest) largest = size;
    return size;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static SurfaceLibrary* library = [] {
    auto* l = new SurfaceLibrary;
    l->Init();
    return l;
  }();
  const std::string path = FuzzScratchDir() + "/image.bmp";
  FuzzWriteFile(path, data, size);
  {
    const OmbHandle f = FileOpen(path.c_str(), 0);
    FUZZ_CHECK(f != OmbInvalidHandle());
    CappedHeap heap;
    void* block = nullptr;
    const LibError e = ReadDibBlock(f, heap, &block);
    FUZZ_CHECK(heap.largest <= size);
    FUZZ_CHECK((e == LibOk) == (block != nullptr));
    heap.Free(block);
    FUZZ_CHECK(FileClose(f));
  }
  cSurfaceHandle* prototype = nullptr;
  library->GetPrototype(&prototype, 24, SurfaceTypeMemory, 0);
  cSurfaceHandle surface;
  FUZZ_CHECK(surface.Create(2, 2, prototype) != nullptr);
  const cSurfaceImpl* before = cSurfaceHandle::GetImpl(&surface);
  if (!surface.LoadBMPFile(path.c_str(), 0)) FUZZ_CHECK(cSurfaceHandle::GetImpl(&surface) == before);
  return 0;
}

#include "FileBlocks.h"

LibError ReadPrefixedBlock(OmbHandle file, BlockPrefix prefix, bool terminate, HeapBackend& heap,
                           void** out) {
  if (!out) return ErrRead;
  *out = nullptr;
  uint8_t raw[4] = {};
  const uint32_t prefixBytes = prefix == BlockPrefix::Bits16 ? 2 : 4;
  if (LibError e = FileRead(file, raw, prefixBytes)) return e;
  uint32_t n = 0;
  for (uint32_t i = prefixBytes; i-- > 0;) n = (n << 8) | raw[i];

  // The terminated form only comes with a 16-bit length, so n + 1 cannot wrap.
  const bool ok = terminate ? HeapAllocateZeroed(heap, n + 1, out) : HeapAllocate(heap, n, out);
  if (!ok) return ErrOutOfMemory;
  return FileRead(file, *out, n);
}

OMB_FLAT LibError OMB_STDCALL FileReadBlock16(OmbHandle file, void** out) {
  return ReadPrefixedBlock(file, BlockPrefix::Bits16, false, LibraryHeap(), out);
}

OMB_FLAT LibError OMB_STDCALL FileReadString16(OmbHandle file, char** out) {
  if (!out) return ErrRead;
  void* block = nullptr;
  const LibError e = ReadPrefixedBlock(file, BlockPrefix::Bits16, true, LibraryHeap(), &block);
  *out = static_cast<char*>(block);
  return e;
}

OMB_FLAT LibError OMB_STDCALL FileReadBlock32(OmbHandle file, void** out) {
  return ReadPrefixedBlock(file, BlockPrefix::Bits32, false, LibraryHeap(), out);
}

// BMP files: the 14-byte file header ("BM", file size, two reserved words,
// offset of the rows) and a packed DIB, read into and written from a surface.
#include <cstring>

#include "FileIo.h"
#include "Memory.h"
#include "surface/BmpRead.h"
#include "surface/DibLayout.h"
#include "surface/SurfaceHandle.h"

namespace {

constexpr uint32_t kFileHeaderBytes = 14;

uint32_t Le32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

void PutLe32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}

}  // namespace

LibError ReadDibBlock(OmbHandle file, HeapBackend& heap, void** out) {
  *out = nullptr;
  uint8_t start[kFileHeaderBytes];
  LibError e = FileRead(file, start, sizeof start);
  if (e != LibOk) return e;
  BitmapInfoHeader header{};
  int64_t rowOffset = -1;  // from the start of the file header; -1 for a bare header
  if (start[0] == 'B' && start[1] == 'M') {
    e = FileRead(file, &header, sizeof header);
    if (e != LibOk) return e;
    rowOffset = Le32(start + 10);
  } else if (Le32(start) == 40) {
    std::memcpy(&header, start, sizeof start);
    e = FileRead(file, reinterpret_cast<uint8_t*>(&header) + sizeof start, sizeof header - sizeof start);
    if (e != LibOk) return e;
  } else {
    return ErrInvalidData;
  }
  DibLayout layout{};
  if (CheckDibHeader(header, &layout) != LibOk) return ErrInvalidData;
  // A row offset past the table is honoured; a smaller one is not used.
  const int64_t tableEnd = (rowOffset >= 0 ? kFileHeaderBytes : 0) + 40 + layout.tableBytes;
  const int64_t gap = rowOffset > tableEnd ? rowOffset - tableEnd : 0;
  const int64_t rowBytes = layout.rows * layout.rowBytes;
  const uint32_t position = FileTell(file), size = FileGetSize(file);
  if (position == UINT32_MAX || size == UINT32_MAX || size < position ||
      int64_t(size - position) < layout.tableBytes + gap + rowBytes)
    return ErrInvalidData;
  if (!HeapAllocate(heap, uint32_t(layout.blockBytes), out)) return ErrInvalidData;
  auto* block = static_cast<uint8_t*>(*out);
  std::memcpy(block, &header, sizeof header);
  bool ok = FileRead(file, block + 40, uint32_t(layout.tableBytes)) == LibOk;
  if (ok && header.compression == kBiBitfields)
    ok = DibMasksAccepted(header.bitCount, reinterpret_cast<const uint32_t*>(block + 40));
  if (ok && gap > 0) ok = FileSeekCurrent(file, int32_t(gap)) != UINT32_MAX;
  if (ok) ok = FileRead(file, block + 40 + layout.tableBytes, uint32_t(rowBytes)) == LibOk;
  if (!ok) {
    heap.Free(*out);
    *out = nullptr;
    return ErrInvalidData;
  }
  return LibOk;
}

namespace {

// The surface as a zeroed packed DIB block (padding and unused table
// entries stay 0, so files are deterministic); null with the error set.
void* SaveDibBlock(cSurfaceHandle& surface, uint32_t options, uint32_t* size) {
  *size = surface.GetDibSize();
  void* block = nullptr;
  if (!MemCalloc(*size, &block)) {
    surface.lastError = ErrOutOfMemory;
    return nullptr;
  }
  auto* header = static_cast<BitmapInfoHeader*>(block);
  uint8_t* bits = static_cast<uint8_t*>(block) + cSurfaceHandle::DibHeaderSize(surface.GetDepth());
  if (!surface.SaveDIB(header, bits, options)) MemFree(&block);
  return block;
}

}  // namespace

int32_t cSurfaceHandle::LoadBMPFromHandle(void* file, uint32_t, uint32_t options) {
  void* block = nullptr;
  const LibError e = ReadDibBlock(file, LibraryHeap(), &block);
  if (e != LibOk) {
    lastError = e;
    return 0;
  }
  const int32_t done = LoadDIB(static_cast<const BitmapInfoHeader*>(block), nullptr, options);
  MemFree(&block);
  return done;
}

int32_t cSurfaceHandle::LoadBMPFile(const char* path, uint32_t options) {
  lastError = LibOk;
  OmbHandle file = FileOpen(path, 0);
  if (file == OmbInvalidHandle()) {
    lastError = ErrOpen;
    return 0;
  }
  const int32_t done = LoadBMPFromHandle(file, 0, options);
  FileClose(file);
  return done;
}

int32_t cSurfaceHandle::SaveBMPToHandle(void* file, uint32_t options) {
  uint32_t size = 0;
  void* block = SaveDibBlock(*this, options, &size);
  if (block == nullptr) return 0;
  lastError = FileWrite(file, block, size);
  MemFree(&block);
  return lastError == LibOk ? 1 : 0;
}

int32_t cSurfaceHandle::SaveBMPFile(const char* path, uint32_t options) {
  OmbHandle file = FileCreate(path);
  if (file == OmbInvalidHandle()) {
    lastError = ErrCreate;
    return 0;
  }
  uint32_t size = 0;
  void* block = SaveDibBlock(*this, options, &size);
  int32_t done = 0;
  if (block != nullptr) {
    uint8_t start[kFileHeaderBytes] = {'B', 'M'};
    PutLe32(start + 2, size + kFileHeaderBytes);
    PutLe32(start + 10, DibHeaderSize(GetDepth()) + kFileHeaderBytes);
    lastError = FileWrite(file, start, sizeof start);
    if (lastError == LibOk) lastError = FileWrite(file, block, size);
    done = lastError == LibOk ? 1 : 0;
    MemFree(&block);
  }
  FileClose(file);
  return done;
}

// The collision masks of images: bank rows 2 (every opaque pixel) and 3
// (top edges) hold, under the image's id, a bank header followed by the
// mask record and its bits.
#include <cstring>

#include "bank/BankStore.h"
#include "imagebank/ImageBank.h"
#include "mask/MaskBitRows.h"
#include "surface/cSurfaceImpl.h"

namespace {

constexpr uint32_t kMaskEntryHeader = sizeof(BankEntry) + sizeof(CollisionMaskHeader);

CollisionMaskHeader* RecordOf(BankEntry* entry) {
  return entry != nullptr ? reinterpret_cast<CollisionMaskHeader*>(entry + 1) : nullptr;
}

}  // namespace

CollisionMaskHeader* OMB_STDCALL ImageBuildMask(AppObject* app, uint32_t id, int32_t plane) {
  const ImageEntry* e = FindImage(app, id);
  if (e == nullptr) return nullptr;
  const int32_t row = BankRowMasksPlane0 + (plane & 1);
  const uint32_t rowBytes = maskbits::RowBytes(e->width);
  const uint64_t data = (uint64_t(rowBytes) * uint64_t(e->height) + 7) & ~uint64_t(7);
  if (data >= (uint64_t(1) << 31)) return nullptr;
  // Zero-filled: a mask whose bits cannot be built is empty.
  if (BankPut(app, row, id, kMaskEntryHeader, uint32_t(data), kBankAddZeroed, nullptr) <= 0) return nullptr;
  BankEntry* entry = BankGetEntry(app, uint32_t(row), id);
  if (entry == nullptr) return nullptr;
  entry->refs = 1;
  CollisionMaskHeader* record = RecordOf(entry);
  cSurfaceImpl* s = ImageSurface(app, e);
  if (s != nullptr) {
    // The surface writes the record's header and bits, whose size it
    // answers first.
    if (s->BuildCollisionMask(nullptr, 0) <= sizeof(CollisionMaskHeader) + data)
      s->BuildCollisionMask(record, (plane & 1) ? MaskTopEdge : 0);
    DeleteSurface(s);
  }
  record->headerSize = sizeof(CollisionMaskHeader);
  record->width = e->width;
  record->height = e->height;
  record->rowBytes = rowBytes;
  record->hotX = e->hotX;
  record->hotY = e->hotY;
  return record;
}

CollisionMaskHeader* OMB_STDCALL ImageGetMask(AppObject* app, uint32_t id, int32_t plane) {
  if (FindImage(app, id) == nullptr) return nullptr;
  const int32_t row = BankRowMasksPlane0 + (plane & 1);
  BankEntry* entry = BankGetEntry(app, uint32_t(row), id);
  if (entry != nullptr) return RecordOf(entry);
  return ImageBuildMask(app, id, plane);
}

int32_t OMB_STDCALL ImageFreeMasks(AppObject* app, uint32_t id) {
  if (FindImage(app, id) == nullptr) return 0;
  if (BankGetEntry(app, BankRowMasksPlane1, id) != nullptr) BankRelease(app, BankRowMasksPlane1, id);
  if (BankGetEntry(app, BankRowMasksPlane0, id) == nullptr) return 0;
  return BankRelease(app, BankRowMasksPlane0, id);
}

#include "bank/BankStore.h"

#include <cstring>

#include "Memory.h"
#include "app/AppHooks.h"
#include "app/AppObject.h"

namespace {

// Blocks above this many bytes are refused, whatever the platform could give.
constexpr uint64_t kLargestBlock = uint64_t(1) << 31;

bool ValidRow(const AppObject* app, int32_t row) {
  return app != nullptr && row >= 0 && row < kAppBankRows;
}

uint64_t RoundUp(uint64_t n, uint64_t step) { return (n + step - 1) / step * step; }

BankRow* NewRowTable(uint64_t capacity) {
  const uint64_t bytes = sizeof(BankRow) + capacity * sizeof(BankEntry*);
  if (bytes > kLargestBlock) return nullptr;
  void* block = nullptr;
  if (!MemCalloc(uint32_t(bytes), &block)) return nullptr;
  auto* table = static_cast<BankRow*>(block);
  table->capacity = uint32_t(capacity);
  return table;
}

// The row, made or grown so that it holds `id`; null when that cannot be done.
// A new row gets at least 256 slots, a grown one a multiple of 256.
BankRow* RowHolding(AppObject* app, int32_t row, uint64_t id) {
  BankRow*& table = app->rows[row];
  if (table == nullptr) {
    table = NewRowTable(id > kBankRowStep ? id : kBankRowStep);
    return table;
  }
  if (table->capacity >= id) return table;
  BankRow* grown = NewRowTable(RoundUp(id, kBankRowStep));
  if (grown == nullptr) return nullptr;
  const uint32_t capacity = grown->capacity;
  std::memcpy(grown, table, sizeof(BankRow));
  std::memcpy(BankSlots(grown), BankSlots(table), table->highestId * sizeof(BankEntry*));
  grown->capacity = capacity;
  void* old = table;
  MemFree(&old);
  table = grown;
  return table;
}

// A block for header + data with 8 spare bytes, rounded up to 8.
BankEntry* NewEntryBlock(uint32_t header, uint32_t data, uint32_t options) {
  const uint64_t bytes = RoundUp(uint64_t(header) + data + 8, 8);
  if (bytes > kLargestBlock) return nullptr;
  void* block = nullptr;
  const bool zeroed = (options & kBankAddZeroed) != 0;
  if (!(zeroed ? MemCalloc(uint32_t(bytes), &block) : MemAlloc(uint32_t(bytes), &block)))
    return nullptr;
  return static_cast<BankEntry*>(block);
}

void FillEntry(BankEntry* entry, uint32_t header, uint32_t data, uint32_t options,
               const void* source) {
  if (source != nullptr) {
    std::memcpy(entry, source, size_t(header) + data);
    return;
  }
  if ((options & kBankAddZeroed) == 0) std::memset(entry, 0, header);
  entry->headerSize = header;
  entry->dataSize = data;
  entry->refs = 1;
}

void FreeEntry(BankEntry*& slot) {
  void* block = slot;
  MemFree(&block);
  slot = nullptr;
}

// A sound entry may be what a channel streams from: the channels let go of
// it before it goes.
void EntryLeaving(AppObject* app, int32_t row, uint32_t id) {
  if (row == BankRowSounds) StopChannelsOfSoundEntry(app, id);
}

BankEntry** SlotOf(AppObject* app, int32_t row, uint32_t id) {
  if (!ValidRow(app, row) || id == 0) return nullptr;
  BankRow* table = app->rows[row];
  if (table == nullptr || id > table->capacity) return nullptr;
  return &BankSlots(table)[id - 1];
}

void FreeRowTable(AppObject* app, int32_t row) {
  BankRow*& table = app->rows[row];
  if (table == nullptr) return;
  EntryLeaving(app, row, 0);
  BankEntry** slots = BankSlots(table);
  for (uint32_t i = 0; i < table->highestId && i < table->capacity; ++i) FreeEntry(slots[i]);
  void* block = table;
  MemFree(&block);
  table = nullptr;
}

bool LockableRow(const AppObject* app, int32_t row) {
  return app != nullptr && (row == -1 || ValidRow(app, row));
}

}  // namespace

int32_t BankAdd(AppObject* app, int32_t row, uint32_t header, uint32_t data, uint32_t options,
                const void* source) {
  if (!ValidRow(app, row) || header < sizeof(BankEntry)) return 0;
  BankRow* table = RowHolding(app, row, 1);
  if (table == nullptr) return 0;
  uint32_t slot = 0;
  BankEntry** slots = BankSlots(table);
  while (slot < table->capacity && slots[slot] != nullptr) ++slot;
  if (slot == table->capacity) {
    table = RowHolding(app, row, uint64_t(slot) + 1);
    if (table == nullptr) return 0;
    slots = BankSlots(table);
  }
  BankEntry* entry = NewEntryBlock(header, data, options);
  if (entry == nullptr) return 0;
  FillEntry(entry, header, data, options, source);
  slots[slot] = entry;
  const uint32_t id = slot + 1;
  if (id > table->highestId) table->highestId = id;
  return int32_t(id);
}

int32_t BankPut(AppObject* app, int32_t row, uint32_t id, uint32_t header, uint32_t data,
                uint32_t options, const void* source) {
  if (!ValidRow(app, row) || id == 0 || id > INT32_MAX || header < sizeof(BankEntry)) return 0;
  BankRow* table = RowHolding(app, row, id);
  if (table == nullptr) return 0;
  BankEntry* entry = NewEntryBlock(header, data, options);
  if (entry == nullptr) return 0;
  BankEntry*& slot = BankSlots(table)[id - 1];
  int32_t refs = 0;
  if (slot != nullptr) {
    refs = slot->refs;
    EntryLeaving(app, row, id);
    FreeEntry(slot);
  }
  FillEntry(entry, header, data, options, source);
  entry->refs = refs;
  slot = entry;
  if (id > table->highestId) table->highestId = id;
  return int32_t(id);
}

int32_t BankAddRef(AppObject* app, int32_t row, uint32_t id) {
  BankEntry** slot = SlotOf(app, row, id);
  if (slot == nullptr || *slot == nullptr) return 0;
  return ++(*slot)->refs;
}

int32_t BankRelease(AppObject* app, int32_t row, uint32_t id) {
  BankEntry** slot = SlotOf(app, row, id);
  if (slot == nullptr) return -1;
  BankEntry*& entry = *slot;
  if (entry == nullptr) return 0;
  if (entry->refs > 0) --entry->refs;
  if (entry->refs > 0) return entry->refs;
  EntryLeaving(app, row, id);
  FreeEntry(entry);
  return 0;
}

int32_t BankFindSame(AppObject* app, int32_t row, const BankEntry* entry) {
  if (!ValidRow(app, row) || entry == nullptr || app->rows[row] == nullptr) return 0;
  if (uint64_t(entry->headerSize) + entry->dataSize < sizeof(BankEntry)) return 0;
  BankRow* table = app->rows[row];
  BankEntry** slots = BankSlots(table);
  const uint32_t compared = entry->headerSize + entry->dataSize - uint32_t(sizeof(BankEntry));
  for (uint32_t i = 0; i < table->highestId; ++i) {
    const BankEntry* other = slots[i];
    if (other == nullptr || other == entry) continue;
    if (other->checksum != entry->checksum || other->dataSize != entry->dataSize ||
        other->headerSize != entry->headerSize)
      continue;
    if (BankCompare(other + 1, entry + 1, compared) == 0) return int32_t(i + 1);
  }
  return 0;
}

uint32_t BankChecksum(const void* bytes, uint32_t count) {
  const auto* p = static_cast<const uint8_t*>(bytes);
  uint16_t sum = 0;
  for (uint32_t i = 0; i < count; ++i) {
    sum = uint16_t(sum + p[i]);
    sum = uint16_t(sum << 1 | sum >> 15);
  }
  return sum;
}

int32_t BankCompare(const void* a, const void* b, uint32_t count) {
  return count == 0 || std::memcmp(a, b, count) == 0 ? 0 : 1;
}

OMB_FLAT int32_t OMB_STDCALL BankFreeRow(AppObject* app, int32_t row) {
  if (app == nullptr) return 0;
  if (ValidRow(app, row)) {
    FreeRowTable(app, row);
    // An image's masks are keyed by its id: they must not outlive the images.
    if (row == BankRowImages) {
      FreeRowTable(app, BankRowMasksPlane0);
      FreeRowTable(app, BankRowMasksPlane1);
    }
  }
  return HeapCompact();
}

OMB_FLAT int32_t OMB_STDCALL BankLockRow(AppObject* app, int32_t row) {
  if (!LockableRow(app, row)) return 0;
  if (row >= 0 && app->rows[row] != nullptr) app->rows[row]->flags |= 1u;
  HeapLock();
  return 0;
}

OMB_FLAT int32_t OMB_STDCALL BankUnlockRow(AppObject* app, int32_t row) {
  if (!LockableRow(app, row)) return 0;
  if (row >= 0 && app->rows[row] != nullptr) app->rows[row]->flags &= ~1u;
  HeapUnlock();
  return 0;
}

OMB_FLAT int32_t OMB_STDCALL BankCompactHeap(int32_t, int32_t) {
  HeapCompact();
  return 0;
}

OMB_FLAT BankEntry* OMB_STDCALL BankGetEntry(AppObject* app, uint32_t row, uint32_t id) {
  if (app == nullptr || row >= uint32_t(kAppBankRows) || id == 0) return nullptr;
  BankRow* table = app->rows[row];
  if (table == nullptr || id > table->highestId) return nullptr;
  return BankSlots(table)[id - 1];
}

OMB_FLAT int32_t OMB_STDCALL BankGetCount(AppObject* app, uint32_t row) {
  if (app == nullptr || row >= uint32_t(kAppBankRows) || app->rows[row] == nullptr) return 0;
  return int32_t(app->rows[row]->highestId);
}

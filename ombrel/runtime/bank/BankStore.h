// The bank store: six rows per application, each a table of reference-counted
// entries addressed by 1-based ids. Every entry is one heap block that starts
// with a common header; the image, sound, font and mask banks put their own
// header fields and data after it. Identical entries can be found by checksum
// and content, so those banks can share one copy.
#pragma once

#include <cstdint>

#include "OmbrelApi.h"

struct AppObject;

constexpr uint32_t kBankRowStep = 256;    // slots are added in steps of this
constexpr uint32_t kBankAddZeroed = 0x40; // BankAdd/BankPut option: zero-fill the block

// The first words of every entry.
struct BankEntry {
  uint32_t headerSize;  // bytes from the start of the entry to its data
  uint32_t dataSize;    // bytes of data after the header
  int32_t refs;         // reference count
  uint32_t checksum;    // row-specific; the sharing banks keep BankChecksum here
};
OMB_PIN_SIZE(BankEntry, 16);

// A row's table: this header, then `capacity` entry pointers (slot i holds id i + 1).
struct BankRow {
  uint32_t highestId;  // highest id ever stored (not lowered when entries go)
  uint32_t capacity;   // slots: 256 at first, then multiples of 256
  uint32_t flags;      // bit 0: locked by the host (nothing in the library reads it)
  uint32_t reserved;
};
OMB_PIN_SIZE(BankRow, 16);

inline BankEntry** BankSlots(BankRow* row) { return reinterpret_cast<BankEntry**>(row + 1); }

// Internal operations of the banks. Every one refuses (0, null or -1) a null
// app, a row outside 0..5, an id of 0 and a failed allocation.
// New entry of `header` + `data` bytes in the first free slot (the row grows
// when full). With `source`, header and data are copied from it as they are;
// without, the header is zeroed and its first three words set (refs 1).
// Headers shorter than the common header are refused. Returns the new id.
int32_t BankAdd(AppObject* app, int32_t row, uint32_t header, uint32_t data, uint32_t options,
                const void* source);
// As BankAdd at a given id, replacing what is there; the new entry keeps the
// old one's reference count (0 for an empty slot). Returns the id.
int32_t BankPut(AppObject* app, int32_t row, uint32_t id, uint32_t header, uint32_t data,
                uint32_t options, const void* source);
// New reference count; 0 when there is no entry.
int32_t BankAddRef(AppObject* app, int32_t row, uint32_t id);
// Drops one reference and frees the entry at 0 (an entry already at 0 goes
// with one release). The remaining count; 0 for an empty slot; -1 for a bad
// row or id or a row not made yet.
int32_t BankRelease(AppObject* app, int32_t row, uint32_t id);
// Id of the first other entry of the row with the same checksum, sizes and
// bytes from offset 16 to the end of its data; 0 when none.
int32_t BankFindSame(AppObject* app, int32_t row, const BankEntry* entry);
// 16-bit sum of the bytes, rotated left by one after each byte.
uint32_t BankChecksum(const void* bytes, uint32_t count);
// 0 when the count bytes are equal, 1 otherwise.
int32_t BankCompare(const void* a, const void* b, uint32_t count);

// Flat functions.
// Frees every entry and the table of a row (0..5; row 0 takes the image
// masks of rows 2 and 3 with it); returns the heap compaction's result.
OMB_FLAT int32_t OMB_STDCALL BankFreeRow(AppObject* app, int32_t row);
// Marks a row locked (0..5) and takes the library heap lock; -1 takes only
// the heap lock. Other rows do nothing. Returns 0.
OMB_FLAT int32_t OMB_STDCALL BankLockRow(AppObject* app, int32_t row);
OMB_FLAT int32_t OMB_STDCALL BankUnlockRow(AppObject* app, int32_t row);
OMB_FLAT int32_t OMB_STDCALL BankCompactHeap(int32_t, int32_t);
// The entry of an id up to the row's highest id, or null.
OMB_FLAT BankEntry* OMB_STDCALL BankGetEntry(AppObject* app, uint32_t row, uint32_t id);
// The row's highest id; 0 without row.
OMB_FLAT int32_t OMB_STDCALL BankGetCount(AppObject* app, uint32_t row);

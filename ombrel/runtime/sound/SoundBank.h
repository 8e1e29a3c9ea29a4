// The sound bank: bank row 1 of an application, one entry per sound (a
// sample's file bytes, a MIDI file name, or a reference to the bytes in a
// file), and the flat functions that add, share, describe and find them.
#pragma once

#include <cstdint>

#include "OmbrelApi.h"
#include "bank/BankStore.h"

struct AppObject;

// Type bits of a sound entry.
enum : uint32_t {
  SoundKindMask = 0xF,
  SoundKindSample = 1,
  SoundKindMidi = 2,
  SoundTypeInFile = 0x10,     // data: a SoundFileBlock, loaded on first play
  SoundTypeStreamed = 0x20,   // data: a SoundFileRange, streamed from the file
  SoundTypeShare = 0x10000,   // SoundAdd: share an identical entry
};

struct SoundEntry {
  BankEntry bank;     // checksum: BankChecksum of the bytes from offset 16 to the end of the data
  uint32_t type;      // low 16 bits of the type given
  uint32_t zero;
  uint32_t nameSize;  // (name length + 4) rounded down to a multiple of 4
  char name[4];       // nameSize bytes, zero-terminated and padded
};
OMB_PIN_SIZE(SoundEntry, 32);
constexpr uint32_t kSoundEntryFixed = 28;

// Data of a type 0x10 entry: at `offset` the file holds `namePrefix` bytes of
// name, then the sound's bytes (a 32-bit compressed length and a zlib stream
// when `compressed`).
struct SoundFileBlock {
  uintptr_t file;  // a file handle (32 bits in the library)
  uint32_t offset;
  uint32_t byteCount;
  uint32_t namePrefix;
  uint32_t compressed;
};
OMB_PIN_SIZE(SoundFileBlock, 20);

// Data of a type 0x20 entry: the sound's bytes run from offset + namePrefix to
// offset + byteCount of the open file, or of the file at `path` when the
// handle is invalid.
struct SoundFileRange {
  uintptr_t file;
  uint32_t offset;
  uint32_t byteCount;
  uint32_t namePrefix;
  uint32_t unused;
  const char* path;
};

struct SoundInfo {
  uint32_t checksum;
  int32_t refs;
  uint32_t sizeWithName;  // data size + nameSize
  uint32_t type;
  uint32_t zero;
  uint32_t nameSize;
};
OMB_PIN_SIZE(SoundInfo, 24);

// The entry of a sound id (below 0x10000), or null.
SoundEntry* FindSoundEntry(AppObject* app, uintptr_t id);
inline uint8_t* SoundData(SoundEntry* e) { return reinterpret_cast<uint8_t*>(e) + e->bank.headerSize; }

OMB_FLAT int32_t OMB_STDCALL SoundAdd(AppObject* app, uint32_t type, const char* name, const void* data,
                                      uint32_t size);
OMB_FLAT int32_t OMB_STDCALL SoundPut(AppObject* app, uint32_t type, int32_t id, const char* name,
                                      const void* data, uint32_t size);
OMB_FLAT int32_t OMB_STDCALL SoundAddRef(AppObject* app, int32_t id);
OMB_FLAT int32_t OMB_STDCALL SoundRelease(AppObject* app, int32_t id);
OMB_FLAT int32_t OMB_STDCALL SoundGetInfo(AppObject* app, int32_t id, SoundInfo* out);
OMB_FLAT uint32_t OMB_STDCALL SoundGetData(AppObject* app, int32_t id, void* buffer);
OMB_FLAT void* OMB_STDCALL SoundGetDataPointer(AppObject* app, int32_t id);
// Copies at most `length` characters of the name, as strncpy does (no
// terminator when the name is that long or longer).
OMB_FLAT int32_t OMB_STDCALL SoundGetName(AppObject* app, int32_t id, char* buffer, int32_t length);
OMB_FLAT int32_t OMB_STDCALL SoundSetType(AppObject* app, int32_t id, uint32_t type);
OMB_FLAT int32_t OMB_STDCALL SoundFind(AppObject* app, int32_t kind, const char* name);

#include "sound/SoundBank.h"

#include <cstddef>
#include <cstring>

#include "app/AppObject.h"
#include "sound/SoundText.h"

namespace {

constexpr uint32_t kChecksumFrom = 16;

uint32_t NameSize(const char* name) { return static_cast<uint32_t>(std::strlen(name ? name : "")) / 4 * 4 + 4; }

// Fills a zeroed entry: type, name, data and checksum.
void FillEntry(SoundEntry* e, uint32_t type, const char* name, uint32_t nameSize, const void* data, uint32_t size) {
  e->type = type & 0xFFFF;
  e->nameSize = nameSize;
  if (name) std::memcpy(e->name, name, std::strlen(name));
  if (data && size) std::memcpy(SoundData(e), data, size);
  e->bank.checksum = BankChecksum(reinterpret_cast<uint8_t*>(e) + kChecksumFrom,
                                  e->bank.headerSize - kChecksumFrom + e->bank.dataSize);
}

}  // namespace

SoundEntry* FindSoundEntry(AppObject* app, uintptr_t id) {
  if (!app || id == 0 || id >= 0x10000) return nullptr;
  return reinterpret_cast<SoundEntry*>(BankGetEntry(app, BankRowSounds, static_cast<uint32_t>(id)));
}

OMB_FLAT int32_t OMB_STDCALL SoundAdd(AppObject* app, uint32_t type, const char* name, const void* data,
                                      uint32_t size) {
  if (!app) return 0;
  const uint32_t nameSize = NameSize(name);
  const int32_t id = BankAdd(app, BankRowSounds, kSoundEntryFixed + nameSize, size, kBankAddZeroed, nullptr);
  SoundEntry* e = FindSoundEntry(app, static_cast<uint32_t>(id));
  if (!e) return 0;
  FillEntry(e, type, name, nameSize, data, size);
  if (type & SoundTypeShare) {
    if (const int32_t same = BankFindSame(app, BankRowSounds, &e->bank)) {
      BankAddRef(app, BankRowSounds, static_cast<uint32_t>(same));
      BankRelease(app, BankRowSounds, static_cast<uint32_t>(id));
      return same;
    }
  }
  return id;
}

OMB_FLAT int32_t OMB_STDCALL SoundPut(AppObject* app, uint32_t type, int32_t id, const char* name,
                                      const void* data, uint32_t size) {
  if (!app || id <= 0 || id >= 0x10000) return 0;
  const uint32_t nameSize = NameSize(name);
  if (BankPut(app, BankRowSounds, static_cast<uint32_t>(id), kSoundEntryFixed + nameSize, size, kBankAddZeroed,
              nullptr) != id)
    return 0;
  SoundEntry* e = FindSoundEntry(app, static_cast<uint32_t>(id));
  if (!e) return 0;
  FillEntry(e, type, name, nameSize, data, size);
  return id;
}

OMB_FLAT int32_t OMB_STDCALL SoundAddRef(AppObject* app, int32_t id) {
  return app && id > 0 ? BankAddRef(app, BankRowSounds, static_cast<uint32_t>(id)) : 0;
}

OMB_FLAT int32_t OMB_STDCALL SoundRelease(AppObject* app, int32_t id) {
  return app && id > 0 ? BankRelease(app, BankRowSounds, static_cast<uint32_t>(id)) : 0;
}

OMB_FLAT int32_t OMB_STDCALL SoundGetInfo(AppObject* app, int32_t id, SoundInfo* out) {
  SoundEntry* e = id > 0 ? FindSoundEntry(app, static_cast<uint32_t>(id)) : nullptr;
  if (!e || !out) return 0;
  *out = SoundInfo{e->bank.checksum, e->bank.refs, e->bank.dataSize + e->nameSize, e->type, 0, e->nameSize};
  return 1;
}

OMB_FLAT uint32_t OMB_STDCALL SoundGetData(AppObject* app, int32_t id, void* buffer) {
  SoundEntry* e = id > 0 ? FindSoundEntry(app, static_cast<uint32_t>(id)) : nullptr;
  if (!e) return 0;
  if (buffer) std::memcpy(buffer, SoundData(e), e->bank.dataSize);
  return e->bank.dataSize;
}

OMB_FLAT void* OMB_STDCALL SoundGetDataPointer(AppObject* app, int32_t id) {
  SoundEntry* e = id > 0 ? FindSoundEntry(app, static_cast<uint32_t>(id)) : nullptr;
  return e ? SoundData(e) : nullptr;
}

OMB_FLAT int32_t OMB_STDCALL SoundGetName(AppObject* app, int32_t id, char* buffer, int32_t length) {
  SoundEntry* e = id > 0 ? FindSoundEntry(app, static_cast<uint32_t>(id)) : nullptr;
  if (!e || !buffer || length < 0) return 0;
  std::strncpy(buffer, e->name, static_cast<size_t>(length));
  return 1;
}

OMB_FLAT int32_t OMB_STDCALL SoundSetType(AppObject* app, int32_t id, uint32_t type) {
  SoundEntry* e = id > 0 ? FindSoundEntry(app, static_cast<uint32_t>(id)) : nullptr;
  if (!e) return 0;
  e->type = ((e->type & SoundKindMask) | (type & ~SoundKindMask)) & 0xFFFF;
  return 1;
}

OMB_FLAT int32_t OMB_STDCALL SoundFind(AppObject* app, int32_t kind, const char* name) {
  if (!app || !name) return 0;
  const int32_t count = BankGetCount(app, BankRowSounds);
  for (int32_t id = 1; id <= count && id < 0x10000; ++id) {
    SoundEntry* e = FindSoundEntry(app, static_cast<uint32_t>(id));
    if (e && static_cast<int32_t>(e->type & SoundKindMask) == kind && SameSoundName(e->name, name)) return id;
  }
  return 0;
}

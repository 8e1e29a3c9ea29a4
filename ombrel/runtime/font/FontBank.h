// The font bank: bank row 5 of an application holds font descriptions, one
// LOGFONTA per reference-counted entry, shared between identical ones on
// request. Hosts make system fonts from them when they draw text.
#pragma once

#include <cstdint>

#include "OmbrelApi.h"
#include "bank/BankStore.h"
#include "font/LogFont.h"

struct AppObject;

// Entry of row 5: the common header, a reserved word and the description.
struct FontEntry {
  BankEntry bank;  // checksum: over the 64 bytes from `reserved`
  uint32_t reserved;
  LogFontA logFont;
};
static_assert(sizeof(FontEntry) == 80, "FontEntry layout");

// What FontAdd reads and FontGetInfo writes.
struct FontInfo {
  uint32_t checksum;
  int32_t refs;
  uint32_t dataSize;
  LogFontA logFont;
};
static_assert(sizeof(FontInfo) == 72, "FontInfo layout");

// Option of FontAdd: share an entry with the same description.
constexpr uint32_t kFontAddShare = 0x100;

// New font entry from the description in `info`; with kFontAddShare an
// identical entry gets a reference instead. The id, 0 on failure (also for
// an id that does not fit the 16 bits of the result).
OMB_FLAT int32_t OMB_STDCALL FontAdd(AppObject* app, uint32_t options, const FontInfo* info, int32_t,
                                     int32_t);
OMB_FLAT int32_t OMB_STDCALL FontRelease(AppObject* app, int32_t id);
OMB_FLAT int32_t OMB_STDCALL FontAddRef(AppObject* app, int32_t id);
// 1 and the record filled; 0 when there is no such font.
OMB_FLAT int32_t OMB_STDCALL FontGetInfo(AppObject* app, int32_t id, FontInfo* out, int32_t);
// A system font of the entry's description (the caller's), or null.
OMB_FLAT void* OMB_STDCALL FontCreateHandle(AppObject* app, int32_t id);
OMB_FLAT void OMB_STDCALL LogFontFrom16(LogFontA* out, const LogFont16* font);
OMB_FLAT void OMB_STDCALL LogFontTo16(LogFont16* out, const LogFontA* font);
OMB_FLAT void* OMB_STDCALL FontCreateFrom16(const LogFont16* font);

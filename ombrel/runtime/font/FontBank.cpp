#include "font/FontBank.h"

#include <cstring>

#include "app/AppObject.h"

namespace {

constexpr uint32_t kChecksumOffset = 16;
constexpr uint32_t kChecksumBytes = sizeof(FontEntry) - kChecksumOffset;

FontEntry* FindFont(AppObject* app, int32_t id) {
  if (id <= 0) return nullptr;
  return reinterpret_cast<FontEntry*>(BankGetEntry(app, BankRowFonts, uint32_t(id)));
}

}  // namespace

OMB_FLAT int32_t OMB_STDCALL FontAdd(AppObject* app, uint32_t options, const FontInfo* info, int32_t,
                                     int32_t) {
  if (app == nullptr || info == nullptr) return 0;
  const int32_t id = BankAdd(app, BankRowFonts, sizeof(FontEntry), 0, kBankAddZeroed, nullptr);
  FontEntry* entry = FindFont(app, id);
  if (entry == nullptr) return 0;
  entry->logFont = info->logFont;
  entry->bank.checksum = BankChecksum(&entry->reserved, kChecksumBytes);
  int32_t result = id;
  if ((options & kFontAddShare) != 0) {
    const int32_t same = BankFindSame(app, BankRowFonts, &entry->bank);
    if (same != 0) {
      BankAddRef(app, BankRowFonts, uint32_t(same));
      BankRelease(app, BankRowFonts, uint32_t(id));
      result = same;
    }
  }
  // Hosts keep font ids in 16 bits: a larger id would name another font.
  if (result > 0xFFFF) {
    BankRelease(app, BankRowFonts, uint32_t(result));
    return 0;
  }
  return result;
}

OMB_FLAT int32_t OMB_STDCALL FontRelease(AppObject* app, int32_t id) {
  if (app == nullptr) return 0;
  return BankRelease(app, BankRowFonts, uint32_t(id));
}

OMB_FLAT int32_t OMB_STDCALL FontAddRef(AppObject* app, int32_t id) {
  if (app == nullptr) return 0;
  return BankAddRef(app, BankRowFonts, uint32_t(id));
}

OMB_FLAT int32_t OMB_STDCALL FontGetInfo(AppObject* app, int32_t id, FontInfo* out, int32_t) {
  FontEntry* entry = FindFont(app, id);
  if (entry == nullptr || out == nullptr) return 0;
  std::memset(out, 0, sizeof(*out));
  out->checksum = entry->bank.checksum;
  out->refs = entry->bank.refs;
  out->dataSize = entry->bank.dataSize;
  out->logFont = entry->logFont;
  return 1;
}

OMB_FLAT void* OMB_STDCALL FontCreateHandle(AppObject* app, int32_t id) {
  FontEntry* entry = FindFont(app, id);
  return entry != nullptr ? CreateSystemFont(entry->logFont) : nullptr;
}

OMB_FLAT void OMB_STDCALL LogFontFrom16(LogFontA* out, const LogFont16* font) {
  if (out == nullptr || font == nullptr) return;
  out->height = font->height;
  out->width = font->width;
  out->escapement = font->escapement;
  out->orientation = font->orientation;
  out->weight = font->weight;
  out->style = font->style;
}

OMB_FLAT void OMB_STDCALL LogFontTo16(LogFont16* out, const LogFontA* font) {
  if (out == nullptr || font == nullptr) return;
  out->height = int16_t(font->height);
  out->width = int16_t(font->width);
  out->escapement = int16_t(font->escapement);
  out->orientation = int16_t(font->orientation);
  out->weight = int16_t(font->weight);
  out->style = font->style;
}

OMB_FLAT void* OMB_STDCALL FontCreateFrom16(const LogFont16* font) {
  if (font == nullptr) return nullptr;
  LogFontA wide{};
  LogFontFrom16(&wide, font);
  return CreateSystemFont(wide);
}

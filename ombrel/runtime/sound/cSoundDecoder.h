// The base class of every sound decoder a "*.sft" plug-in makes for a stream.
// The plug-in reads its format (slots 1 to 7) and fills the source format when
// it opens a stream; the base converts what it reads to the output format the
// player asks for. Exported: 64 bytes (table pointer, two packed 18-byte
// formats, then 32-bit fields) and 9 slots in this order (MSVC object model:
// slot 0 `Destruct(flags)`).
#pragma once

#include <cstdint>

#include "Memory.h"
#include "OmbrelApi.h"
#include "sound/SampleConverters.h"
#include "sound/SoundFormat.h"

class cByteSource;

class cSoundDecoder {
 public:
  // Inline like the destructor: plug-ins deriving from the class build the
  // base part themselves and import only exported names.
  cSoundDecoder() : outputFormat{}, sourceFormat{} {}
  // A copy has its own conversion buffer.
  cSoundDecoder(const cSoundDecoder& other);
  cSoundDecoder& operator=(const cSoundDecoder& other);
  [[gnu::used]] ~cSoundDecoder() { FreeOwned(conversionBuffer); }

  // Objects live in MemAlloc blocks: bit 0 of flags frees the storage. A
  // decoder with members of its own overrides it.
  virtual void Destruct(uint32_t flags) {                                               // 0
    this->cSoundDecoder::~cSoundDecoder();
    if (flags & 1) FreeStorage(this);
  }
  virtual void Release() = 0;                                                           // 1
  // 0 when the stream is accepted (the source format is then filled).
  virtual int32_t Open(cByteSource* source) = 0;                                        // 2
  virtual void Close() = 0;                                                             // 3
  // Length of the sound in bytes of the source format.
  virtual uint32_t GetLength() = 0;                                                     // 4
  virtual int32_t Reserved() = 0;                                                       // 5: never called
  virtual int32_t Seek(uint32_t bytes) = 0;                                             // 6
  // 0 on success; *count = bytes delivered (fewer at the end of the data).
  virtual int32_t Read(void* buffer, uint32_t bytes, uint32_t* count) = 0;              // 7
  virtual void SetOutputFormat(const SoundFormat* format) OMB_EXPORT_AS(cSoundDecoder_SetOutputFormat);  // 8

  SoundFormat* GetSourceFormat() OMB_EXPORT_AS(cSoundDecoder_GetSourceFormat);
  SoundFormat* GetOutputFormat() OMB_EXPORT_AS(cSoundDecoder_GetOutputFormat);
  // Reads up to `bytes` bytes of the output format. With a conversion it reads
  // at most the conversion buffer at a time, converts only whole frames and
  // reports the output bytes written (never more than `bytes`).
  int32_t ReadConverted(void* buffer, uint32_t bytes, uint32_t* count) OMB_EXPORT_AS(cSoundDecoder_ReadConverted);

  // Public: plug-ins built elsewhere fill the source format in place.
  SoundFormat outputFormat;
  SoundFormat sourceFormat;
  int32_t converting = 0;
  float ratio = 1.0f;  // output bytes per source byte
  uint8_t* conversionBuffer = nullptr;
  SampleConverter converter = nullptr;
  uint32_t frameStep = 1;
  uint32_t frameRepeat = 1;

 protected:
  static void FreeStorage(void* self) { MemFree(&self); }
  template <typename T>
  static void FreeOwned(T*& block) {
    if (!block) return;
    void* p = block;
    MemFree(&p);
    block = nullptr;
  }

 private:
  void CopyFrom(const cSoundDecoder& other);
  static void CheckLayout();
};
OMB_PIN_SIZE(cSoundDecoder, 64);

// Finds the decoder for a stream among a registry's plug-ins: the first, in
// list order, whose CanReadFile accepts the stream and whose decoder opens it;
// the stream is put back where it was before each question. The decoder's
// output format is its source format. Null when none.
class cSoundPluginRegistry;
OMB_FLAT cSoundDecoder* OMB_STDCALL FindSoundDecoder(cSoundPluginRegistry* registry, cByteSource* source);

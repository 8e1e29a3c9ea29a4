// The library's abstract input stream. Plug-ins receive sources and call them
// through the table by slot number, so the slot order below is part of the
// exported interface (MSVC object model, see docs/ABI.md): slot 0 is
// `Destruct(flags)` (destroys, and frees the storage when bit 0 is set),
// slot 1 `Delete()` is `Destruct(1)`.
#pragma once

#include <cstdint>

#include "FileIo.h"
#include "LibError.h"
#include "OmbrelApi.h"

// Seek origins shared by sources and sinks.
enum : uint32_t { SeekStart = 0, SeekCurrent = 1, SeekEnd = 2 };

class cByteSource {
 public:
  cByteSource() = default;
  cByteSource(const cByteSource&) {}  // the base holds nothing but the table
  cByteSource& operator=(const cByteSource& other);
  ~cByteSource();

  virtual void Destruct(uint32_t flags);                                           // 0
  virtual void Delete() OMB_EXPORT_AS(cByteSource_Delete);                         // 1
  virtual LibError ReadCount(void* buffer, uint32_t n, uint32_t* count) = 0;       // 2
  virtual LibError Read(void* buffer, uint32_t n) = 0;                             // 3
  virtual LibError ReadByte(uint8_t* out) = 0;                                     // 4
  virtual LibError ReadWordLE(uint16_t* out) OMB_EXPORT_AS(cByteSource_ReadWordLE);    // 5
  virtual LibError ReadDwordLE(uint32_t* out) OMB_EXPORT_AS(cByteSource_ReadDwordLE);  // 6
  virtual LibError ReadWordBE(uint16_t* out) OMB_EXPORT_AS(cByteSource_ReadWordBE);    // 7
  virtual LibError ReadDwordBE(uint32_t* out) OMB_EXPORT_AS(cByteSource_ReadDwordBE);  // 8
  virtual LibError ReadIntLE(int32_t* out) OMB_EXPORT_AS(cByteSource_ReadIntLE);       // 9
  virtual LibError ReadIntBE(int32_t* out) OMB_EXPORT_AS(cByteSource_ReadIntBE);       // 10
  virtual LibError ReadWordsLE(uint16_t* array, uint32_t n) OMB_EXPORT_AS(cByteSource_ReadWordsLE);    // 11
  virtual LibError ReadDwordsLE(uint32_t* array, uint32_t n) OMB_EXPORT_AS(cByteSource_ReadDwordsLE);  // 12
  virtual LibError ReadIntsLE(int32_t* array, uint32_t n) OMB_EXPORT_AS(cByteSource_ReadIntsLE);       // 13
  virtual LibError ReadWordsBE(uint16_t* array, uint32_t n) OMB_EXPORT_AS(cByteSource_ReadWordsBE);    // 14
  virtual LibError ReadDwordsBE(uint32_t* array, uint32_t n) OMB_EXPORT_AS(cByteSource_ReadDwordsBE);  // 15
  virtual LibError ReadIntsBE(int32_t* array, uint32_t n) OMB_EXPORT_AS(cByteSource_ReadIntsBE);       // 16
  virtual uint32_t Tell() = 0;                                                     // 17
  virtual uint32_t GetSize() = 0;                                                  // 18
  virtual uint32_t Seek(int32_t offset, uint32_t origin) = 0;                      // 19
  virtual LibError AttachHandle(OmbHandle file) = 0;                               // 20
  virtual OmbHandle Detach() = 0;                                                  // 21
  virtual void* ReadAlloc(uint32_t n) OMB_EXPORT_AS(cByteSource_ReadAlloc);        // 22
  virtual void FreeAlloc(void* block) OMB_EXPORT_AS(cByteSource_FreeAlloc);        // 23
  virtual const char* GetName() = 0;                                               // 24

 protected:
  // Frees the storage of an object made by a `New` factory (a MemAlloc block).
  static void FreeStorage(void* self);
  // n 32-bit or 16-bit words were read: reverse the bytes of each.
  static void SwapWords(uint16_t* array, uint32_t n);
  static void SwapDwords(uint32_t* array, uint32_t n);
};
OMB_PIN_SIZE(cByteSource, 4);

// A heap copy of a zero-terminated text (MemAlloc), or null.
char* CopyStreamName(const char* name);
void FreeStreamName(char*& name);

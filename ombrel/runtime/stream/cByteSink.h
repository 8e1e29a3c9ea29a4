// The library's abstract output stream. Slot order (exported, MSVC object
// model): 0 `Destruct(flags)`, 1 `Write`, 2 `Flush`, 3 `GetSize`, 4 `Tell`,
// 5 `Seek`, 6 `GetName`. The byte-order writers are not virtual.
#pragma once

#include <cstdint>

#include "LibError.h"
#include "OmbrelApi.h"
#include "stream/cByteSource.h"

class cByteSink {
 public:
  cByteSink() = default;
  cByteSink(const cByteSink&) {}
  cByteSink& operator=(const cByteSink& other);
  ~cByteSink();

  virtual void Destruct(uint32_t flags);                          // 0
  virtual LibError Write(const void* buffer, uint32_t n) = 0;     // 1
  virtual LibError Flush() = 0;                                   // 2
  virtual uint32_t GetSize() = 0;                                 // 3
  virtual uint32_t Tell() = 0;                                    // 4
  virtual uint32_t Seek(int32_t offset, uint32_t origin) = 0;     // 5
  virtual const char* GetName() = 0;                              // 6

  LibError WriteWordLE(const uint16_t* value) OMB_EXPORT_AS(cByteSink_WriteWordLE);
  LibError WriteDwordLE(const uint32_t* value) OMB_EXPORT_AS(cByteSink_WriteDwordLE);
  LibError WriteIntLE(const int32_t* value) OMB_EXPORT_AS(cByteSink_WriteIntLE);
  LibError WriteWordBE(const uint16_t* value) OMB_EXPORT_AS(cByteSink_WriteWordBE);
  LibError WriteDwordBE(const uint32_t* value) OMB_EXPORT_AS(cByteSink_WriteDwordBE);

 protected:
  static void FreeStorage(void* self);
};
OMB_PIN_SIZE(cByteSink, 4);

#include "stream/cByteSink.h"

#include "ExportedTable.h"
#include "Memory.h"

OMB_EXPORT_VFTABLE(cByteSink, "_ZTV9cByteSink")

cByteSink::~cByteSink() = default;

// The base holds nothing but the table pointer, which an assignment keeps.
cByteSink& cByteSink::operator=(const cByteSink&) { return *this; }

void cByteSink::Destruct(uint32_t flags) {
  this->cByteSink::~cByteSink();
  if (flags & 1) FreeStorage(this);
}

void cByteSink::FreeStorage(void* self) { MemFree(&self); }

LibError cByteSink::WriteWordLE(const uint16_t* value) {
  const uint8_t bytes[2] = {static_cast<uint8_t>(*value), static_cast<uint8_t>(*value >> 8)};
  return Write(bytes, 2);
}

LibError cByteSink::WriteDwordLE(const uint32_t* value) {
  const uint32_t v = *value;
  const uint8_t bytes[4] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8),
                            static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 24)};
  return Write(bytes, 4);
}

LibError cByteSink::WriteIntLE(const int32_t* value) {
  const uint32_t v = static_cast<uint32_t>(*value);
  return WriteDwordLE(&v);
}

LibError cByteSink::WriteWordBE(const uint16_t* value) {
  const uint8_t bytes[2] = {static_cast<uint8_t>(*value >> 8), static_cast<uint8_t>(*value)};
  return Write(bytes, 2);
}

LibError cByteSink::WriteDwordBE(const uint32_t* value) {
  const uint32_t v = *value;
  const uint8_t bytes[4] = {static_cast<uint8_t>(v >> 24), static_cast<uint8_t>(v >> 16),
                            static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)};
  return Write(bytes, 4);
}

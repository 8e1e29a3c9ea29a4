#include "stream/cByteSource.h"

#include <cstdlib>
#include <cstring>

#include "ExportedTable.h"
#include "Memory.h"

OMB_EXPORT_VFTABLE(cByteSource, "_ZTV11cByteSource")

cByteSource::~cByteSource() = default;

// The base holds nothing but the table pointer, which an assignment keeps.
cByteSource& cByteSource::operator=(const cByteSource&) { return *this; }

void cByteSource::Destruct(uint32_t flags) {
  this->cByteSource::~cByteSource();
  if (flags & 1) FreeStorage(this);
}

void cByteSource::Delete() { Destruct(1); }

void cByteSource::FreeStorage(void* self) { MemFree(&self); }

LibError cByteSource::ReadWordLE(uint16_t* out) {
  uint8_t lo = 0, hi = 0;
  LibError e = ReadByte(&lo);
  if (e == LibOk) e = ReadByte(&hi);
  if (e == LibOk) *out = static_cast<uint16_t>(lo | hi << 8);
  return e;
}

LibError cByteSource::ReadDwordLE(uint32_t* out) {
  uint16_t lo = 0, hi = 0;
  LibError e = ReadWordLE(&lo);
  if (e == LibOk) e = ReadWordLE(&hi);
  if (e == LibOk) *out = lo | uint32_t{hi} << 16;
  return e;
}

LibError cByteSource::ReadWordBE(uint16_t* out) {
  uint8_t hi = 0, lo = 0;
  LibError e = ReadByte(&hi);
  if (e == LibOk) e = ReadByte(&lo);
  if (e == LibOk) *out = static_cast<uint16_t>(lo | hi << 8);
  return e;
}

LibError cByteSource::ReadDwordBE(uint32_t* out) {
  uint16_t hi = 0, lo = 0;
  LibError e = ReadWordBE(&hi);
  if (e == LibOk) e = ReadWordBE(&lo);
  if (e == LibOk) *out = lo | uint32_t{hi} << 16;
  return e;
}

LibError cByteSource::ReadIntLE(int32_t* out) { return ReadDwordLE(reinterpret_cast<uint32_t*>(out)); }
LibError cByteSource::ReadIntBE(int32_t* out) { return ReadDwordBE(reinterpret_cast<uint32_t*>(out)); }

// The array readers: byte counts above 32 bits cannot be asked for.
LibError cByteSource::ReadWordsLE(uint16_t* array, uint32_t n) {
  if (n > UINT32_MAX / 2) return ErrInvalidData;
  uint32_t got = 0;
  return ReadCount(array, n * 2, &got);
}

LibError cByteSource::ReadDwordsLE(uint32_t* array, uint32_t n) {
  if (n > UINT32_MAX / 4) return ErrInvalidData;
  uint32_t got = 0;
  return ReadCount(array, n * 4, &got);
}

LibError cByteSource::ReadIntsLE(int32_t* array, uint32_t n) {
  return ReadDwordsLE(reinterpret_cast<uint32_t*>(array), n);
}

LibError cByteSource::ReadWordsBE(uint16_t* array, uint32_t n) {
  const LibError e = ReadWordsLE(array, n);
  if (e == LibOk) SwapWords(array, n);
  return e;
}

LibError cByteSource::ReadDwordsBE(uint32_t* array, uint32_t n) {
  const LibError e = ReadDwordsLE(array, n);
  if (e == LibOk) SwapDwords(array, n);
  return e;
}

LibError cByteSource::ReadIntsBE(int32_t* array, uint32_t n) {
  return ReadDwordsBE(reinterpret_cast<uint32_t*>(array), n);
}

void cByteSource::SwapWords(uint16_t* array, uint32_t n) {
  for (uint32_t i = 0; i < n; ++i) array[i] = static_cast<uint16_t>(array[i] >> 8 | array[i] << 8);
}

void cByteSource::SwapDwords(uint32_t* array, uint32_t n) {
  for (uint32_t i = 0; i < n; ++i) {
    const uint32_t v = array[i];
    array[i] = v >> 24 | (v >> 8 & 0xFF00u) | (v << 8 & 0xFF0000u) | v << 24;
  }
}

void* cByteSource::ReadAlloc(uint32_t n) {
  if (n == 0) return nullptr;
  void* block = std::malloc(n);
  if (!block) return nullptr;
  if (Read(block, n) != LibOk) {
    std::free(block);
    return nullptr;
  }
  return block;
}

void cByteSource::FreeAlloc(void* block) { std::free(block); }

char* CopyStreamName(const char* name) {
  if (!name) return nullptr;
  const size_t length = std::strlen(name) + 1;
  if (length > UINT32_MAX) return nullptr;
  void* copy = nullptr;
  if (!MemAlloc(static_cast<uint32_t>(length), &copy)) return nullptr;
  std::memcpy(copy, name, length);
  return static_cast<char*>(copy);
}

void FreeStreamName(char*& name) {
  if (!name) return;
  void* block = name;
  MemFree(&block);
  name = nullptr;
}

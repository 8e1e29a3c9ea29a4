// The exported constructors of the abstract classes, called by ordinal in a
// host's storage as a client compiled elsewhere would: each sets the class's
// own exported table, and the image filter's also sets its fields (zeros, a
// frame count of 1), so a host deriving from them starts from a usable object.
#include <windows.h>

#include "OrdinalLibrary.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

using Ctor = void*(OMB_THISCALL*)(void* self);
using CopyCtor = void*(OMB_THISCALL*)(void* self, const void* other);
using IntSlot = int32_t(OMB_THISCALL*)(void* self);

struct AbstractClass {
  const char* name;
  int ctor, copyCtor, table;
  size_t size;  // the exported object's bytes
};

constexpr AbstractClass kClasses[] = {
    {"cByteSource", 247, 246, 317, 4},
    {"cByteSink", 251, 250, 320, 4},
    {"cImageFilter", 237, 238, 313, 96},
};

constexpr size_t kFrameCountAt = 44;  // the image filter's frame count field

// What the constructors must leave: the table, then (the image filter) zeros
// with a frame count of 1.
void ExpectBuilt(const std::vector<uint8_t>& object, const AbstractClass& c, const void* table) {
  const void* first = nullptr;
  std::memcpy(&first, object.data(), sizeof first);
  EXPECT_EQ(first, table) << "the class's own exported table";
  for (size_t at = 4; at < c.size; at += 4) {
    int32_t field = 0;
    std::memcpy(&field, object.data() + at, 4);
    EXPECT_EQ(field, at == kFrameCountAt ? 1 : 0) << "field at " << at;
  }
  EXPECT_EQ(object[c.size], 0xCD) << "nothing written past the object";
}

TEST(AbstractConstructors, SetTheClassesOwnTableAndFields) {
  OrdinalLibrary lib;
  ASSERT_TRUE(lib.Loaded()) << "LoadLibrary error " << GetLastError();
  for (const AbstractClass& c : kClasses) {
    SCOPED_TRACE(c.name);
    const void* table = lib.Get<const void*>(c.table);
    std::vector<uint8_t> object(c.size + 4, 0xCD);
    EXPECT_EQ(lib.Get<Ctor>(c.ctor)(object.data()), object.data());
    ExpectBuilt(object, c, table);

    std::vector<uint8_t> copy(c.size + 4, 0xCD);
    EXPECT_EQ(lib.Get<CopyCtor>(c.copyCtor)(copy.data(), object.data()), copy.data());
    ExpectBuilt(copy, c, table);
    EXPECT_EQ(lib.Get<Ctor>(c.ctor)(nullptr), nullptr);
  }
}

TEST(AbstractConstructors, AnImageFilterBuiltByOrdinalAnswersThroughItsTable) {
  OrdinalLibrary lib;
  ASSERT_TRUE(lib.Loaded()) << "LoadLibrary error " << GetLastError();
  std::vector<uint8_t> object(100, 0xCD);
  lib.Get<Ctor>(237)(object.data());
  void** table = *reinterpret_cast<void***>(object.data());
  EXPECT_EQ(reinterpret_cast<IntSlot>(table[28])(object.data()), 1) << "slot 28, GetFrameCount";
  EXPECT_EQ(reinterpret_cast<IntSlot>(table[18])(object.data()), 0) << "slot 18, GetWidth";
  EXPECT_EQ(reinterpret_cast<IntSlot>(table[5])(object.data()), 124) << "slot 5, the supported depths";
  lib.Get<void(OMB_THISCALL*)(void*)>(270)(object.data());  // the destructor frees nothing it does not own
}

}  // namespace

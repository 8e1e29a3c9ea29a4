// A host program's view of the streams: objects built in the caller's storage
// by the exported constructors or on the heap by the factories, then driven
// through their tables by slot number, as a client compiled elsewhere would.
#include <windows.h>

#include "OrdinalLibrary.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

namespace {

using LibError = uint32_t;
constexpr LibError kErrEndOfFile = 0x40000002;
constexpr LibError kErrBufferFull = 0x40000007;

// The slot at `slot` of the table of `object`, as a thiscall pointer.
template <typename Fn>
Fn Slot(void* object, int slot) {
  void** table = *static_cast<void***>(object);
  return reinterpret_cast<Fn>(table[slot]);
}

class StreamByOrdinal : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(lib.Loaded()) << "LoadLibrary error " << GetLastError();
    char dir[MAX_PATH];
    ASSERT_NE(GetTempPathA(MAX_PATH, dir), 0u);
    path_ = std::string(dir) + "ombrel-stream-" + std::to_string(GetCurrentProcessId()) + ".bin";
  }
  void TearDown() override { DeleteFileA(path_.c_str()); }
  OrdinalLibrary lib;
  std::string path_;
};

TEST_F(StreamByOrdinal, FileSinkAndSourceInCallerStorageRoundTrip) {
  alignas(8) unsigned char sinkBytes[36];
  alignas(8) unsigned char sourceBytes[40];
  auto sinkCtor = lib.Get<void*(OMB_THISCALL*)(void*)>(784);
  auto sinkDtor = lib.Get<void(OMB_THISCALL*)(void*)>(277);
  auto sinkCreate = lib.Get<LibError(OMB_THISCALL*)(void*, const char*, uint32_t)>(368);
  auto writeDwordBE = lib.Get<LibError(OMB_THISCALL*)(void*, const uint32_t*)>(778);
  ASSERT_EQ(sinkCtor(sinkBytes), sinkBytes) << "constructors return this";
  EXPECT_EQ(*reinterpret_cast<void**>(sinkBytes), reinterpret_cast<void*>(lib.Get<FARPROC>(319)))
      << "the table pointer is the exported table";
  ASSERT_EQ(sinkCreate(sinkBytes, path_.c_str(), 4096), 0u);
  const char text[] = "stream bytes";
  EXPECT_EQ((Slot<LibError(OMB_THISCALL*)(void*, const void*, uint32_t)>(sinkBytes, 1))(sinkBytes, text, 12), 0u);
  const uint32_t value = 0x01020304;
  EXPECT_EQ(writeDwordBE(sinkBytes, &value), 0u);
  EXPECT_EQ((Slot<uint32_t(OMB_THISCALL*)(void*)>(sinkBytes, 3))(sinkBytes), 16u);
  sinkDtor(sinkBytes);  // flushes and closes

  auto sourceCtor = lib.Get<void*(OMB_THISCALL*)(void*)>(245);
  auto sourceDtor = lib.Get<void(OMB_THISCALL*)(void*)>(274);
  auto open = lib.Get<LibError(OMB_THISCALL*)(void*, const char*)>(364);
  ASSERT_EQ(sourceCtor(sourceBytes), sourceBytes);
  EXPECT_EQ(*reinterpret_cast<void**>(sourceBytes), reinterpret_cast<void*>(lib.Get<FARPROC>(316)));
  ASSERT_EQ(open(sourceBytes, path_.c_str()), 0u);
  char out[12] = {};
  EXPECT_EQ((Slot<LibError(OMB_THISCALL*)(void*, void*, uint32_t)>(sourceBytes, 3))(sourceBytes, out, 12), 0u);
  EXPECT_EQ(std::memcmp(out, text, 12), 0);
  uint32_t back = 0;
  EXPECT_EQ((Slot<LibError(OMB_THISCALL*)(void*, uint32_t*)>(sourceBytes, 8))(sourceBytes, &back), 0u);
  EXPECT_EQ(back, value);
  EXPECT_EQ((Slot<uint32_t(OMB_THISCALL*)(void*)>(sourceBytes, 17))(sourceBytes), 16u);
  EXPECT_EQ((Slot<uint32_t(OMB_THISCALL*)(void*)>(sourceBytes, 18))(sourceBytes), 16u);
  EXPECT_STREQ((Slot<const char*(OMB_THISCALL*)(void*)>(sourceBytes, 24))(sourceBytes), path_.c_str());
  EXPECT_EQ((Slot<LibError(OMB_THISCALL*)(void*, void*, uint32_t)>(sourceBytes, 3))(sourceBytes, out, 1),
            kErrEndOfFile);
  sourceDtor(sourceBytes);
}

TEST_F(StreamByOrdinal, HeapSourcesFromFactoriesDeleteThroughSlotOne) {
  auto newMemory = lib.Get<void*(__cdecl*)()>(638);
  auto attach = lib.Get<LibError(OMB_THISCALL*)(void*, const void*, uint32_t)>(366);
  auto readWordBE = lib.Get<LibError(OMB_THISCALL*)(void*, uint16_t*)>(675);
  void* src = newMemory();
  ASSERT_NE(src, nullptr);
  EXPECT_EQ(*reinterpret_cast<void**>(src), reinterpret_cast<void*>(lib.Get<FARPROC>(318)));
  const uint8_t bytes[] = {0x12, 0x34};
  ASSERT_EQ(attach(src, bytes, 2), 0u);
  uint16_t w = 0;
  EXPECT_EQ(readWordBE(src, &w), 0u);
  EXPECT_EQ(w, 0x1234);
  EXPECT_EQ((Slot<void*(OMB_THISCALL*)(void*, uint32_t)>(src, 22))(src, 0), nullptr);
  EXPECT_EQ((Slot<void*(OMB_THISCALL*)(void*)>(src, 21))(src), INVALID_HANDLE_VALUE);
  EXPECT_EQ(Slot<void*>(src, 1), reinterpret_cast<void*>(lib.Get<FARPROC>(398)));
  (Slot<void(OMB_THISCALL*)(void*)>(src, 1))(src);

  auto newFile = lib.Get<void*(__cdecl*)()>(637);
  void* file = newFile();
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(Slot<void*>(file, 1), reinterpret_cast<void*>(lib.Get<FARPROC>(400)));
  (Slot<void(OMB_THISCALL*)(void*)>(file, 1))(file);
}

TEST_F(StreamByOrdinal, MemorySinkFixedAndDetachedBlocks) {
  alignas(8) unsigned char sink[28];
  auto ctor = lib.Get<void*(OMB_THISCALL*)(void*)>(253);
  auto dtor = lib.Get<void(OMB_THISCALL*)(void*)>(279);
  auto attachFixed = lib.Get<LibError(OMB_THISCALL*)(void*, void*, uint32_t)>(370);
  auto detach = lib.Get<void*(OMB_THISCALL*)(void*)>(406);
  auto freeBuffer = lib.Get<void(__cdecl*)(void*)>(460);
  auto write = Slot<LibError(OMB_THISCALL*)(void*, const void*, uint32_t)>;

  ASSERT_EQ(ctor(sink), sink);
  EXPECT_EQ(write(sink, 1)(sink, "hello", 5), 0u);
  EXPECT_EQ((Slot<uint32_t(OMB_THISCALL*)(void*)>(sink, 3))(sink), 5u);
  void* block = detach(sink);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(std::memcmp(block, "hello", 5), 0);
  freeBuffer(block);

  char fixed[4];
  ASSERT_EQ(attachFixed(sink, fixed, 4), 0u);
  EXPECT_EQ(write(sink, 1)(sink, "abcde", 5), kErrBufferFull);
  dtor(sink);

  // The abstract bases: their constructors set their own exported tables.
  alignas(8) unsigned char base[4];
  auto sourceBaseCtor = lib.Get<void*(OMB_THISCALL*)(void*)>(247);
  auto sinkBaseCtor = lib.Get<void*(OMB_THISCALL*)(void*)>(251);
  ASSERT_EQ(sourceBaseCtor(base), base);
  EXPECT_EQ(*reinterpret_cast<void**>(base), reinterpret_cast<void*>(lib.Get<FARPROC>(317)));
  ASSERT_EQ(sinkBaseCtor(base), base);
  EXPECT_EQ(*reinterpret_cast<void**>(base), reinterpret_cast<void*>(lib.Get<FARPROC>(320)));
}

TEST_F(StreamByOrdinal, CompressionRoundTripThroughFilesAndZlibsOwnExports) {
  auto deflateMemToFile = lib.Get<LibError(WINAPI*)(HANDLE, const void*, uint32_t, int32_t)>(780);
  auto inflateFileToMem = lib.Get<LibError(WINAPI*)(void*, HANDLE, uint32_t)>(765);
  auto zlibVersion = lib.Get<const char*(__cdecl*)()>(225);
  auto crc32 = lib.Get<unsigned long(__cdecl*)(unsigned long, const unsigned char*, unsigned)>(226);
  EXPECT_STREQ(zlibVersion(), "1.2.13");
  EXPECT_EQ(crc32(0, reinterpret_cast<const unsigned char*>("123456789"), 9), 0xCBF43926u);

  std::string data;
  for (int i = 0; i < 5000; ++i) data += "row " + std::to_string(i % 97) + ";";
  HANDLE out = CreateFileA(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(out, INVALID_HANDLE_VALUE);
  EXPECT_EQ(deflateMemToFile(out, data.data(), static_cast<uint32_t>(data.size()), 9), 0u);
  const DWORD packed = GetFileSize(out, nullptr);
  CloseHandle(out);
  EXPECT_LT(packed, data.size() / 4);

  HANDLE in = CreateFileA(path_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(in, INVALID_HANDLE_VALUE);
  std::string back(data.size(), '\0');
  EXPECT_EQ(inflateFileToMem(&back[0], in, packed), 0u);
  CloseHandle(in);
  EXPECT_EQ(back, data);
}

}  // namespace

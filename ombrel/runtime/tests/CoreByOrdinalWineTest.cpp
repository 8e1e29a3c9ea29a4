// A host program's view of the memory, file and container services: it loads
// Ombrel.dll and reaches everything through GetProcAddress by ordinal, calling
// members with thiscall and flat functions with stdcall, as a client would.
#include <windows.h>

#include "OrdinalLibrary.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

namespace {

using LibError = uint32_t;
constexpr LibError kErrEndOfFile = 0x40000002;

using Library = OrdinalLibrary;

class CoreByOrdinal : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(lib.Loaded()) << "LoadLibrary error " << GetLastError(); }
  Library lib;
};

// Exported objects live in the caller's own storage.
struct alignas(8) HandleListStorage {
  unsigned char bytes[32];
};
struct alignas(8) VectorStorage {
  unsigned char bytes[8];
};

TEST_F(CoreByOrdinal, MemoryBlocksAllocateGrowAndFree) {
  auto memAlloc = lib.Get<int(WINAPI*)(uint32_t, void**)>(621);
  auto memCalloc = lib.Get<int(WINAPI*)(uint32_t, void**)>(623);
  auto memRealloc = lib.Get<int(WINAPI*)(uint32_t, void**)>(627);
  auto memFree = lib.Get<void(WINAPI*)(void**)>(624);
  auto memSize = lib.Get<uint32_t(WINAPI*)(void*)>(628);
  auto heapLock = lib.Get<void(WINAPI*)()>(626);
  auto heapUnlock = lib.Get<int(WINAPI*)()>(630);

  void* block = nullptr;
  ASSERT_TRUE(memCalloc(100, &block));
  ASSERT_NE(block, nullptr);
  EXPECT_GE(memSize(block), 100u);
  for (int i = 0; i < 100; ++i) ASSERT_EQ(static_cast<unsigned char*>(block)[i], 0) << i;
  std::memset(block, 0x5A, 100);

  ASSERT_TRUE(memRealloc(4000, &block));
  EXPECT_EQ(static_cast<unsigned char*>(block)[99], 0x5A);
  EXPECT_GE(memSize(block), 4000u);

  memFree(&block);
  EXPECT_EQ(block, nullptr);
  memFree(&block);  // a null variable is left alone

  void* huge = reinterpret_cast<void*>(1);
  EXPECT_FALSE(memAlloc(0xFFFFFFF0u, &huge));
  EXPECT_EQ(huge, nullptr);

  heapLock();
  heapUnlock();
  heapUnlock();  // never below zero; must not fail
}

TEST_F(CoreByOrdinal, FilesWriteReadAndReportShortReads) {
  auto fileCreate = lib.Get<HANDLE(WINAPI*)(const char*)>(420);
  auto fileOpen = lib.Get<HANDLE(WINAPI*)(const char*, uint32_t)>(424);
  auto fileWrite = lib.Get<LibError(WINAPI*)(HANDLE, const void*, uint32_t)>(433);
  auto fileRead = lib.Get<LibError(WINAPI*)(HANDLE, void*, uint32_t)>(425);
  auto fileReadString16 = lib.Get<LibError(WINAPI*)(HANDLE, char**)>(429);
  auto fileSeek = lib.Get<uint32_t(WINAPI*)(HANDLE, int32_t)>(430);
  auto fileTell = lib.Get<uint32_t(WINAPI*)(HANDLE)>(423);
  auto fileGetSize = lib.Get<uint32_t(WINAPI*)(HANDLE)>(422);
  auto fileClose = lib.Get<int(WINAPI*)(HANDLE)>(419);
  auto fileExists = lib.Get<int(WINAPI*)(const char*)>(421);
  auto memFree = lib.Get<void(WINAPI*)(void**)>(624);

  char dir[MAX_PATH];
  ASSERT_GT(GetTempPathA(MAX_PATH, dir), 0u);
  const std::string path = std::string(dir) + "ombrel_core_by_ordinal.bin";
  DeleteFileA(path.c_str());
  EXPECT_FALSE(fileExists(path.c_str()));
  EXPECT_EQ(fileOpen(path.c_str(), 0), INVALID_HANDLE_VALUE);

  HANDLE out = fileCreate(path.c_str());
  ASSERT_NE(out, INVALID_HANDLE_VALUE);
  const unsigned char record[] = {5, 0, 'h', 'e', 'l', 'l', 'o', 1, 2, 3, 4};
  EXPECT_EQ(fileWrite(out, record, sizeof record), 0u);
  EXPECT_EQ(fileClose(out) != 0, true);
  EXPECT_TRUE(fileExists(path.c_str()));

  HANDLE in = fileOpen(path.c_str(), 0);
  ASSERT_NE(in, INVALID_HANDLE_VALUE);
  char* text = nullptr;
  EXPECT_EQ(fileReadString16(in, &text), 0u);
  ASSERT_NE(text, nullptr);
  EXPECT_STREQ(text, "hello");
  memFree(reinterpret_cast<void**>(&text));
  EXPECT_EQ(fileTell(in), 7u);
  EXPECT_EQ(fileGetSize(in), sizeof record);
  EXPECT_EQ(fileTell(in), 7u);

  unsigned char rest[10] = {};
  EXPECT_EQ(fileRead(in, rest, 10), kErrEndOfFile);  // 4 bytes were left
  EXPECT_EQ(rest[0], 1);
  EXPECT_EQ(rest[3], 4);
  EXPECT_EQ(fileSeek(in, 2), 2u);
  char letter = 0;
  EXPECT_EQ(fileRead(in, &letter, 1), 0u);
  EXPECT_EQ(letter, 'h');
  fileClose(in);
  DeleteFileA(path.c_str());
}

TEST_F(CoreByOrdinal, HandleListThroughItsExportedMembers) {
  auto ctor = lib.Get<void*(OMB_THISCALL*)(void*)>(255);
  auto dtor = lib.Get<void(OMB_THISCALL*)(void*)>(281);
  auto assign = lib.Get<void*(OMB_THISCALL*)(void*, const void*)>(303);
  auto addTail = lib.Get<int32_t(OMB_THISCALL*)(void*, void*)>(333);
  auto addHead = lib.Get<int32_t(OMB_THISCALL*)(void*, void*)>(330);
  auto remove = lib.Get<void(OMB_THISCALL*)(void*, int32_t)>(688);
  auto getCount = lib.Get<int32_t(OMB_THISCALL*)(const void*)>(564);
  auto getHead = lib.Get<int32_t(OMB_THISCALL*)(const void*)>(517);
  auto next = lib.Get<void*(OMB_THISCALL*)(const void*, int32_t*)>(536);
  auto find = lib.Get<int32_t(OMB_THISCALL*)(const void*, void*)>(449);

  HandleListStorage list, copy;
  EXPECT_EQ(ctor(&list), &list);  // constructors hand back this
  ctor(&copy);
  int a = 0, b = 0, c = 0, d = 0;
  EXPECT_EQ(addTail(&list, &a), 1);
  EXPECT_EQ(addTail(&list, &b), 2);
  EXPECT_EQ(addTail(&list, &c), 3);
  remove(&list, 2);
  EXPECT_EQ(addTail(&list, &d), 4);  // freed handles come back last
  EXPECT_EQ(addHead(&list, &b), 5);
  EXPECT_EQ(getCount(&list), 4);
  EXPECT_EQ(find(&list, &d), 4);

  EXPECT_EQ(assign(&copy, &list), &copy);
  remove(&list, 1);  // the copy is independent of the original
  int32_t h = getHead(&copy);
  void* order[4] = {};
  for (int i = 0; i < 4 && h; ++i) order[i] = next(&copy, &h);
  EXPECT_EQ(order[0], &b);
  EXPECT_EQ(order[1], &a);
  EXPECT_EQ(order[2], &c);
  EXPECT_EQ(order[3], &d);
  EXPECT_EQ(h, 0);
  dtor(&copy);
  dtor(&list);
}

TEST_F(CoreByOrdinal, VectorsAndTheirSharedBodies) {
  auto ctor = lib.Get<void*(OMB_THISCALL*)(void*)>(254);
  auto dtor = lib.Get<void(OMB_THISCALL*)(void*)>(280);
  auto add = lib.Get<int32_t(OMB_THISCALL*)(void*, void*)>(329);
  auto spriteAdd = lib.Get<int32_t(OMB_THISCALL*)(void*, void*)>(328);
  auto getAt = lib.Get<void*(OMB_THISCALL*)(const void*, int32_t)>(353);
  auto insertAt = lib.Get<int(OMB_THISCALL*)(void*, int32_t, void*, int32_t)>(598);
  auto setSize = lib.Get<int(OMB_THISCALL*)(void*, int32_t)>(785);
  auto getCount = lib.Get<int32_t(OMB_THISCALL*)(const void*)>(478);
  auto getMaxCount = lib.Get<int32_t (*)()>(533);
  EXPECT_EQ(reinterpret_cast<void*>(add), reinterpret_cast<void*>(spriteAdd));

  VectorStorage v;
  EXPECT_EQ(ctor(&v), &v);
  int a = 0, p = 0, b = 0;
  EXPECT_EQ(add(&v, &a), 0);
  EXPECT_EQ(spriteAdd(&v, &b), 1);
  EXPECT_TRUE(insertAt(&v, 1, &p, 3));
  EXPECT_EQ(getCount(&v), 5);
  void* expected[] = {&a, &p, &p, &p, &b};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(getAt(&v, i), expected[i]) << i;
  EXPECT_EQ(getAt(&v, -1), nullptr);
  EXPECT_EQ(getMaxCount(), 0x1FFFFFFF);
  EXPECT_FALSE(setSize(&v, 0x20000000));  // beyond the largest count
  EXPECT_EQ(getCount(&v), 5);
  EXPECT_TRUE(setSize(&v, 2));
  EXPECT_TRUE(setSize(&v, 5));
  EXPECT_EQ(getAt(&v, 4), nullptr);  // regrowing never shows stale pointers
  dtor(&v);
}

TEST_F(CoreByOrdinal, PointerArrayGrowsAndShrinksInStepsOf16) {
  auto grow = lib.Get<int(WINAPI*)(void***, int32_t, int32_t*, int32_t)>(395);
  auto removeAt = lib.Get<int32_t(WINAPI*)(void***, int32_t*, int32_t*, int32_t)>(397);
  auto memFree = lib.Get<void(WINAPI*)(void**)>(624);

  void** items = nullptr;
  int32_t count = 0, capacity = 0;
  ASSERT_TRUE(grow(&items, 0, &capacity, 17));
  EXPECT_EQ(capacity, 32);
  int values[17];
  for (int i = 0; i < 17; ++i) items[i] = &values[i];
  count = 17;
  EXPECT_EQ(removeAt(&items, &count, &capacity, 0), 32);  // 16 slots of slack are kept
  EXPECT_EQ(count, 16);
  EXPECT_EQ(items[0], &values[1]);
  EXPECT_EQ(removeAt(&items, &count, &capacity, 15), 16);  // more than 16 free: shrink
  EXPECT_EQ(count, 15);
  EXPECT_EQ(items[14], &values[15]);
  memFree(reinterpret_cast<void**>(&items));
}

}  // namespace

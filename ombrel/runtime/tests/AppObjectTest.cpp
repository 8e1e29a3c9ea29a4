// Application objects: the record as created, the per-thread lists, the depth
// rules against described displays, and a teardown that leaves nothing.
#include <gtest/gtest.h>

#include <thread>

#include "AppFixture.h"
#include "LiveBlockHeap.h"
#include "bank/BankStore.h"
#include "palette/cPalette.h"
#include "surface/cSurfaceImpl.h"

#ifdef _WIN32
#include <windows.h>

#include "font/FontBank.h"
#include "window/WindowApi.h"
#endif

namespace {

TEST_F(AppTest, NewAppHasTheDocumentedFieldsAndIsListedForItsThread) {
  int instanceTag = 0;
  AppObject* app = AppCreate(&instanceTag, nullptr);
  ASSERT_NE(app, nullptr);
  EXPECT_EQ(app->instance, &instanceTag);
  EXPECT_EQ(app->depth, 3);
  EXPECT_EQ(app->flags, 0);
  for (BankRow* row : app->rows) EXPECT_EQ(row, nullptr);
  EXPECT_EQ(app->mainVolume, 100);
  EXPECT_EQ(app->mainPan, 0);
  EXPECT_EQ(app->channelCount, 32);
  for (const SoundChannel& channel : app->channels) {
    EXPECT_EQ(channel.volume, 100);
    EXPECT_EQ(channel.pan, 0);
    EXPECT_EQ(channel.frequency, 0);
    EXPECT_EQ(channel.sound, nullptr);
  }
  EXPECT_EQ(app->midiDevice, -1);
  EXPECT_EQ(app->midi.sound, 0u);
  EXPECT_EQ(app->windows.GetCount(), 0);

  ASSERT_NE(app->palette, nullptr);
  EXPECT_EQ(app->blackIndex, app->palette->blackIndex);
  EXPECT_EQ(app->blackIndex, 245);  // the default palette's last (8,0,0) entry
  ASSERT_NE(app->formatPrototype, nullptr);
  EXPECT_EQ(app->formatPrototype->view.depth, 8);
  EXPECT_EQ(app->formatPrototype->view.palette, app->palette);

  ASSERT_NE(CurrentAppList(), nullptr);
  EXPECT_NE(CurrentAppList()->Find(app), 0);
  AppDestroy(app);
}

TEST_F(AppTest, LastDestroyLeavesAnEmptyListThatTheNextCreateReuses) {
  EXPECT_EQ(CurrentAppList(), nullptr);
  AppObject* first = AppCreate(nullptr, nullptr);
  AppObject* second = AppCreate(nullptr, nullptr);
  cHandleList* list = CurrentAppList();
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->GetCount(), 2);
  AppDestroy(first);
  EXPECT_EQ(list->Find(first), 0);
  EXPECT_NE(list->Find(second), 0);
  AppDestroy(second);
  EXPECT_EQ(CurrentAppList(), list);
  EXPECT_EQ(list->GetCount(), 0);
  AppObject* third = AppCreate(nullptr, nullptr);
  EXPECT_EQ(CurrentAppList(), list);
  EXPECT_EQ(list->GetCount(), 1);
  AppDestroy(third);
}

TEST_F(AppTest, AppsOnTwoThreadsEachSeeOnlyTheirOwnList) {
  AppObject* mine = AppCreate(nullptr, nullptr);
  AppObject* theirs = nullptr;
  bool theirListHeldMine = true;
  int theirCount = 0;
  std::thread other([&] {
    ReleasePalette(PaletteStartup());
    theirs = AppCreate(nullptr, nullptr);
    theirListHeldMine = CurrentAppList()->Find(mine) != 0;
    theirCount = CurrentAppList()->GetCount();
    AppDestroy(theirs);
    AppListThreadDetach();
    PaletteShutdown();
  });
  other.join();
  ASSERT_NE(theirs, nullptr);
  EXPECT_FALSE(theirListHeldMine);
  EXPECT_EQ(theirCount, 1);
  EXPECT_EQ(CurrentAppList()->GetCount(), 1);
  EXPECT_NE(CurrentAppList()->Find(mine), 0);
  AppDestroy(mine);
}

TEST_F(AppTest, DestroyFreesTheRecordItsBanksPaletteAndPrototype) {
  LiveBlockHeap heap;
  AppObject* app = AppCreate(nullptr, nullptr);
  ASSERT_NE(app, nullptr);
  for (int row : {BankRowImages, BankRowSounds, BankRowMasksPlane0, BankRowMasksPlane1, BankRowFonts}) {
    ASSERT_NE(BankAdd(app, row, 16, 100, 0, nullptr), 0);
    ASSERT_NE(BankAdd(app, row, 16, 0, kBankAddZeroed, nullptr), 0);
  }
  ASSERT_NE(BankPut(app, BankRowMasksPlane0, 700, 60, 32, 0, nullptr), 0);
  AppDestroy(app);
  AppListThreadDetach();
  EXPECT_EQ(heap.Live(), 0u);
}

TEST_F(AppTest, DestroyDuringDestroyDoesNothing) {
  AppObject* app = AppCreate(nullptr, nullptr);
  app->flags |= kAppBeingDestroyed;
  AppDestroy(app);
  EXPECT_NE(CurrentAppList()->Find(app), 0);
  EXPECT_NE(app->palette, nullptr);
  app->flags = 0;
  AppDestroy(app);
  EXPECT_EQ(CurrentAppList()->GetCount(), 0);
}

TEST_F(AppTest, CreateThatRunsOutOfMemoryReturnsNullAndLeavesNothing) {
  ASSERT_NE(CurrentAppListOrCreate(), nullptr);
  bool failed = false, succeeded = false;
  for (int budget = 0; budget < 12 && !succeeded; ++budget) {
    LiveBlockHeap heap;
    heap.SetBudget(budget);
    AppObject* app = AppCreate(nullptr, nullptr);
    if (app == nullptr) {
      failed = true;
      EXPECT_EQ(heap.Live(), 0u) << "budget " << budget;
      EXPECT_EQ(CurrentAppList()->GetCount(), 0) << "budget " << budget;
    } else {
      succeeded = true;
      AppDestroy(app);
      EXPECT_EQ(heap.Live(), 0u);
    }
  }
  EXPECT_TRUE(failed);
  EXPECT_TRUE(succeeded);
}

TEST_F(AppTest, NullAppsAreRefused) {
  EXPECT_EQ(AppSetDepth(nullptr, 4), 0);
  AppDestroy(nullptr);
  EXPECT_EQ(LibraryGetBuild(), 248);
}

struct DepthCase {
  const char* display;
  DisplayFormat format;
  int32_t directDrawBits;
  int32_t value;
  uint16_t word;
  int32_t prototypeBits;
};

DisplayFormat Bits(int32_t bits, int32_t modeBits = 0, int32_t probe = -1) {
  DisplayFormat f;
  f.bits = bits;
  f.modeBits = modeBits;
  f.greenProbe = probe;
  return f;
}

const DepthCase kDepthCases[] = {
    {"5-6-5", Bits(16, 16), 0, 0, 7, 16},
    {"5-5-5", Bits(16, 15), 0, 0, 6, 15},
    {"16 bits, mode unknown, green kept", Bits(16, 0, 0x0400), 0, 0, 7, 16},
    {"16 bits, mode unknown, green lost", Bits(16, 0, 0), 0, 0, 6, 15},
    {"32 bits", Bits(32), 0, 0, 8, 32},
    {"24 bits", Bits(24), 0, 0, 4, 24},
    {"8 bits", Bits(8), 0, 0, 3, 8},
    {"4 bits gives code 2, which an app cannot use", Bits(4), 0, 0, 3, 8},
    {"12 bits", Bits(12), 0, 0, 6, 15},
    {"unreadable display", Bits(0), 0, 0, 8, 32},
    {"code 1", Bits(32), 0, 1, 3, 8},
    {"code 2", Bits(32), 0, 2, 3, 8},
    {"code 5", Bits(32), 0, 5, 3, 8},
    {"code 9", Bits(32), 0, 9, 3, 8},
    {"code 15", Bits(32), 0, 15, 3, 8},
    {"code 4 kept", Bits(8), 0, 4, 4, 24},
    {"code 7 kept", Bits(8), 0, 7, 7, 16},
    {"option bits dropped without 0x20", Bits(32), 16, 0x1D4, 4, 24},
    {"0x20 follows DirectDraw, keeps options", Bits(32), 16, 0x124, 0x127, 16},
    {"0x20 with DirectDraw at 15 bits", Bits(32), 15, 0x23, 0x26, 15},
    {"0x20 with DirectDraw at 8 bits", Bits(32), 8, 0x28, 0x23, 8},
    {"0x20 without DirectDraw", Bits(32), 0, 0x24, 4, 24},
};

TEST_F(AppTest, SetDepthFollowsTheDisplayAndTheOptionRules) {
  for (const DepthCase& c : kDepthCases) {
    SCOPED_TRACE(c.display);
    ScriptedDisplay display(c.format, c.directDrawBits);
    AppObject* app = AppCreate(nullptr, nullptr);
    ASSERT_NE(app, nullptr);
    EXPECT_EQ(AppSetDepthOn(app, c.value, display), c.word);
    EXPECT_EQ(app->depth, c.word);
    ASSERT_NE(app->formatPrototype, nullptr);
    EXPECT_EQ(app->formatPrototype->view.depth, c.prototypeBits);
    if (c.prototypeBits == 8) {
      EXPECT_EQ(app->formatPrototype->view.palette, app->palette);
    }
    AppDestroy(app);
  }
}

TEST_F(AppTest, SetDepthThatCannotMakeThePrototypeKeepsTheOldFormat) {
  AppObject* app = AppCreate(nullptr, nullptr);
  ScriptedDisplay display(Bits(32));
  ASSERT_EQ(AppSetDepthOn(app, 4, display), 4);
  cSurfaceImpl* before = app->formatPrototype;
  {
    LiveBlockHeap heap;
    heap.SetBudget(0);
    EXPECT_EQ(AppSetDepthOn(app, 8, display), 0);
  }
  EXPECT_EQ(app->depth, 4);
  EXPECT_EQ(app->formatPrototype, before);
  AppDestroy(app);
}

#ifdef _WIN32
struct WindowCount {
  HWND kept;
  int n;
};

BOOL CALLBACK CountWindow(HWND hwnd, LPARAM p) {
  auto* count = reinterpret_cast<WindowCount*>(p);
  if (hwnd != count->kept) ++count->n;
  return TRUE;
}

// Top-level windows of the test thread, except `kept`.
int OtherThreadWindows(HWND kept) {
  WindowCount count{kept, 0};
  EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&count));
  return count.n;
}

WindowDescriptor Descriptor(const char* className, HWND parent, uint32_t style, uint32_t flags) {
  WindowDescriptor d{};
  d.size = kWindowDescriptorShort;
  d.instance = GetModuleHandleA(nullptr);
  d.parent = parent;
  d.x = d.y = 0;
  d.width = -200;
  d.height = -150;
  d.style = style;
  d.title = "teardown";
  d.className = className;
  d.bufferWidth = -200;
  d.bufferHeight = -150;
  d.cursor = reinterpret_cast<void*>(1);
  d.background = 1;
  d.flags = flags;
  return d;
}

TEST_F(AppTest, DestroyTakesFramesMdiChildrenAdoptedRecordsPensAndFontsWithIt) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = reinterpret_cast<WNDPROC>(&WindowProc);
  windowClass.cbWndExtra = 4;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "AppTeardownClass";
  RegisterClassA(&windowClass);
  HWND foreign = CreateWindowExA(0, "STATIC", "foreign", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                 nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(foreign, nullptr);
  const int before = OtherThreadWindows(foreign);

  LiveBlockHeap heap;
  AppObject* app = AppCreate(GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(app, nullptr);
  const WindowDescriptor frameDescriptor =
      Descriptor("AppTeardownClass", nullptr, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0x0200);
  WindowObject* frame = WindowCreate(app, &frameDescriptor);
  ASSERT_GT(reinterpret_cast<uintptr_t>(frame), kWindowNotCreated);
  ASSERT_NE(frame->mdiClient, nullptr);
  HPEN pens[3] = {};
  WindowSetPen(frame, 0x0000FF, PS_SOLID, 3);
  pens[0] = static_cast<HPEN>(frame->pen);
  for (int i = 1; i <= 2; ++i) {
    const WindowDescriptor childDescriptor = Descriptor(
        "AppTeardownClass", static_cast<HWND>(frame->hwnd), WS_CHILD | WS_VISIBLE, 0x0800);
    WindowObject* child = WindowCreate(app, &childDescriptor);
    ASSERT_GT(reinterpret_cast<uintptr_t>(child), kWindowNotCreated) << i;
    WindowSetPen(child, 0x00FF00, PS_DASH, 1);
    pens[i] = static_cast<HPEN>(child->pen);
  }
  WindowObject* adopted = WindowAttach(app, foreign);
  ASSERT_GT(reinterpret_cast<uintptr_t>(adopted), kWindowNotCreated);
  for (HPEN pen : pens) ASSERT_EQ(GetObjectType(pen), DWORD(OBJ_PEN));
  FontInfo font{};
  font.logFont.height = -12;
  ASSERT_NE(FontAdd(app, 0, &font, 0, 0), 0);
  ASSERT_NE(FontAdd(app, 0, &font, 0, 0), 0);
  EXPECT_EQ(app->windows.GetCount(), 4);
  EXPECT_GT(OtherThreadWindows(foreign), before);

  AppDestroy(app);
  EXPECT_EQ(OtherThreadWindows(foreign), before);
  EXPECT_TRUE(IsWindow(foreign));  // an adopted window outlives its record
  for (HPEN pen : pens) EXPECT_EQ(GetObjectType(pen), 0u);
  AppListThreadDetach();
  EXPECT_EQ(heap.Live(), 0u);
  DestroyWindow(foreign);
  UnregisterClassA("AppTeardownClass", GetModuleHandleA(nullptr));
}
#endif

}  // namespace

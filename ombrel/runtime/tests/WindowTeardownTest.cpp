// The end of windows and their apps with the runtime linked in and a heap
// that counts live blocks: nothing a window owns outlives it. Natively the
// records are made by hand (there are no system windows); under Wine the
// windows are real, routed through the library's window procedure.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <set>

#include "AppFixture.h"
#include "LiveBlockHeap.h"
#include "HandleList.h"
#include "Memory.h"
#include "app/AppObject.h"
#include "font/FontBank.h"
#include "surface/SurfaceHandle.h"
#include "surface/SurfaceLibraryApi.h"
#include "window/WindowApi.h"
#include "window/WindowDrawApi.h"
#include "window/WindowRecord.h"
#include "window/WindowSprites.h"

#ifdef _WIN32
#include "window/SystemHeaders.h"
#endif

namespace {

class WindowTeardownTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    SurfaceLibraryInit();
    // The thread's app list is made before any counting heap is in place.
    ASSERT_NE(CurrentAppListOrCreate(), nullptr);
  }
  void TearDown() override {
    SurfaceLibraryExit();
    AppTest::TearDown();
  }
  static cSurfaceHandle* NewSurface(int32_t width, int32_t height) {
    cSurfaceHandle* prototype = nullptr;
    GetSurfacePrototype(&prototype, 32, SurfaceTypeMemory, 0);
    cSurfaceHandle* h = CreateSurfaceHandle();
    if (h != nullptr) h->Create(width, height, prototype);
    return h;
  }
  // A sprite window's record, listed in the app, owning everything a record can own.
  static WindowObject* HandMadeRecord(AppObject* app) {
    void* block = nullptr;
    EXPECT_TRUE(MemCalloc(sizeof(WindowObject), &block));
    auto* w = static_cast<WindowObject*>(block);
    w->app = app;
    void* list = nullptr;
    EXPECT_TRUE(MemCalloc(sizeof(UpdateList), &list));
    w->updates = static_cast<UpdateList*>(list);
    w->spritePool = SpritePoolCreate(kSpriteWindowPoolRecords);
    EXPECT_TRUE(MemAlloc(64, reinterpret_cast<void**>(&w->maskBits)));
    EXPECT_EQ(WindowAttachSurface(w, NewSurface(32, 32)), 1);
    w->backSurface = NewSurface(32, 32);
    app->windows.AddTail(w);
    return w;
  }
};

TEST_F(WindowTeardownTest, ARecordTakesEverythingItOwnsWithIt) {
  LiveBlockHeap heap;
  AppObject* app = AppCreate(nullptr, nullptr);
  ASSERT_NE(app, nullptr);
  ASSERT_TRUE(app->windows.Grow());  // the list's own items are the app's
  const size_t withApp = heap.Live();
  WindowObject* w = HandMadeRecord(app);
  EXPECT_GT(heap.Live(), withApp);
  DestroyWindowRecord(w);
  EXPECT_EQ(app->windows.GetCount(), 0);
  EXPECT_EQ(heap.Live(), withApp);
  AppDestroy(app);
  EXPECT_EQ(heap.Live(), 0u);
}

TEST_F(WindowTeardownTest, TheAppsTeardownTakesItsWindows) {
  LiveBlockHeap heap;
  AppObject* app = AppCreate(nullptr, nullptr);
  ASSERT_NE(app, nullptr);
  HandMadeRecord(app);
  WindowObject* second = HandMadeRecord(app);
  ASSERT_EQ(WindowControl(second, 1, 0, 3), 1);  // a new pool replaces the old one
  AppDestroy(app);
  EXPECT_EQ(heap.Live(), 0u);
}

TEST_F(WindowTeardownTest, APoolIsReplacedOnlyByAValidOne) {
  LiveBlockHeap heap;
  AppObject* app = AppCreate(nullptr, nullptr);
  WindowObject* w = HandMadeRecord(app);
  void* pool = w->spritePool;
  EXPECT_EQ(WindowControl(w, 1, 0, 0), 0);
  EXPECT_EQ(WindowControl(w, 1, 0, -5), 0);
  EXPECT_EQ(w->spritePool, pool);
  heap.SetBudget(0);
  EXPECT_EQ(WindowControl(w, 1, 0, 10), 0);
  EXPECT_EQ(w->spritePool, pool);
  heap.SetBudget(-1);
  ASSERT_EQ(WindowControl(w, 1, 0, 10), 1);
  auto* pool10 = static_cast<SpritePool*>(w->spritePool);
  ASSERT_NE(pool10->Free().head, nullptr);
  // One free block: ten records less the block header that closes the arena.
  EXPECT_EQ(pool10->Free().head->blockSize, 10 * kSpriteBytes - kBlockHeaderBytes);
  EXPECT_EQ(pool10->Free().head->state, 1u);
  EXPECT_EQ(pool10->First(), nullptr);
  // Detached, the window has no pool (its teardown copes) and the drawing
  // surface is the caller's again.
  cSurfaceHandle* buffer = w->drawSurface;
  WindowDetachSurfaces(w);
  EXPECT_EQ(w->spritePool, nullptr);
  DeleteSurfaceHandle(buffer);
  AppDestroy(app);
  EXPECT_EQ(heap.Live(), 0u);
}

#ifdef _WIN32

// The thread's top-level windows, but for the input-method window that the
// system makes and ends along with the thread's windows.
BOOL CALLBACK ListWindow(HWND hwnd, LPARAM param) {
  char name[8] = {};
  GetClassNameA(hwnd, name, sizeof name);
  if (lstrcmpiA(name, "IME") != 0) reinterpret_cast<std::set<HWND>*>(param)->insert(hwnd);
  return TRUE;
}

std::set<HWND> ThreadWindows() {
  std::set<HWND> windows;
  EnumThreadWindows(GetCurrentThreadId(), ListWindow, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

LRESULT CALLBACK LibraryProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return WindowProc(hwnd, message, wParam, lParam);
}

const char* LibraryClass() {
  static const char* name = [] {
    WNDCLASSA c{};
    c.lpfnWndProc = LibraryProc;
    c.cbWndExtra = 4;
    c.hInstance = GetModuleHandleA(nullptr);
    c.lpszClassName = "OmbrelTeardownWindow";
    RegisterClassA(&c);
    return c.lpszClassName;
  }();
  return name;
}

WindowDescriptor Descriptor(int32_t mode, uint32_t flags, HWND parent, DWORD style) {
  WindowDescriptor d{};
  d.size = kWindowDescriptorShort;
  d.instance = GetModuleHandleA(nullptr);
  d.parent = parent;
  d.width = -200;
  d.height = -100;
  d.style = style;
  d.title = "teardown";
  d.className = LibraryClass();
  d.bufferWidth = -200;
  d.bufferHeight = -100;
  d.cursor = reinterpret_cast<void*>(1);
  d.background = 1;
  d.mode = mode;
  d.flags = flags;
  return d;
}

bool IsRecord(WindowObject* w) { return reinterpret_cast<uintptr_t>(w) > kWindowNotCreated; }

TEST_F(WindowTeardownTest, AppDestroyLeavesNoWindowPenOrBlockBehind) {
  LiveBlockHeap heap;
  std::set<HWND> expected = ThreadWindows();
  AppObject* app = AppCreate(GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(app, nullptr);
  WindowDescriptor frameD = Descriptor(0, WindowStyleMdiFrame, nullptr, WS_OVERLAPPEDWINDOW);
  WindowObject* frame = WindowCreate(app, &frameD);
  ASSERT_TRUE(IsRecord(frame));
  WindowDescriptor childD = Descriptor(0, WindowStyleMdiChild, static_cast<HWND>(frame->hwnd), 0);
  ASSERT_TRUE(IsRecord(WindowCreate(app, &childD)));
  ASSERT_TRUE(IsRecord(WindowCreate(app, &childD)));
  WindowDescriptor spriteD = Descriptor(kWindowModeSprites, 0, nullptr, WS_OVERLAPPEDWINDOW);
  WindowObject* sprites = WindowCreate(app, &spriteD);
  ASSERT_TRUE(IsRecord(sprites));
  ASSERT_EQ(WindowAttachSurface(sprites, NewSurface(200, 100)), 1);
  WindowSetPen(sprites, 0x0000FF, PS_SOLID, 3);
  HGDIOBJ pen = sprites->pen;
  ASSERT_NE(pen, nullptr);
  EXPECT_EQ(GetObjectType(pen), DWORD(OBJ_PEN));
  HWND own = CreateWindowExA(0, "STATIC", "own", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
  ASSERT_TRUE(IsRecord(WindowAttach(app, own)));
  FontInfo font{};
  font.logFont.height = -12;
  std::strcpy(font.logFont.style.faceName, "Arial");
  ASSERT_NE(FontAdd(app, 0, &font, 0, 0), 0);
  EXPECT_EQ(app->windows.GetCount(), 5);

  AppDestroy(app);
  expected.insert(own);  // an adopted window is the host's
  EXPECT_EQ(ThreadWindows(), expected);
  EXPECT_EQ(GetObjectType(pen), 0u);
  EXPECT_EQ(heap.Live(), 0u);
  DestroyWindow(own);
}

// A window class whose procedure gives up in WM_CREATE after the library's
// has seen it: it destroys the window (WM_DESTROY comes during
// CreateWindowExA) and refuses the creation, so CreateWindowExA fails.
LRESULT CALLBACK RefusingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = WindowProc(hwnd, message, wParam, lParam);
  if (message != WM_CREATE) return result;
  DestroyWindow(hwnd);
  return -1;
}

const char* RefusingClass() {
  static const char* name = [] {
    WNDCLASSA c{};
    c.lpfnWndProc = RefusingProc;
    c.cbWndExtra = 4;
    c.hInstance = GetModuleHandleA(nullptr);
    c.lpszClassName = "OmbrelRefusingWindow";
    RegisterClassA(&c);
    return c.lpszClassName;
  }();
  return name;
}

// The WM_DESTROY of a window still being made leaves the record to
// WindowCreate, which undoes it once (freeing it there too freed it twice).
TEST_F(WindowTeardownTest, ACreationRefusedAfterTheWindowProcedureSawTheRecordFreesItOnce) {
  LiveBlockHeap heap;
  AppObject* app = AppCreate(GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(app, nullptr);
  ASSERT_TRUE(app->windows.Grow());
  const size_t withApp = heap.Live();
  const std::set<HWND> before = ThreadWindows();
  for (int32_t mode : {kWindowModeSprites, 0}) {
    SCOPED_TRACE(mode);
    WindowDescriptor d = Descriptor(mode, 0, nullptr, WS_OVERLAPPEDWINDOW);
    d.className = RefusingClass();
    EXPECT_EQ(reinterpret_cast<uintptr_t>(WindowCreate(app, &d)), uintptr_t(kWindowNotCreated));
    EXPECT_EQ(heap.RepeatedFrees(), 0u);
    EXPECT_EQ(app->windows.GetCount(), 0);
    EXPECT_EQ(heap.Live(), withApp);
    EXPECT_EQ(ThreadWindows(), before);
  }
  // A window of the library's own class on the same app is made as usual.
  WindowDescriptor d = Descriptor(kWindowModeSprites, 0, nullptr, WS_OVERLAPPEDWINDOW);
  WindowObject* w = WindowCreate(app, &d);
  ASSERT_TRUE(IsRecord(w));
  WindowDestroy(w);
  AppDestroy(app);
  EXPECT_EQ(heap.Live(), 0u);
  EXPECT_EQ(heap.RepeatedFrees(), 0u);
}

TEST_F(WindowTeardownTest, ACreationThatRunsOutOfMemoryLeavesNothingBehind) {
  LiveBlockHeap heap;
  AppObject* app = AppCreate(GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(app, nullptr);
  ASSERT_TRUE(app->windows.Grow());
  const size_t withApp = heap.Live();
  const std::set<HWND> before = ThreadWindows();
  WindowDescriptor d = Descriptor(kWindowModeSprites, 0, nullptr, WS_OVERLAPPEDWINDOW);
  int failures = 0;
  for (int budget = 0; budget < 4; ++budget) {
    heap.SetBudget(budget);
    WindowObject* w = WindowCreate(app, &d);
    heap.SetBudget(-1);
    if (w == nullptr) {
      ++failures;
      EXPECT_EQ(app->windows.GetCount(), 0) << budget;
      EXPECT_EQ(heap.Live(), withApp) << budget;
      EXPECT_EQ(ThreadWindows(), before) << budget;
    } else {
      ASSERT_TRUE(IsRecord(w)) << budget;
      WindowDestroy(w);
    }
  }
  EXPECT_GE(failures, 3);  // the record, the list slot, the dirty list, the pool
  AppDestroy(app);
  EXPECT_EQ(heap.Live(), 0u);
}

#endif  // _WIN32

}  // namespace

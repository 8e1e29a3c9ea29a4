// A host program creating, adopting, sizing and destroying library windows
// by ordinal, with its own window class routed through the library's
// window procedure.
#include <windows.h>

#include "WindowHost.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

using namespace window_offsets;

class WindowHost : public LibraryWindowTest<::testing::Test> {
 protected:
  WindowHost() : LibraryWindowTest("OmbrelHostWindow") {}
  void* Make(const WindowDescriptor76& d) {
    void* w = api_.create(app_, &d);
    EXPECT_GT(reinterpret_cast<uintptr_t>(w), 2u);
    return reinterpret_cast<uintptr_t>(w) > 2 ? w : nullptr;
  }
  static SIZE Client(void* w) {
    RECT r{};
    GetClientRect(Field<HWND>(w, kHwnd), &r);
    return {r.right - r.left, r.bottom - r.top};
  }
  static RECT Outer(void* w) {
    RECT r{};
    GetWindowRect(Field<HWND>(w, kHwnd), &r);
    return r;
  }
};

TEST_F(WindowHost, ANullAppGivesOneAndANegativeSizeIsTheClientArea) {
  WindowDescriptor76 d = Descriptor(className_, -320, -200, -320, -200, 0);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(api_.create(nullptr, &d)), 1u);
  void* w = Make(d);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(Client(w).cx, 320);
  EXPECT_EQ(Client(w).cy, 200);
  EXPECT_EQ(api_.fromHandle(Field<HWND>(w, kHwnd)), w);
  EXPECT_EQ(GetWindowLongA(Field<HWND>(w, kHwnd), 0), LONG(reinterpret_cast<uintptr_t>(w)));
  EXPECT_NE(Field<HDC>(w, kDc), nullptr);
  EXPECT_EQ(Field<uint16_t>(w, kStyle) & 0x1000, 0x1000);
  EXPECT_EQ(api_.WindowCount(app_), 1);
}

TEST_F(WindowHost, BufferSizesArePixelsOrAWindowSizeLessTheFrame) {
  void* probe = Make(Descriptor(className_, 700, 560, -640, -480, 1));
  ASSERT_NE(probe, nullptr);
  EXPECT_EQ(Field<int32_t>(probe, kBufferWidth), 640);
  EXPECT_EQ(Field<int32_t>(probe, kBufferHeight), 480);
  const int32_t frameWidth = Field<int32_t>(probe, kFrameWidth);
  const int32_t frameHeight = Field<int32_t>(probe, kFrameHeight);
  EXPECT_GT(frameWidth, 0);
  EXPECT_GT(frameHeight, 0);
  void* framed = Make(Descriptor(className_, 700, 560, 640 + frameWidth, 480 + frameHeight, 1));
  ASSERT_NE(framed, nullptr);
  EXPECT_EQ(Field<int32_t>(framed, kBufferWidth), 640);
  EXPECT_EQ(Field<int32_t>(framed, kBufferHeight), 480);
  EXPECT_NE(Field<void*>(framed, kUpdates), nullptr);  // a sprite window has a dirty list
}

TEST_F(WindowHost, ASizeBeyondTheBufferIsCappedUnlessTheBufferStretches) {
  // Made larger than their buffers: nothing is capped before a size change.
  WindowDescriptor76 d = Descriptor(className_, -400, -300, -320, -240, 1);
  void* capped = Make(d);
  d.flags = 0x0002;
  void* stretched = Make(d);
  ASSERT_NE(capped, nullptr);
  ASSERT_NE(stretched, nullptr);
  ASSERT_EQ(Client(capped).cx, 400);
  for (void* w : {capped, stretched})
    SendMessageA(Field<HWND>(w, kHwnd), WM_SIZE, SIZE_RESTORED, MAKELPARAM(800, 600));
  EXPECT_EQ(Client(capped).cx, 320);
  EXPECT_EQ(Client(capped).cy, 240);
  EXPECT_EQ(Field<uint16_t>(capped, kStyle) & 0x0001, 0);  // the guard is down again
  EXPECT_EQ(Client(stretched).cx, 400);
  EXPECT_EQ(Client(stretched).cy, 300);
  // Growing the window is held to the buffer by the size limits.
  SetWindowPos(Field<HWND>(capped, kHwnd), nullptr, 0, 0, 900, 700,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(Client(capped).cx, 320);
  EXPECT_EQ(Client(capped).cy, 240);
}

TEST_F(WindowHost, MoveAndResizeKeepAnAxisGivenAs0x8000) {
  void* w = Make(Descriptor(className_, 400, 300, -640, -480, 0));
  ASSERT_NE(w, nullptr);
  api_.move(w, 30, 40);
  RECT r = Outer(w);
  EXPECT_EQ(r.left, 30);
  EXPECT_EQ(r.top, 40);
  api_.move(w, 0x8000, 10);
  r = Outer(w);
  EXPECT_EQ(r.left, 30);
  EXPECT_EQ(r.top, 10);
  const int32_t height = r.bottom - r.top;
  api_.resize(w, -320, 0x8000);
  EXPECT_EQ(Client(w).cx, 320);
  r = Outer(w);
  EXPECT_EQ(r.bottom - r.top, height);
}

TEST_F(WindowHost, WaitCursorsNestAndTheLastEndBringsTheCursorBack) {
  void* w = Make(Descriptor(className_, 200, 100, -200, -100, 0));
  ASSERT_NE(w, nullptr);
  HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
  HCURSOR wait = LoadCursorA(nullptr, IDC_WAIT);
  EXPECT_EQ(Field<HCURSOR>(w, kCursor), arrow);
  api_.beginWait(w);
  api_.beginWait(w);
  api_.endWait(w);
  EXPECT_EQ(Field<HCURSOR>(w, kCursor), wait);
  EXPECT_EQ(Field<int32_t>(w, kWaitDepth), 1);
  api_.endWait(w);
  EXPECT_EQ(Field<HCURSOR>(w, kCursor), arrow);
  api_.endWait(w);  // not waiting: nothing
  EXPECT_EQ(Field<int32_t>(w, kWaitDepth), 0);
  HCURSOR cross = LoadCursorA(nullptr, IDC_CROSS);
  api_.beginWait(w);
  EXPECT_EQ(api_.setCursor(w, cross), wait);
  EXPECT_EQ(Field<int32_t>(w, kWaitDepth), 0);
  EXPECT_EQ(Field<HCURSOR>(w, kCursor), cross);
}

TEST_F(WindowHost, AnMdiChildNeedsALibraryFrameOfThisThread) {
  HWND foreign = CreateWindowExA(0, "STATIC", "foreign", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                 nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(foreign, nullptr);
  const int32_t before = api_.WindowCount(app_);
  WindowDescriptor76 child = Descriptor(className_, 200, 100, -200, -100, 0);
  child.flags = 0x0800;
  child.parent = foreign;
  child.style = WS_CHILD | WS_VISIBLE;
  EXPECT_EQ(reinterpret_cast<uintptr_t>(api_.create(app_, &child)), 2u);
  EXPECT_EQ(api_.WindowCount(app_), before);
  DestroyWindow(foreign);

  WindowDescriptor76 frame = Descriptor(className_, 500, 400, -480, -360, 0);
  frame.flags = 0x0200;
  void* f = Make(frame);
  ASSERT_NE(f, nullptr);
  HWND client = Field<HWND>(f, kMdiClient);
  ASSERT_NE(client, nullptr);
  child.parent = Field<HWND>(f, kHwnd);
  child.style = WS_VISIBLE;
  void* c = Make(child);
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(Field<HWND>(c, kMdiClient), client);
  EXPECT_EQ(GetParent(Field<HWND>(c, kHwnd)), client);
  EXPECT_EQ(api_.WindowCount(app_), before + 2);
  // Destroying the frame takes its child first.
  HWND childWindow = Field<HWND>(c, kHwnd);
  api_.destroy(f);
  EXPECT_FALSE(IsWindow(childWindow));
  EXPECT_EQ(api_.WindowCount(app_), before);
}

TEST_F(WindowHost, AnAdoptedWindowOutlivesItsRecordAndADestroyedWindowsRecordIsGone) {
  HWND own = CreateWindowExA(0, "STATIC", "own", WS_OVERLAPPEDWINDOW, 0, 0, 150, 120, nullptr,
                             nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(own, nullptr);
  void* adopted = api_.attach(app_, own);
  ASSERT_GT(reinterpret_cast<uintptr_t>(adopted), 2u);
  EXPECT_EQ(Field<uint16_t>(adopted, kStyle) & 0x0100, 0x0100);
  EXPECT_EQ(Field<int32_t>(adopted, kBufferWidth), 150);
  EXPECT_EQ(api_.fromHandle(own), adopted);
  api_.destroy(adopted);
  EXPECT_TRUE(IsWindow(own));
  EXPECT_EQ(api_.fromHandle(own), nullptr);
  DestroyWindow(own);

  void* made = Make(Descriptor(className_, 200, 100, -200, -100, 1));
  ASSERT_NE(made, nullptr);
  HWND hwnd = Field<HWND>(made, kHwnd);
  api_.destroy(made);
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_EQ(api_.fromHandle(hwnd), nullptr);
  EXPECT_EQ(api_.WindowCount(app_), 0);
}

// Each thread's apps see only their own windows.
struct ThreadWindows {
  const WindowApi* api;
  const char* className;
  HANDLE made;
  HANDLE checked;
  HWND hwnd = nullptr;
  HWND other = nullptr;
  void* foundOther = reinterpret_cast<void*>(1);
  void* foundOwn = nullptr;
};

DWORD WINAPI OtherThread(void* param) {
  auto* t = static_cast<ThreadWindows*>(param);
  void* app = t->api->appCreate(GetModuleHandleA(nullptr), nullptr);
  WindowDescriptor76 d = Descriptor(t->className, 200, 100, -200, -100, 0);
  void* w = t->api->create(app, &d);
  t->hwnd = reinterpret_cast<uintptr_t>(w) > 2 ? Field<HWND>(w, window_offsets::kHwnd) : nullptr;
  SetEvent(t->made);
  WaitForSingleObject(t->checked, 5000);
  t->foundOther = t->api->fromHandle(t->other);
  t->foundOwn = t->api->fromHandle(t->hwnd);
  t->api->appDestroy(app);
  return 0;
}

TEST_F(WindowHost, AppsOnTwoThreadsFindOnlyTheirOwnWindows) {
  void* mine = Make(Descriptor(className_, 200, 100, -200, -100, 0));
  ASSERT_NE(mine, nullptr);
  ThreadWindows t{&api_, className_, CreateEventA(nullptr, TRUE, FALSE, nullptr),
                  CreateEventA(nullptr, TRUE, FALSE, nullptr)};
  t.other = Field<HWND>(mine, kHwnd);
  HANDLE thread = CreateThread(nullptr, 0, OtherThread, &t, 0, nullptr);
  ASSERT_NE(thread, nullptr);
  ASSERT_EQ(WaitForSingleObject(t.made, 5000), WAIT_OBJECT_0);
  ASSERT_NE(t.hwnd, nullptr);
  EXPECT_EQ(api_.fromHandle(t.hwnd), nullptr);
  EXPECT_EQ(api_.fromHandle(t.other), mine);
  SetEvent(t.checked);
  WaitForSingleObject(thread, 5000);
  EXPECT_EQ(t.foundOther, nullptr);
  EXPECT_NE(t.foundOwn, nullptr);
  CloseHandle(thread);
  CloseHandle(t.made);
  CloseHandle(t.checked);
}

TEST_F(WindowHost, PoolReplacementAndUpdateWordFollowTheirRules) {
  void* w = Make(Descriptor(className_, 200, 100, -200, -100, 1));
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(api_.control(w, 1, 0, 0), 0);  // a pool for no record is refused
  EXPECT_EQ(api_.control(w, 1, 0, 10), 1);
  EXPECT_EQ(api_.control(w, 2, 0x0150, 0), 1);
  EXPECT_EQ(api_.control(w, 4, 0, 0), 0x0150);
  EXPECT_EQ(api_.control(w, 10, 0x12, 0), 1);
  EXPECT_EQ(api_.control(w, 9, 0, 0) & 0x10, 0x10);
  EXPECT_EQ(api_.control(nullptr, 9, 0, 0), 0);
  api_.control(w, 2, 0, 0);
}

TEST_F(WindowHost, AMenuBarCountsInTheFrameWhileItIsAttached) {
  void* w = Make(Descriptor(className_, -300, -200, -300, -200, 0));
  ASSERT_NE(w, nullptr);
  auto setMenu = lib_.Get<HMENU(WINAPI*)(void*, HMENU, int32_t)>(23);
  const int32_t frame = Field<int32_t>(w, kFrameHeight);
  HMENU menu = CreateMenu();
  AppendMenuA(menu, MF_STRING, 1, "File");
  EXPECT_EQ(setMenu(w, menu, 7), menu);
  EXPECT_EQ(Field<int32_t>(w, kFrameHeight), frame + GetSystemMetrics(SM_CYMENU));
  EXPECT_EQ(GetMenu(Field<HWND>(w, kHwnd)), menu);
  EXPECT_EQ(setMenu(w, nullptr, 0), nullptr);
  EXPECT_EQ(Field<int32_t>(w, kFrameHeight), frame);
  DestroyMenu(menu);
}

TEST_F(WindowHost, WithoutABufferTheBackgroundBrushErasesUnlessLeftToTheSystem) {
  constexpr COLORREF kSentinel = RGB(0x12, 0xEE, 0x34);
  WindowDescriptor76 d = Descriptor(className_, -100, -80, -100, -80, 0);
  d.style = WS_POPUP;
  void* erasing = Make(d);  // background 1: the white stock brush
  d.flags = 0x0008;
  void* leftAlone = Make(d);
  ASSERT_NE(erasing, nullptr);
  ASSERT_NE(leftAlone, nullptr);
  for (void* w : {erasing, leftAlone}) {
    HWND hwnd = Field<HWND>(w, kHwnd);
    ShowWindow(hwnd, SW_SHOWNOACTIVATE);  // an active window's end waits for the display
    UpdateWindow(hwnd);
    HDC dc = GetDC(hwnd);
    RECT r{0, 0, 100, 80};
    HBRUSH brush = CreateSolidBrush(kSentinel);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
    ReleaseDC(hwnd, dc);
    InvalidateRect(hwnd, nullptr, TRUE);
    UpdateWindow(hwnd);
  }
  auto pixel = [](void* w) {
    HDC dc = GetDC(Field<HWND>(w, kHwnd));
    const COLORREF c = GetPixel(dc, 50, 40);
    ReleaseDC(Field<HWND>(w, kHwnd), dc);
    return c;
  };
  EXPECT_EQ(pixel(erasing), RGB(255, 255, 255));
  EXPECT_EQ(pixel(leftAlone), kSentinel);  // the class has no brush
}

TEST_F(WindowHost, TheModeTableHasFourRecords) {
  int32_t records[10 * 8] = {};
  EXPECT_EQ(api_.listModes(records, 10, 0), 4);
  EXPECT_EQ(records[8 + 1], 15);
  EXPECT_EQ(api_.listModes(nullptr, 10, 0), 0);
}

}  // namespace

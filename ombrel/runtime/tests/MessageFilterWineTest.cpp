// A host program using the library's message-filter hook by ordinal: while
// a modal dialog runs, a key meant for one of its controls reaches the
// control's parent as message 0x8005.
#include <windows.h>

#include "OrdinalLibrary.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

constexpr UINT kDialogKey = 0x8005;
constexpr UINT_PTR kGiveUpTimer = 7;

struct HookApi {
  explicit HookApi(const OrdinalLibrary& lib)
      : install(lib.Get<HHOOK(WINAPI*)(int32_t)>(57)), remove(lib.Get<int32_t(WINAPI*)(int32_t)>(58)) {}
  HHOOK(WINAPI* install)(int32_t);
  int32_t(WINAPI* remove)(int32_t);
};

// An in-memory dialog template with one edit control (id 100).
std::vector<WORD> DialogTemplate() {
  std::vector<WORD> t(64, 0);
  auto* d = reinterpret_cast<DLGTEMPLATE*>(t.data());
  d->style = WS_POPUP | WS_CAPTION | DS_MODALFRAME;
  d->cdit = 1;
  d->cx = 100;
  d->cy = 40;
  size_t at = sizeof(DLGTEMPLATE) / sizeof(WORD) + 3;  // menu, class, title: none
  at = (at + 1) & ~size_t(1);                          // items are DWORD-aligned
  auto* item = reinterpret_cast<DLGITEMTEMPLATE*>(t.data() + at);
  item->style = WS_CHILD | WS_VISIBLE | ES_LEFT;
  item->x = 5;
  item->y = 5;
  item->cx = 80;
  item->cy = 12;
  item->id = 100;
  at += sizeof(DLGITEMTEMPLATE) / sizeof(WORD);
  t[at++] = 0xFFFF;
  t[at++] = 0x0081;  // the edit class
  t[at++] = 0;       // no text
  t[at++] = 0;       // no creation data
  return t;
}

struct Seen {
  bool got = false;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
};

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      PostMessageA(GetDlgItem(dialog, 100), WM_KEYDOWN, 'Q', 0x00100001);
      SetTimer(dialog, kGiveUpTimer, 1000, nullptr);
      return TRUE;
    case kDialogKey: {
      auto* seen = reinterpret_cast<Seen*>(GetWindowLongPtrA(dialog, DWLP_USER));
      seen->got = true;
      seen->wParam = wParam;
      seen->lParam = lParam;
      EndDialog(dialog, 1);
      return TRUE;
    }
    case WM_TIMER:
      EndDialog(dialog, 2);
      return TRUE;
    default:
      return FALSE;
  }
}

TEST(MessageFilterHost, KeysInsideAModalDialogReachTheControlsParent) {
  OrdinalLibrary lib;
  ASSERT_TRUE(lib.Loaded());
  HookApi api(lib);
  ASSERT_NE(api.install(0), nullptr);
  const std::vector<WORD> t = DialogTemplate();
  Seen seen;
  const INT_PTR result = DialogBoxIndirectParamA(GetModuleHandleA(nullptr),
                                                 reinterpret_cast<LPCDLGTEMPLATEA>(t.data()),
                                                 nullptr, DialogProc, reinterpret_cast<LPARAM>(&seen));
  EXPECT_EQ(result, 1);
  EXPECT_TRUE(seen.got);
  EXPECT_EQ(seen.wParam, WPARAM('Q'));
  EXPECT_EQ(seen.lParam, LPARAM(0x00100001));
  EXPECT_EQ(api.remove(0), 1);
}

TEST(MessageFilterHost, InstallsAreCountedAndTheLastRemoveUnhooks) {
  OrdinalLibrary lib;
  ASSERT_TRUE(lib.Loaded());
  HookApi api(lib);
  EXPECT_EQ(api.remove(0), 0);
  HHOOK first = api.install(0);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(api.install(0), first);
  EXPECT_EQ(api.remove(0), 1);
  // Still hooked: a key in a dialog is still passed on.
  const std::vector<WORD> t = DialogTemplate();
  Seen seen;
  DialogBoxIndirectParamA(GetModuleHandleA(nullptr), reinterpret_cast<LPCDLGTEMPLATEA>(t.data()),
                          nullptr, DialogProc, reinterpret_cast<LPARAM>(&seen));
  EXPECT_TRUE(seen.got);
  EXPECT_EQ(api.remove(0), 1);
  EXPECT_EQ(api.remove(0), 0);
  // Unhooked: the key goes to the control, the dialog gives up on its timer.
  Seen after;
  const INT_PTR result = DialogBoxIndirectParamA(GetModuleHandleA(nullptr),
                                                 reinterpret_cast<LPCDLGTEMPLATEA>(t.data()),
                                                 nullptr, DialogProc, reinterpret_cast<LPARAM>(&after));
  EXPECT_EQ(result, 2);
  EXPECT_FALSE(after.got);
}

}  // namespace

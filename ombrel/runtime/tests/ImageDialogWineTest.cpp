// The image file dialog under Wine, driven as a person would from a helper
// thread: it reads the list of file types from the type box, selects an
// image in the file list (the information panel fills in), keeps a
// screenshot of the dialog (bin/image-dialog.bmp) and cancels.
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

#include "OrdinalLibrary.h"
#include "TestBmp.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

struct Found {
  HWND dialog = nullptr;
  HWND child = nullptr;  // the library's template dialog
  HWND list = nullptr;
};

BOOL CALLBACK FindTopLevel(HWND window, LPARAM data) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  char cls[64] = {};
  GetClassNameA(window, cls, sizeof cls);
  if (process == GetCurrentProcessId() && std::strcmp(cls, "#32770") == 0 && IsWindowVisible(window)) {
    reinterpret_cast<Found*>(data)->dialog = window;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK FindChildren(HWND window, LPARAM data) {
  Found* found = reinterpret_cast<Found*>(data);
  char cls[64] = {};
  GetClassNameA(window, cls, sizeof cls);
  if (std::strcmp(cls, "SysListView32") == 0 && !found->list) found->list = window;
  if (std::strcmp(cls, "#32770") == 0 && GetDlgItem(window, 104)) found->child = window;
  return TRUE;
}

std::string Text(HWND dialog, int id) {
  char text[128] = {};
  GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}

// The dialog window's pixels as a BMP file.
void SaveScreenshot(HWND window, const std::string& path) {
  RECT r;
  GetWindowRect(window, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  SelectObject(memory, old);
  const DWORD rowBytes = ((w * 24 + 31) / 32) * 4, size = rowBytes * h;
  BITMAPFILEHEADER file{0x4D42, static_cast<DWORD>(54 + size), 0, 0, 54};
  HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD n = 0;
  WriteFile(f, &file, sizeof file, &n, nullptr);
  WriteFile(f, &info.bmiHeader, sizeof info.bmiHeader, &n, nullptr);
  WriteFile(f, bits, size, &n, nullptr);
  CloseHandle(f);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

// The share of points along the middle row of the preview frame (screen
// pixels) that show something other than the empty frame's face colour: the
// wide test image fills the frame's width at its middle.
double PreviewShare(HWND frame) {
  RECT box;
  if (!frame || !GetWindowRect(frame, &box)) return -1;
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  HDC screen = GetDC(nullptr);
  const int y = (box.top + box.bottom) / 2, from = box.left + 8, to = box.right - 8;
  int shown = 0, points = 0;
  for (int x = from; x < to; x += 4, ++points)
    if (GetPixel(screen, x, y) != face) ++shown;
  ReleaseDC(nullptr, screen);
  return points ? double(shown) / points : -1;
}

TEST(ImageDialog, OpenDialogListsTypesShowsTheChosenImageAndCancels) {
  OrdinalLibrary lib;
  ASSERT_TRUE(lib.Loaded());
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string folder = std::string(temp) + "ombrel-dialog-" + std::to_string(GetCurrentProcessId());
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::string image = folder + "\\wide.bmp";
  {
    Bytes pixels(400 * 100 * 3);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint8_t>(i * 7);
    const Bytes bytes = MakeBmp(400, 100, 24, {}, pixels);
    HANDLE f = CreateFileA(image.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD n = 0;
    WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
    CloseHandle(f);
  }
  void* registry = lib.Get<void*(WINAPI*)()>(794)();
  lib.Get<void(OMB_THISCALL*)(void*, const char*, uintptr_t)>(591)(registry, "plugins", 0);

  std::vector<std::string> types;
  std::string type, width, height, depth;
  double previewShown = -1;
  std::atomic<bool> sawDialog{false};
  std::thread helper([&] {
    Found found;
    for (int tries = 0; tries < 200 && !found.dialog; ++tries) {
      Sleep(100);
      EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&found));
    }
    if (!found.dialog) return;
    sawDialog = true;
    Sleep(500);
    HWND combo = GetDlgItem(found.dialog, 0x470);  // the file type box
    const int count = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      char text[256] = {};
      SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
      types.push_back(text);
    }
    EnumChildWindows(found.dialog, FindChildren, reinterpret_cast<LPARAM>(&found));
    if (found.list && found.child) {
      // Select the image's row in the file list.
      const int rows = static_cast<int>(SendMessageA(found.list, LVM_GETITEMCOUNT, 0, 0));
      for (int i = 0; i < rows; ++i) {
        char name[MAX_PATH] = {};
        LVITEMA item{};
        item.iSubItem = 0;
        item.pszText = name;
        item.cchTextMax = MAX_PATH;
        SendMessageA(found.list, LVM_GETITEMTEXTA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        if (std::strncmp(name, "wide", 4) != 0) continue;
        LVITEMA state{};
        state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        state.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageA(found.list, LVM_SETITEMSTATE, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&state));
        break;
      }
      for (int tries = 0; tries < 50 && Text(found.child, 101).empty(); ++tries) Sleep(100);
      type = Text(found.child, 100);
      width = Text(found.child, 101);
      height = Text(found.child, 102);
      depth = Text(found.child, 103);
      // The dialog's thread paints the preview after the selection's note.
      for (int tries = 0; tries < 50; ++tries, Sleep(100))
        if ((previewShown = PreviewShare(GetDlgItem(found.child, 104))) > 0.8) break;
      Sleep(300);
      // Beside the test program (the dialog moves the current folder).
      char program[MAX_PATH] = {};
      GetModuleFileNameA(nullptr, program, MAX_PATH);
      std::string shot = program;
      shot = shot.substr(0, shot.find_last_of('\\') + 1) + "image-dialog.bmp";
      SaveScreenshot(found.dialog, shot);
    }
    PostMessageA(found.dialog, WM_COMMAND, IDCANCEL, 0);
  });

  char fileName[MAX_PATH] = {};
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.lpstrFile = fileName;
  ofn.nMaxFile = MAX_PATH;
  ofn.lpstrInitialDir = folder.c_str();
  ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST;
  uint32_t format = 0x20504D42;
  const BOOL result = lib.Get<BOOL(WINAPI*)(OPENFILENAMEA*, int32_t, void*, uint32_t*, uint32_t)>(148)(
      &ofn, 1, registry, &format, 1);
  helper.join();
  EXPECT_TRUE(sawDialog);
  EXPECT_FALSE(result) << "cancelled";
  EXPECT_EQ(format, 0x20504D42u) << "a cancelled dialog leaves the format alone";
  EXPECT_EQ(ofn.lpstrFilter, nullptr) << "the caller's structure gets its own fields back";
  EXPECT_EQ(types, (std::vector<std::string>{"Image files", "BMP files (*.bmp, *.dib)", "Animation files (*.zan)",
                                             "All files (*.*)"}));
  EXPECT_EQ(type, "BMP");
  EXPECT_EQ(width, "400");
  EXPECT_EQ(height, "100");
  EXPECT_EQ(depth, "24");
  // Painted again over the empty frame: the selection invalidated the
  // preview's rectangle in the window that paints it, not just the control.
  EXPECT_GT(previewShown, 0.8) << "share of the preview's middle row showing the image";

  using Fn = void(OMB_THISCALL*)(void*);
  reinterpret_cast<Fn>((*static_cast<void***>(registry))[2])(registry);
  reinterpret_cast<Fn>((*static_cast<void***>(registry))[3])(registry);
  DeleteFileA(image.c_str());
  RemoveDirectoryA(folder.c_str());
}

}  // namespace

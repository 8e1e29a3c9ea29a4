// The image file dialog: the system's open or save dialog with the library's
// child template (dialog 100: an information panel and a preview), its type
// list built from the image plug-ins. The portable parts are in
// DialogTypes.cpp.
#include <windows.h>
#include <commdlg.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "FileIo.h"
#include "image/DialogTypes.h"
#include "image/ImageFileApi.h"
#include "image/cImageFile.h"
#include "palette/cPalette.h"
#include "plugin/cImagePluginRegistry.h"
#include "surface/SurfaceHandle.h"
#include "surface/SurfaceLibraryApi.h"

extern "C" UINT_PTR CALLBACK ImageFileDialogHook(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

namespace {

enum : int { kTemplate = 100, kType = 100, kWidth = 101, kHeight = 102, kDepth = 103, kPreview = 104,
             kFramesLabel = 105, kFrames = 106 };
enum : UINT { kStrImages = 100, kStrAnimations = 101, kStrGraphics = 102, kStrAllFiles = 103, kStrCaption = 104,
              kStrUnknown = 105 };

struct DialogRecord {
  cImagePluginRegistry* registry;
  cSurfaceHandle* preview;
  uint32_t kinds;
  uint32_t formatId;
  const char* defaultExts;
};

HMODULE LibraryModule() {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&ImageFileDialogHook), &module);
  return module;
}

std::string LoadText(UINT id) {
  char text[256] = {};
  LoadStringA(LibraryModule(), id, text, sizeof text);
  return text;
}

// A listed plug-in also writes the kind in save mode (asked of a filter made
// by its identifier, released again).
bool WritesKind(cImagePluginRegistry* registry, int32_t index, uint32_t kinds) {
  cImageFilter* filter = static_cast<cImageFilter*>(registry->CreateByID(registry->GetID(index)));
  if (!filter) return false;
  const bool writes = ((kinds & DialogStillImages) && filter->CanWriteImages()) ||
                      ((kinds & DialogAnimations) && filter->CanWriteAnimations());
  filter->Release();
  return writes;
}

DialogRecord* RecordOf(HWND window) { return reinterpret_cast<DialogRecord*>(GetWindowLongPtrA(window, GWLP_USERDATA)); }

void DropPreview(DialogRecord* record) {
  if (record->preview) DeleteSurfaceHandle(record->preview);
  record->preview = nullptr;
}

std::string ChosenPath(HWND window) {
  char path[MAX_PATH] = {};
  SendMessageA(GetParent(window), CDM_GETFILEPATH, MAX_PATH, reinterpret_cast<LPARAM>(path));
  return path;
}

void ShowSelection(HWND window, DialogRecord* record) {
  const std::string path = ChosenPath(window);
  for (int id : {kType, kWidth, kHeight, kDepth}) SetDlgItemTextA(window, id, "");
  if (record->kinds & DialogAnimations) {
    ShowWindow(GetDlgItem(window, kFramesLabel), SW_SHOW);
    ShowWindow(GetDlgItem(window, kFrames), SW_SHOW);
    SetDlgItemTextA(window, kFrames, "");
  }
  DropPreview(record);
  if (!path.empty() && FileExists(path.c_str())) {
    cImageFile file(record->registry);
    if (file.OpenRead(path.c_str()) != ImageOk) {
      SetDlgItemTextA(window, kType, LoadText(kStrUnknown).c_str());
    } else {
      SetDlgItemInt(window, kWidth, static_cast<UINT>(file.GetWidth()), FALSE);
      SetDlgItemInt(window, kHeight, static_cast<UINT>(file.GetHeight()), FALSE);
      SetDlgItemInt(window, kDepth, static_cast<UINT>(file.GetDepth()), FALSE);
      if (record->kinds & DialogAnimations)
        SetDlgItemInt(window, kFrames, static_cast<UINT>(file.IsAnimation() ? file.GetFrameCount() : 1), FALSE);
      SetDlgItemTextA(window, kType, file.GetFilterName() ? file.GetFilterName() : "");
      cSurfaceHandle* prototype = nullptr;
      const int32_t depth = std::max(file.GetDepth(), 8);
      // A memory surface: the preview is drawn from its rows (DrawPreview).
      GetSurfacePrototype(&prototype, depth, SurfaceTypeMemory, 0);
      cSurfaceHandle* preview = prototype ? CreateSurfaceHandle() : nullptr;
      if (preview) {
        preview->Create(file.GetWidth(), file.GetHeight(), prototype);
        if (preview->IsValid() && preview->GetDepth() <= 8 && file.GetPalette())
          preview->SetLogPalette(file.GetPalette(), 0);
        uint8_t* bits = preview->IsValid() ? preview->LockBuffer() : nullptr;
        if (bits && file.ReadFrame(bits, preview->GetWidth(), preview->GetHeight(), preview->GetPitch(),
                                   preview->GetDepth(), nullptr, nullptr, 0) == ImageOk) {
          record->preview = preview;
        }
        if (bits) preview->UnlockBuffer(bits);
        if (!record->preview) DeleteSurfaceHandle(preview);
      }
    }
    file.Close();
  }
  // The preview is painted by this window under the frame control.
  if (HWND control = GetDlgItem(window, kPreview)) {
    RECT box;
    GetWindowRect(control, &box);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&box), 2);
    InvalidateRect(window, &box, TRUE);
    InvalidateRect(control, nullptr, TRUE);
  }
}

// Draws the preview's rows with the system's stretch (the surface handle's
// own stretch onto a device context is not part of the library yet).
void DrawPreview(HDC dc, const RECT& box, cSurfaceHandle* preview) {
  const int32_t w = preview->GetWidth(), h = preview->GetHeight(), depth = preview->GetDepth();
  if (depth != 8 && depth != 24 && depth != 32) return;
  const PreviewRect fit = FitPreview(w, h, box.right - box.left, box.bottom - box.top);
  struct {
    BITMAPINFOHEADER header;
    RGBQUAD colours[256];
  } info{};
  info.header.biSize = sizeof info.header;
  info.header.biWidth = preview->GetPitch() / std::max(1, (depth + 1) / 8);
  info.header.biHeight = -h;
  info.header.biPlanes = 1;
  info.header.biBitCount = static_cast<WORD>(depth);
  info.header.biCompression = BI_RGB;
  if (depth == 8) {
    if (cPalette* palette = preview->GetPalette()) {
      for (int i = 0; i < 256; ++i)
        info.colours[i] = {palette->log.entries[i].blue, palette->log.entries[i].green, palette->log.entries[i].red, 0};
    }
  }
  uint8_t* bits = preview->LockBuffer();
  if (!bits) return;
  SetStretchBltMode(dc, HALFTONE);
  StretchDIBits(dc, box.left + fit.x, box.top + fit.y, fit.width, fit.height, 0, 0, w, h, bits,
                reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, SRCCOPY);
  preview->UnlockBuffer(bits);
  // A one-pixel frame: top and left lit, bottom and right in shadow.
  const int left = box.left + fit.x, top = box.top + fit.y;
  const int right = left + fit.width - 1, bottom = top + fit.height - 1;
  HPEN light = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNHIGHLIGHT));
  HPEN dark = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
  HGDIOBJ old = SelectObject(dc, light);
  MoveToEx(dc, left, bottom, nullptr);
  LineTo(dc, left, top);
  LineTo(dc, right + 1, top);
  SelectObject(dc, dark);
  MoveToEx(dc, left, bottom, nullptr);
  LineTo(dc, right, bottom);
  LineTo(dc, right, top - 1);
  SelectObject(dc, old);
  DeleteObject(light);
  DeleteObject(dark);
}

void PaintPreview(HWND window, DialogRecord* record) {
  HWND control = GetDlgItem(window, kPreview);
  if (!control) return;
  RECT box;
  GetWindowRect(control, &box);
  MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&box), 2);
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
  FillRect(dc, &box, face);
  if (record && record->preview) {
    HPALETTE selected = nullptr, previous = nullptr;
    const PreviewPalette choice =
        ChoosePreviewPalette(GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES), record->preview->GetPalette());
    if (choice == PreviewPalette::Preview) {
      cPalette* p = record->preview->GetPalette();
      selected = CreatePalette(reinterpret_cast<const LOGPALETTE*>(&p->log));
    } else if (choice == PreviewPalette::Halftone) {
      selected = CreateHalftonePalette(dc);
    }
    if (selected) {
      previous = SelectPalette(dc, selected, FALSE);
      RealizePalette(dc);
    }
    DrawPreview(dc, box, record->preview);
    if (selected) {
      SelectPalette(dc, previous, FALSE);
      DeleteObject(selected);
    }
  } else {
    DrawEdge(dc, &box, EDGE_SUNKEN, BF_RECT);
  }
  EndPaint(window, &paint);
}

}  // namespace

extern "C" UINT_PTR CALLBACK ImageFileDialogHook(HWND window, UINT message, WPARAM, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<const OPENFILENAMEA*>(lParam)->lCustData);
      return 1;
    case WM_NOTIFY: {
      const OFNOTIFYA* note = reinterpret_cast<const OFNOTIFYA*>(lParam);
      DialogRecord* record = RecordOf(window);
      if (!record) return 0;
      if (note->hdr.code == CDN_SELCHANGE) {
        ShowSelection(window, record);
      } else if (note->hdr.code == CDN_TYPECHANGE) {
        // The n-th entry of the default-extension list.
        DWORD n = note->lpOFN->nFilterIndex;
        const char* ext = record->defaultExts;
        while (n > 1 && *ext) {
          ext += std::strlen(ext) + 1;
          --n;
        }
        if (n >= 1 && *ext) SendMessageA(GetParent(window), CDM_SETDEFEXT, 0, reinterpret_cast<LPARAM>(ext));
      } else if (note->hdr.code == CDN_FILEOK) {
        const std::string path = ChosenPath(window);
        if (!path.empty() && FileExists(path.c_str())) {
          cImageFile file(record->registry);
          if (file.OpenRead(path.c_str()) != ImageOk) {
            MessageBoxA(window, LoadText(kStrUnknown).c_str(), nullptr, MB_OK | MB_ICONWARNING);
            SetWindowLongPtrA(window, DWLP_MSGRESULT, 1);
            return 1;
          }
          record->formatId = file.GetFilterID();
          file.Close();
        }
      }
      return 0;
    }
    case WM_PAINT:
      PaintPreview(window, RecordOf(window));
      return 0;
    default:
      return 0;
  }
}

extern "C" BOOL WINAPI ImageFileDialog(OPENFILENAMEA* ofn, int32_t open, cImagePluginRegistry* registry,
                                       uint32_t* formatId, uint32_t kinds) {
  if (!ofn || !registry) return FALSE;
  std::unique_ptr<DialogTypeBlocks> blocks(new (std::nothrow) DialogTypeBlocks);
  if (!blocks) return FALSE;
  // The plug-ins the dialog lists, in registry order.
  std::vector<DialogFormat> formats;
  for (int32_t i = 0; i < registry->GetCount(); ++i) {
    const bool reads = ((kinds & DialogStillImages) && registry->CanReadImages(i)) ||
                       ((kinds & DialogAnimations) && registry->CanReadAnimations(i));
    if (!reads || (!open && !WritesKind(registry, i, kinds))) continue;
    formats.push_back({registry->GetName(i), registry->GetExts(i), registry->GetID(i)});
  }
  const std::string title = LoadText(kinds == DialogStillImages ? kStrImages
                                     : kinds == DialogAnimations ? kStrAnimations
                                                                 : kStrGraphics);
  const std::string caption = LoadText(kStrCaption), allFiles = LoadText(kStrAllFiles);
  BuildDialogTypes(formats.data(), static_cast<int32_t>(formats.size()), open != 0, formatId ? *formatId : 0,
                   {title.c_str(), caption.c_str(), allFiles.c_str()}, *blocks);

  DialogRecord record{registry, nullptr, kinds, formatId ? *formatId : 0, blocks->defaultExts};
  // The caller's structure gets the dialog's fields for the call only.
  const OPENFILENAMEA saved = *ofn;
  ofn->lpstrFilter = blocks->filter;
  if (blocks->initialIndex) ofn->nFilterIndex = static_cast<DWORD>(blocks->initialIndex);
  if (!open) ofn->lpstrDefExt = blocks->defaultExts;
  const DWORD version = GetVersion();
  const DWORD major = LOBYTE(LOWORD(version)), minor = HIBYTE(LOWORD(version));
  const bool nt = (version & 0x80000000u) == 0;
  if ((nt && major > 4) || (!nt && (major > 4 || (major == 4 && minor != 0)))) ofn->Flags |= OFN_ENABLESIZING;
  ofn->Flags |= OFN_ENABLEHOOK | OFN_ENABLETEMPLATE;
  ofn->lpfnHook = ImageFileDialogHook;
  if (!ofn->lpTemplateName) {
    ofn->hInstance = LibraryModule();
    ofn->lpTemplateName = MAKEINTRESOURCEA(kTemplate);
  }
  ofn->lCustData = reinterpret_cast<LPARAM>(&record);
  const BOOL result = open ? GetOpenFileNameA(ofn) : GetSaveFileNameA(ofn);
  if (result) {
    uint32_t chosen = record.formatId;
    if (!open && ofn->nFilterIndex >= 1 && ofn->nFilterIndex <= static_cast<DWORD>(blocks->entries))
      chosen = blocks->ids[ofn->nFilterIndex - 1];
    if (formatId) *formatId = chosen;
  }
  DropPreview(&record);
  ofn->lpstrFilter = saved.lpstrFilter;
  ofn->lpstrDefExt = saved.lpstrDefExt;
  ofn->lpfnHook = saved.lpfnHook;
  ofn->lCustData = saved.lCustData;
  ofn->hInstance = saved.hInstance;
  ofn->lpTemplateName = saved.lpTemplateName;
  ofn->Flags = (ofn->Flags & ~(OFN_ENABLEHOOK | OFN_ENABLETEMPLATE | OFN_ENABLESIZING)) |
               (saved.Flags & (OFN_ENABLEHOOK | OFN_ENABLETEMPLATE | OFN_ENABLESIZING));
  return result;
}

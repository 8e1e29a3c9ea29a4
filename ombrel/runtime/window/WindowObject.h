// The record of a library window: the window handle tied to its application,
// the back buffer and background surfaces, the dirty-rectangle list, the
// background collision mask, the sprite pool, the GDI pen and colours, the
// cursor state and the menu. Callers address its fields by offset, so the
// layout is packed to 2 bytes and pinned.
#pragma once

#include <cstddef>
#include <cstdint>

#include "OmbrelApi.h"

struct AppObject;
struct UpdateList;
class cSurfaceHandle;
class cSurfaceImpl;

// `WindowObject::style`: the low byte comes from the descriptor's flags.
enum WindowStyle : uint16_t {
  WindowStyleResizeGuard = 0x0001,   // set while the window procedure corrects a size
  WindowStyleStretch = 0x0002,       // presents stretch the buffer; WM_SIZE is not capped
  WindowStyleDefaultErase = 0x0008,  // WM_ERASEBKGND goes to the default procedure
  WindowStyleKeepApart = 0x0010,     // the dirty list keeps rectangles apart
  WindowStyleAdopted = 0x0100,       // adopted (mode 3): neither created nor subclassed
  WindowStyleMdiFrame = 0x0200,
  WindowStyleMdiChild = 0x0800,
  WindowStyleKeptDC = 0x1000,        // `dc` is kept for the window's life
  WindowStyleSurfaceAttached = 0x2000,
  WindowStyleForeign = 0x8000,       // a foreign window adopted by handle
};

// `WindowObject::update`.
enum WindowUpdate : uint16_t {
  WindowUpdateOff = 0x01,
  WindowUpdateKeepPalettes = 0x02,
  WindowUpdatePaced = 0x08,
  WindowUpdateOwnSaves = 0x10,
};

// Packed only where the layout is the interface: natively (sanitizer tests)
// the fields keep their natural alignment.
#if OMB_I686
#pragma pack(push, 2)
#endif
struct WindowObject {
  AppObject* app;
  void* hwnd;
  void* parent;
  void* mdiClient;
  void* dc;
  void* selectedPalette;
  void* previousPalette;
  uint16_t style;
  uint16_t update;
  uint16_t depth;
  int32_t reserved34;
  int32_t surfaceAttached;  // -1 while a drawing surface is attached
  int32_t reserved42;
  cSurfaceHandle* drawSurface;
  cSurfaceImpl* drawImpl;
  cSurfaceHandle* backSurface;
  cSurfaceImpl* backImpl;
  int16_t pixelCollision;
  int16_t maskRowBytes;
  int32_t maskOriginX;
  int32_t maskLeft;  // mask rectangle, inclusive, in this order
  int32_t maskRight;
  int32_t maskTop;
  int32_t maskBottom;
  uint8_t* maskBits;
  int32_t plane0;
  int32_t plane1;
  int32_t planeSize;
  UpdateList* updates;
  int32_t bufferWidth;
  int32_t bufferHeight;
  int32_t frameWidth;
  int32_t frameHeight;
  uint32_t background;
  uint32_t backColour;
  uint32_t penColour;
  int16_t backIndex;
  int16_t penIndex;
  int32_t penWidthLess1;
  int32_t bkMode;
  int32_t rop2;
  void* pen;
  void* cursor;
  void* savedCursor;
  int32_t waitDepth;
  void* menu;
  int32_t menuOption;
  int32_t maskClipLeft;  // mask clip rectangle, inclusive
  int32_t maskClipTop;
  int32_t maskClipRight;
  int32_t maskClipBottom;
  int32_t maskOriginY;
  void* spritePool;
  uint32_t lastPresent;
};
#if OMB_I686
#pragma pack(pop)
#endif

OMB_PIN_SIZE(WindowObject, 202);
OMB_PIN_OFFSET(WindowObject, hwnd, 4);
OMB_PIN_OFFSET(WindowObject, dc, 16);
OMB_PIN_OFFSET(WindowObject, style, 28);
OMB_PIN_OFFSET(WindowObject, update, 30);
OMB_PIN_OFFSET(WindowObject, depth, 32);
OMB_PIN_OFFSET(WindowObject, surfaceAttached, 38);
OMB_PIN_OFFSET(WindowObject, drawSurface, 46);
OMB_PIN_OFFSET(WindowObject, drawImpl, 50);
OMB_PIN_OFFSET(WindowObject, backSurface, 54);
OMB_PIN_OFFSET(WindowObject, pixelCollision, 62);
OMB_PIN_OFFSET(WindowObject, maskOriginX, 66);
OMB_PIN_OFFSET(WindowObject, maskLeft, 70);
OMB_PIN_OFFSET(WindowObject, maskBits, 86);
OMB_PIN_OFFSET(WindowObject, planeSize, 98);
OMB_PIN_OFFSET(WindowObject, updates, 102);
OMB_PIN_OFFSET(WindowObject, bufferWidth, 106);
OMB_PIN_OFFSET(WindowObject, frameHeight, 118);
OMB_PIN_OFFSET(WindowObject, background, 122);
OMB_PIN_OFFSET(WindowObject, backIndex, 134);
OMB_PIN_OFFSET(WindowObject, penWidthLess1, 138);
OMB_PIN_OFFSET(WindowObject, rop2, 146);
OMB_PIN_OFFSET(WindowObject, pen, 150);
OMB_PIN_OFFSET(WindowObject, waitDepth, 162);
OMB_PIN_OFFSET(WindowObject, menu, 166);
OMB_PIN_OFFSET(WindowObject, maskClipLeft, 174);
OMB_PIN_OFFSET(WindowObject, maskOriginY, 190);
OMB_PIN_OFFSET(WindowObject, spritePool, 194);
OMB_PIN_OFFSET(WindowObject, lastPresent, 198);

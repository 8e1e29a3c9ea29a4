// The flat functions that draw into a window's back buffer, keep its dirty
// list and present it. Rectangles are left, top, right, bottom (the system's
// RECT), points x, y (POINT); handles of the platform are passed as void*.
// Every function returns at once (0, null or nothing) for a null window, and
// the drawing functions do nothing without a drawing surface.
#pragma once

#include <cstdint>

#include "OmbrelApi.h"
#include "surface/SurfaceHandle.h"
#include "window/UpdateList.h"
#include "window/WindowObject.h"

// Drawing surface (the window owns an attached handle: it must come from the
// library's allocator, `CreateSurfaceHandle`).
OMB_FLAT int32_t OMB_STDCALL WindowAttachSurface(WindowObject* window, cSurfaceHandle* surface);
OMB_FLAT void OMB_STDCALL WindowDetachSurfaces(WindowObject* window);
OMB_FLAT cSurfaceHandle* OMB_STDCALL WindowGetSurface(WindowObject* window, int32_t which);
OMB_FLAT void* OMB_STDCALL WindowGetSurfaceDC(WindowObject* window);
OMB_FLAT void OMB_STDCALL WindowReleaseSurfaceDC(WindowObject* window, void* dc);
OMB_FLAT int32_t OMB_STDCALL WindowGrabScreen(WindowObject* window);

// Drawing.
OMB_FLAT int32_t OMB_STDCALL WindowDrawText(WindowObject* window, void* font, SurfaceRect* rect,
                                            const char* text, uint32_t colour, int32_t format);
OMB_FLAT void OMB_STDCALL WindowFillRectBrush(WindowObject* window, int32_t left, int32_t top,
                                              int32_t right, int32_t bottom, void* brush);
OMB_FLAT void OMB_STDCALL WindowSetClip(WindowObject* window, int32_t left, int32_t top,
                                        int32_t right, int32_t bottom);
// Right and bottom inclusive.
OMB_FLAT void OMB_STDCALL WindowFillRect(WindowObject* window, int32_t left, int32_t top,
                                         int32_t right, int32_t bottom, uint32_t colour);
// Four 16-bit values, right and bottom inclusive.
OMB_FLAT int32_t OMB_STDCALL WindowFrameRect16(WindowObject* window, int16_t left, int16_t top,
                                               int16_t right, int16_t bottom);
// n segments: n + 1 points.
OMB_FLAT void OMB_STDCALL WindowPolyline(WindowObject* window, const SurfacePoint* points,
                                         int32_t segments);
OMB_FLAT int32_t OMB_STDCALL WindowScrollRect(WindowObject* window, int32_t dx, int32_t dy,
                                              int32_t sx, int32_t sy, int32_t width,
                                              int32_t height);
OMB_FLAT int32_t OMB_STDCALL WindowFrameRect(WindowObject* window, const SurfaceRect* rect);
OMB_FLAT void OMB_STDCALL WindowGetBufferRect(WindowObject* window, SurfaceRect* out);

// Dirty list.
OMB_FLAT UpdateList* OMB_STDCALL WindowClearUpdates(WindowObject* window);
// Null: the whole back buffer.
OMB_FLAT void OMB_STDCALL WindowAddUpdateRect(WindowObject* window, const SurfaceRect* rect);
OMB_FLAT void OMB_STDCALL WindowAddUpdate(WindowObject* window, int32_t left, int32_t top,
                                          int32_t right, int32_t bottom);
OMB_FLAT UpdateList* OMB_STDCALL WindowGetUpdateList(WindowObject* window);

// Present and full screen.
OMB_FLAT void OMB_STDCALL WindowPresent(WindowObject* window);
OMB_FLAT WindowObject* OMB_STDCALL WindowEnableUpdates(WindowObject* window, int32_t enable);
OMB_FLAT int32_t OMB_STDCALL WindowEnterFullScreen(WindowObject* window, int32_t width,
                                                   int32_t height, int32_t bits);
OMB_FLAT int32_t OMB_STDCALL WindowLeaveFullScreen();

// The drawing surface's implementation as it stands now (the handle may
// have been given a new one since it was attached); null without a surface.
cSurfaceImpl* CurrentDrawImpl(WindowObject* window);

// The window holding the display in full screen, or null (process-wide).
WindowObject* FullScreenWindow();
// Leaves full screen when `window` holds it (its teardown).
void ReleaseFullScreen(WindowObject* window);

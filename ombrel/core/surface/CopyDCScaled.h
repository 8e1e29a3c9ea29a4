// A scaled copy from one device context to another through a
// device-independent bitmap, and the background-mode switch of the text paths.
#pragma once

#include <cstdint>

#include "OmbrelApi.h"

// Copies the source area (sx, sy, sw, sh) into (dx, dy, dw, dh). With
// `pumpMessages` the thread's waiting messages are dispatched first; with
// `keepAspect` the destination shrinks to the source's proportions. 1 on
// success, 0 when a context, bitmap, allocation or read fails.
int32_t CopyDCScaledImpl(void* sourceDC, void* destDC, int32_t sx, int32_t sy, int32_t dx,
                         int32_t dy, int32_t sw, int32_t sh, int32_t dw, int32_t dh,
                         int32_t pumpMessages, int32_t keepAspect);
OMB_FLAT int32_t OMB_STDCALL CopyDCScaled(void* sourceDC, void* destDC, int32_t sx, int32_t sy,
                                          int32_t dx, int32_t dy, int32_t sw, int32_t sh,
                                          int32_t dw, int32_t dh, int32_t pumpMessages,
                                          int32_t keepAspect);

// The destination size that keeps the source's proportions inside (dw, dh):
// both scaled by the smaller ratio, truncated. False for an empty source.
bool KeepAspectSize(int32_t sw, int32_t sh, int32_t* dw, int32_t* dh);

// SetBkMode of the text paths: the previous mode.
int32_t SetDCBackgroundMode(void* dc, int32_t mode);

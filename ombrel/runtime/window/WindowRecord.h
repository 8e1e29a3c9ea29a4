// The end of a window record, apart from the window itself.
#pragma once

#include "window/WindowObject.h"

// Tears the record down, takes it out of its app's list and frees it.
void DestroyWindowRecord(WindowObject* window);
// Destroys, first to last, every other window of the app whose parent is
// this window's handle (their own children first).
void DestroyChildWindows(WindowObject* window);
// The platform's part of a teardown: the pen, and the palette selected
// into the kept device context.
void ReleaseWindowGdi(WindowObject* window);

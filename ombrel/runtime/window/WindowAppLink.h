// What windows use of their application object and of the calling thread's
// application list.
#pragma once

#include <cstdint>

#include "window/WindowObject.h"

class cHandleList;

cHandleList* AppWindowList(AppObject* app);
uint16_t AppDepthWord(const AppObject* app);
void* AppInstanceHandle(const AppObject* app);
// The flags word at offset 6 that `WindowControl` 2 and 4 reach.
uint16_t* AppFlagsWord(AppObject* app);
bool AppHasPalette(const AppObject* app);
// Selects the app's palette into the window's device context.
void SelectAppPaletteIntoWindow(WindowObject* window);
// The first window of the calling thread's apps whose handle is `hwnd`.
WindowObject* FindThreadWindow(void* hwnd);
// Whether DirectDraw can pace presents on this machine.
bool DisplayBeamUsable();

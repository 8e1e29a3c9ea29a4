// The App family of flat functions: creating, re-formatting and destroying
// application objects, and the library's build number.
#pragma once

#include <cstdint>

#include "OmbrelApi.h"
#include "app/AppObject.h"

class DisplaySource;

constexpr int32_t kLibraryBuild = 248;

// A new app of depth code 3 with the palette of `palette` (null: the
// library's default palette), listed for the calling thread; null, leaving
// nothing behind, when the record, the thread's list or the format
// prototype cannot be made.
OMB_FLAT AppObject* OMB_STDCALL AppCreate(void* instance, void* palette);
// Sets the app's depth word (see ChooseAppDepthWord) against the real
// display, rebuilds the format prototype and gives every window the new
// word. Returns the word; 0 for a null app or when the new prototype cannot
// be made (the app then keeps its depth).
OMB_FLAT int32_t OMB_STDCALL AppSetDepth(AppObject* app, int32_t depth);
// Stops the app's sounds, destroys its windows, frees its banks, palette
// and prototype, unlists it and frees it. Does nothing for null or while the
// app is already being destroyed.
OMB_FLAT void OMB_STDCALL AppDestroy(AppObject* app);
OMB_FLAT int32_t OMB_STDCALL LibraryGetBuild();

// AppSetDepth against a given display.
int32_t AppSetDepthOn(AppObject* app, int32_t depth, DisplaySource& display);
// An empty memory surface of the app's current depth code, carrying the app
// palette at 8 bits; null when it cannot be made.
cSurfaceImpl* MakeFormatPrototype(const AppObject* app, int32_t depthCode);

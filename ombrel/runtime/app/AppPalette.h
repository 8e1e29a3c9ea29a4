// The application's palette and the colour rules of its depth codes: the
// App functions of the Palette family, and what windows and images use to
// turn colours into palette indices.
#pragma once

#include <cstdint>

#include "OmbrelApi.h"
#include "app/AppObject.h"
#include "palette/PaletteTypes.h"

struct WindowObject;

// With `palette`, the app takes a reference to it; without, the 256 entries
// of `handle` (null: the library's default palette) become the app's shared
// palette. The app's black index follows, a handle the palette has none of
// is kept in it, and an 8-bit format prototype gets the palette. When the
// new palette cannot be made the app keeps its old one.
void BuildAppPalette(AppObject* app, void* handle, cPalette* palette);

// Copies the default palette of a depth code into `out` (at 8 bits the app's
// palette when it has one; codes 1, 2 and 5 the library's 2 and 16 colours).
// Returns its entry count; 0 (nothing written) for codes without a palette.
int32_t CopyDefaultPalette(const AppObject* app, int32_t depthCode, LogPalette* out);
// The index a colour takes at a depth code: -1 for true-colour codes and
// codes without a palette; 0x01000000 + n names n; at 8 bits an exact static
// colour keeps its entry; otherwise the nearest entry.
int32_t ColourToPaletteIndex(const AppObject* app, int32_t depthCode, uint32_t colour);
// The default palette of a depth code as bitmap colour-table entries (blue
// first); `out` may be null. Returns the entry count.
int32_t GetDepthPaletteQuads(void* out, int32_t depthCode, const AppObject* app);

OMB_FLAT uint32_t OMB_STDCALL AppIndexToColour(AppObject* app, int32_t depthCode, int32_t index);
OMB_FLAT int32_t OMB_STDCALL AppCopyPalette(LogPalette* out, int32_t depthCode, AppObject* app);
OMB_FLAT void OMB_STDCALL AppSetPalette(AppObject* app, void* handle);
OMB_FLAT int32_t OMB_STDCALL AppGetBlackIndex(AppObject* app);
OMB_FLAT void OMB_STDCALL AppSetPaletteObject(AppObject* app, void* handle, cPalette* palette);
OMB_FLAT int32_t OMB_STDCALL AppColourToIndex(AppObject* app, int32_t depthCode, uint32_t colour);

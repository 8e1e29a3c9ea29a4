// The application's palette: built from a system palette handle or taken
// from a shared palette object, and handed to the app's format prototype.
#pragma once

#include "app/AppObject.h"

// With `palette`, the app takes a reference to it; without, the 256 entries
// of `handle` (null: the library's default palette) become the app's shared
// palette. The app's black index follows, a handle the palette has none of
// is kept in it, and an 8-bit format prototype gets the palette. When the
// new palette cannot be made the app keeps its old one.
void BuildAppPalette(AppObject* app, void* handle, cPalette* palette);

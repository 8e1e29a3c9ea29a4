// What an application's teardown and re-formatting ask of the services
// built on top of it (windows, sound). Each is defined by its own service;
// a window's own teardown takes its sprites and mask with it.
#pragma once

#include <cstdint>

#include "OmbrelApi.h"

struct AppObject;
class cPalette;
struct WindowObject;

// Destroys a window and its record (and, first, its child windows).
OMB_FLAT void OMB_STDCALL WindowDestroy(WindowObject* window);
// Stops MIDI (kind 2) or sample channels (kind 1); `sound` null for all.
OMB_FLAT int32_t OMB_STDCALL SoundStop(AppObject* app, int32_t kind, const void* sound);
// The bank is about to free or replace sound entry `id` (0: every entry of
// the row): every channel that plays a bank sound of that id is stopped and
// cleared under the sound lock, so no refill reads the entry afterwards.
void StopChannelsOfSoundEntry(AppObject* app, uint32_t id);
// Gives a window its app's new depth word.
void WindowFollowAppDepth(WindowObject* window, uint16_t depth);
// Selects a palette's handle into the window's device context (unless
// another window holds the full screen) and hands the palette to its drawing
// surface.
void SelectWindowPalette(WindowObject* window, cPalette* palette);
// The palette handle last selected into the window, or null.
void* WindowPaletteHandle(const WindowObject* window);

constexpr int32_t kSoundKindSamples = 1;
constexpr int32_t kSoundKindMidi = 2;

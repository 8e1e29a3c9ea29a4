// The flat Palette family of the library's exported interface. A null
// palette argument gives 0 (or null) at once.
#pragma once

#include <cstdint>

#include "OmbrelApi.h"
#include "palette/PaletteTypes.h"
#include "palette/cPalette.h"

// Shared palette of the colours of `log` (count 1..256; only `count` entries
// are read) from the calling thread's context, with one reference for the
// caller; null without a context, for a bad count or out of memory.
OMB_FLAT cPalette* OMB_STDCALL PaletteGetShared(const LogPalette* log);
OMB_FLAT cPalette* OMB_STDCALL PaletteFromLogPalette(const LogPalette* log);
// Adds a reference; returns the palette.
OMB_FLAT cPalette* OMB_STDCALL AddRefPalette(cPalette* palette);
// Drops a reference and frees the palette at the last one; returns the
// palette while references remain, else null.
OMB_FLAT cPalette* OMB_STDCALL ReleasePalette(cPalette* palette);
OMB_FLAT cPalette* OMB_STDCALL PaletteRelease(cPalette* palette);
// The first palette of the calling thread's context with a reference added.
OMB_FLAT cPalette* OMB_STDCALL PaletteGetDefault();
// Copies up to `count` entries from `first` (bounded by the 256 stored
// entries); returns the palette.
OMB_FLAT cPalette* OMB_STDCALL PaletteGetEntries(cPalette* palette, PaletteEntry* out,
                                                 int32_t first, int32_t count);
OMB_FLAT int32_t OMB_STDCALL PaletteNearestIndex(cPalette* palette, uint32_t colour);
OMB_FLAT int32_t OMB_STDCALL NearestIndexCached(cPalette* palette, uint32_t colour);
OMB_FLAT int32_t OMB_STDCALL BuildInverseTable(cPalette* palette);
OMB_FLAT void* OMB_STDCALL GetPaletteHandle(cPalette* palette);
// Enters the calling thread's context and returns the shared default
// palette with a reference for the caller.
OMB_FLAT cPalette* OMB_STDCALL PaletteStartup();
OMB_FLAT void OMB_STDCALL PaletteShutdown();
// Remap table from `source` indices to `dest` indices; 0 (nothing written)
// when both hold the same 256 colours.
OMB_FLAT int32_t OMB_STDCALL PaletteBuildRemap(uint8_t* table, cPalette* dest, cPalette* source,
                                               uint32_t keepZero);
OMB_FLAT int32_t OMB_STDCALL PaletteFitToSystem(PaletteEntry* dest, const PaletteEntry* source,
                                                uint8_t* remap);
OMB_FLAT cPalette* OMB_STDCALL PaletteMakeSystem(cPalette* palette, uint8_t* remap);
// Replaces entries 10-245 of the default palette by the 236 entries after a
// 40-byte header (when given) and returns a new system palette of it.
OMB_FLAT void* OMB_STDCALL PaletteCreateFromDIB(const uint8_t* header);

/* cbmp.ift: the BMP reader as a plug-in in plain C, as another compiler
   would build it. Its object has the filter base's 96-byte layout; its table
   of 41 slots is filled with the library's exported defaults, taken by
   ordinal, except the slots this filter implements itself. */
#include <windows.h>

#include <stdint.h>
#include <string.h>

#include "BmpCodec.h"
#include "StreamCalls.h"

typedef struct CFilter {
  void** table;
  int32_t width, height, depth, lineBytes, pitch, bytesPerPixel, hasAlpha;
  uint32_t pluginData[3];
  int32_t frameCount, currentFrame, frameInfo, animInfoC;
  void* palette;
  int32_t needsConversion, outputPaletteChanged, outputDepth, outputBytesPerPixel;
  void *outputPalette, *imagePaletteCopy, *remap, *cache;
  /* The filter's own state follows the base's fields. */
  BmpInfo info;
} CFilter;

typedef void*(PLUGIN_THISCALL* CtorFn)(void*);
typedef void(PLUGIN_THISCALL* DtorFn)(void*);
typedef int32_t(PLUGIN_THISCALL* AllocPaletteFn)(void*, int32_t);
typedef void(PLUGIN_THISCALL* LineBytesFn)(void*);
typedef void(PLUGIN_THISCALL* ConvertFn)(void*, void*, const void*, int32_t);
typedef int32_t(PLUGIN_THISCALL* NeedsFn)(void*);
typedef int(PLUGIN_STDCALL* MemAllocFn)(uint32_t, void**);
typedef void(PLUGIN_STDCALL* MemFreeFn)(void**);

static void* g_table[41];
static CtorFn g_ctor;
static DtorFn g_dtor;
static AllocPaletteFn g_allocPalette;
static LineBytesFn g_lineBytes;
static ConvertFn g_convert;
static NeedsFn g_needs;
static MemAllocFn g_memAlloc;
static MemFreeFn g_memFree;

static void PLUGIN_THISCALL Destruct(CFilter* self, uint32_t flags) {
  g_dtor(self);
  if (flags & 1) {
    void* block = self;
    g_memFree(&block);
  }
}
static void PLUGIN_THISCALL Release(CFilter* self) { Destruct(self, 1); }
static void PLUGIN_THISCALL Init(CFilter* self, uint32_t a, uint32_t b) {}
static uint32_t PLUGIN_THISCALL GetId(CFilter* self) { return 0x504D4243u; /* "CBMP" */ }
static const char* PLUGIN_THISCALL GetName(CFilter* self) { return "C BMP"; }
static int32_t PLUGIN_THISCALL GetFlag(CFilter* self) { return 1; }
static int32_t PLUGIN_THISCALL CanRead(CFilter* self, void* source) { return BmpLooksLike(source); }
static int32_t PLUGIN_THISCALL ReturnOne(CFilter* self) { return 1; }

static int32_t PLUGIN_THISCALL Open(CFilter* self, void* source) {
  uint32_t i;
  uint8_t* entries;
  int32_t e = BmpReadHeader(source, &self->info);
  if (e != 0) return e;
  self->width = self->info.width;
  self->height = self->info.height;
  self->depth = self->info.depth;
  self->hasAlpha = self->depth == 32;
  g_lineBytes(self);
  self->pitch = (int32_t)self->info.rowBytes;
  self->currentFrame = -1;
  if (self->info.paletteCount) {
    if (!g_allocPalette(self, (int32_t)self->info.paletteCount)) return 1;
    entries = (uint8_t*)self->palette + 4;
    for (i = 0; i < self->info.paletteCount; ++i) memcpy(entries + 4 * i, self->info.palette[i], 3);
  }
  return 0;
}

static void ConvertRow(void* self, uint8_t* destination, const uint8_t* row, int32_t count) {
  g_convert(self, destination, row, count);
}

static int32_t PLUGIN_THISCALL ReadFrame(CFilter* self, void* source, void* bits, int32_t pitch, void* alpha,
                                         int32_t alphaPitch) {
  int32_t e;
  if (!bits) return 14;
  e = BmpReadRows(source, &self->info, (uint8_t*)bits, pitch, (uint8_t*)alpha, alphaPitch,
                  g_needs(self) ? ConvertRow : NULL, self);
  if (e == 0) self->currentFrame = 0;
  return e;
}

static int32_t PLUGIN_THISCALL GetTransparentColour(CFilter* self, uint32_t* out) {
  if (!self->info.hasKey || !out) return 0;
  *out = self->info.key;
  return 1;
}

/* The library's exported default of each slot, by ordinal (0: this filter's own). */
static const int kDefaultOrdinals[41] = {
    0,   0,   0,   0,   0,   500, 0,   727, 0,   409, 410, 347, 349, 0,   0,   704, 641, 642, 474, 518, 549,
    485, 482, 544, 0,   358, 729, 600, 538, 479, 574, 577, 579, 463, 514, 528, 531, 692, 376, 706, 331};

static int Bind(void) {
  HMODULE library = GetModuleHandleA("Ombrel.dll");
  int slot;
  if (!library) return 0;
  if (g_ctor) return 1;
  for (slot = 0; slot < 41; ++slot) {
    if (!kDefaultOrdinals[slot]) continue;
    g_table[slot] = (void*)GetProcAddress(library, MAKEINTRESOURCEA(kDefaultOrdinals[slot]));
    if (!g_table[slot]) return 0;
  }
  g_table[0] = (void*)Destruct;
  g_table[1] = (void*)Release;
  g_table[2] = (void*)Init;
  g_table[3] = (void*)GetId;
  g_table[4] = (void*)GetName;
  g_table[6] = (void*)GetFlag;
  g_table[8] = (void*)CanRead;
  g_table[9] = (void*)ReturnOne;
  g_table[13] = (void*)Open;
  g_table[14] = (void*)ReadFrame;
  g_table[24] = (void*)GetTransparentColour;
  g_dtor = (DtorFn)(void*)GetProcAddress(library, MAKEINTRESOURCEA(270));
  g_allocPalette = (AllocPaletteFn)(void*)GetProcAddress(library, MAKEINTRESOURCEA(334));
  g_lineBytes = (LineBytesFn)(void*)GetProcAddress(library, MAKEINTRESOURCEA(357));
  g_convert = (ConvertFn)(void*)GetProcAddress(library, MAKEINTRESOURCEA(360));
  g_needs = (NeedsFn)(void*)GetProcAddress(library, MAKEINTRESOURCEA(636));
  g_memAlloc = (MemAllocFn)(void*)GetProcAddress(library, MAKEINTRESOURCEA(621));
  g_memFree = (MemFreeFn)(void*)GetProcAddress(library, MAKEINTRESOURCEA(624));
  g_ctor = (CtorFn)(void*)GetProcAddress(library, MAKEINTRESOURCEA(237));
  return g_dtor && g_allocPalette && g_lineBytes && g_convert && g_needs && g_memAlloc && g_memFree && g_ctor;
}

PLUGIN_EXPORT void* PLUGIN_STDCALL CreateFilter(uintptr_t user) {
  CFilter* self = NULL;
  if (!Bind() || !g_memAlloc(sizeof(CFilter), (void**)&self)) return NULL;
  memset(self, 0, sizeof *self);
  g_ctor(self); /* the base's fields: zeroes and a frame count of 1 */
  self->table = g_table;
  return self;
}

PLUGIN_EXPORT const char* PLUGIN_STDCALL GetFilterName(void) { return "C BMP"; }
PLUGIN_EXPORT uint32_t PLUGIN_STDCALL GetFilterID(void) { return 0x504D4243u; }
static const char* const kExts[] = {"bmp", NULL};
PLUGIN_EXPORT const char* const* PLUGIN_STDCALL GetFilterExts(void) { return kExts; }
PLUGIN_EXPORT int32_t PLUGIN_STDCALL CanReadFile(void* source) { return BmpLooksLike(source); }

#include "paint/cPaintBase.h"

#include "ExportedTable.h"
#include "Memory.h"
#include "surface/SurfaceHandle.h"

OMB_EXPORT_VFTABLE(cPaintBase, "_ZTV10cPaintBase")

namespace {
// Slot 0 of cPaintBase's table (the table symbol points two words earlier).
#if OMB_I686
extern "C" const void* const kPaintBaseTable[] asm("__ZTV10cPaintBase");
#else
extern "C" const void* const kPaintBaseTable[] asm("_ZTV10cPaintBase");
#endif
}  // namespace

cPaintBase& cPaintBase::operator=(const cPaintBase&) { return *this; }

cPaintBase::~cPaintBase() {
  *reinterpret_cast<const void* const**>(this) = &kPaintBaseTable[2];
  // The object ends here; keep the store that leaves it a base paint.
  asm volatile("" : : "r"(this) : "memory");
}

void cPaintBase::Destruct(uint32_t flags) {
  this->cPaintBase::~cPaintBase();
  if (flags & 1) {
    void* block = this;
    MemFree(&block);
  }
}

uint32_t cPaintBase::SetOrigin(int32_t, int32_t) { return 0; }

int32_t cPaintBase::FillAll(cSurfaceHandle* surface, int32_t, int32_t, int32_t shape) {
  if (surface == nullptr) return 0;
  return Fill(surface, 0, 0, surface->GetWidth(), surface->GetHeight(), shape);
}

uint32_t* cPaintBase::ValidateColour(uint32_t* colour) {
  if (colour != nullptr && *colour == 0) *colour = 8;
  return colour;
}

// Constructors of the exported classes as the MSVC object model has them:
// thiscall, building the object in the caller's storage and returning `this`
// in EAX (GCC's own constructors return nothing, so callers compiled with
// MSVC would read a stale register). The ordinal table binds these.
#include <new>

#include "HandleList.h"
#include "PtrVector.h"
#include "image/cImageFile.h"
#include "image/cImageFilter.h"
#include "paint/cPaintGradient.h"
#include "paint/cPaintSolid.h"
#include "paint/cPaintTile.h"
#include "plugin/cImagePluginRegistry.h"
#include "plugin/cSoundPluginRegistry.h"
#include "sound/cSound.h"
#include "sound/cSoundDecoder.h"
#include "sound/cSoundPlayer.h"
#include "stream/cFileSink.h"
#include "stream/cFileSource.h"
#include "stream/cMemorySink.h"
#include "stream/cMemorySource.h"
#include "surface/SurfaceHandle.h"

#define OMB_CTOR(cls)                                                              \
  extern "C" cls* __attribute__((thiscall)) cls##_ctor(cls* self) asm("_" #cls "_ctor"); \
  extern "C" cls* __attribute__((thiscall)) cls##_ctor(cls* self) { return self ? new (self) cls() : nullptr; }

// Copy constructors: the class's own copy (deep where it owns blocks).
#define OMB_COPY_CTOR(cls)                                                                        \
  extern "C" cls* __attribute__((thiscall)) cls##_copyctor(cls* self, const cls* other)           \
      asm("_" #cls "_copyctor");                                                                  \
  extern "C" cls* __attribute__((thiscall)) cls##_copyctor(cls* self, const cls* other) {         \
    return self && other ? new (self) cls(*other) : nullptr;                                      \
  }

// Abstract bases cannot be instantiated in C++: their constructors only set
// the table pointer to the class's exported table, which is all the base holds.
#define OMB_ABSTRACT_CTORS(cls)                                                                   \
  extern "C" const void* const cls##_vftable asm("_" #cls "_vftable");                            \
  extern "C" cls* __attribute__((thiscall)) cls##_ctor(cls* self) asm("_" #cls "_ctor");          \
  extern "C" cls* __attribute__((thiscall)) cls##_ctor(cls* self) {                               \
    if (self) *reinterpret_cast<const void**>(self) = &cls##_vftable;                             \
    return self;                                                                                  \
  }                                                                                               \
  extern "C" cls* __attribute__((thiscall)) cls##_copyctor(cls* self, const cls*)                 \
      asm("_" #cls "_copyctor");                                                                  \
  extern "C" cls* __attribute__((thiscall)) cls##_copyctor(cls* self, const cls*) {               \
    return cls##_ctor(self);                                                                      \
  }

OMB_CTOR(cHandleList)
OMB_CTOR(cPtrVector)
OMB_CTOR(cSurfaceHandle)

OMB_ABSTRACT_CTORS(cByteSource)
OMB_CTOR(cFileSource)
OMB_COPY_CTOR(cFileSource)
OMB_CTOR(cMemorySource)
OMB_COPY_CTOR(cMemorySource)
OMB_ABSTRACT_CTORS(cByteSink)
OMB_CTOR(cFileSink)
OMB_COPY_CTOR(cFileSink)
OMB_CTOR(cMemorySink)
OMB_COPY_CTOR(cMemorySink)

OMB_CTOR(cPluginRegistry)
OMB_COPY_CTOR(cPluginRegistry)
OMB_CTOR(cImagePluginRegistry)
OMB_COPY_CTOR(cImagePluginRegistry)
OMB_CTOR(cSoundPluginRegistry)
OMB_COPY_CTOR(cSoundPluginRegistry)

// The filter base is abstract but has state: it is built through a concrete
// shell (for its fields and owned blocks), whose table is then replaced by
// the base's own exported one.
namespace {
class ImageFilterShell final : public cImageFilter {
 public:
  ImageFilterShell() = default;
  explicit ImageFilterShell(const cImageFilter& other) : cImageFilter(other) {}
  void Release() override {}
  uint32_t GetID() override { return 0; }
  const char* GetName() override { return ""; }
  int32_t CanRead(cByteSource*) override { return 0; }
  int32_t Open(cByteSource*) override { return ImageErrUnsupported; }
  int32_t ReadFrame(cByteSource*, void*, int32_t, void*, int32_t) override { return ImageErrUnsupported; }
};
}  // namespace

extern "C" const void* const cImageFilter_vftable asm("_cImageFilter_vftable");
extern "C" cImageFilter* __attribute__((thiscall)) cImageFilter_ctor(cImageFilter* self) asm("_cImageFilter_ctor");
extern "C" cImageFilter* __attribute__((thiscall)) cImageFilter_ctor(cImageFilter* self) {
  if (!self) return nullptr;
  new (self) ImageFilterShell();
  *reinterpret_cast<const void**>(self) = &cImageFilter_vftable;
  return self;
}
extern "C" cImageFilter* __attribute__((thiscall)) cImageFilter_copyctor(cImageFilter* self, const cImageFilter* other)
    asm("_cImageFilter_copyctor");
extern "C" cImageFilter* __attribute__((thiscall)) cImageFilter_copyctor(cImageFilter* self, const cImageFilter* other) {
  if (!self || !other) return nullptr;
  new (self) ImageFilterShell(*other);
  *reinterpret_cast<const void**>(self) = &cImageFilter_vftable;
  return self;
}

// cImageFile's constructor takes the registry it draws filters from.
extern "C" cImageFile* __attribute__((thiscall)) cImageFile_ctor(cImageFile* self, cImagePluginRegistry* registry)
    asm("_cImageFile_ctor");
extern "C" cImageFile* __attribute__((thiscall)) cImageFile_ctor(cImageFile* self, cImagePluginRegistry* registry) {
  return self ? new (self) cImageFile(registry) : nullptr;
}

// Paints: the base is abstract (its table only); the others take their
// fields. Copies copy the fields.
OMB_ABSTRACT_CTORS(cPaintBase)
OMB_COPY_CTOR(cPaintSolid)
OMB_COPY_CTOR(cPaintGradient)
OMB_COPY_CTOR(cPaintTile)

extern "C" cPaintSolid* __attribute__((thiscall)) cPaintSolid_ctor(cPaintSolid* self, uint32_t colour)
    asm("_cPaintSolid_ctor");
extern "C" cPaintSolid* __attribute__((thiscall)) cPaintSolid_ctor(cPaintSolid* self, uint32_t colour) {
  return self ? new (self) cPaintSolid(colour) : nullptr;
}
extern "C" cPaintGradient* __attribute__((thiscall))
cPaintGradient_ctor(cPaintGradient* self, uint32_t colour1, uint32_t colour2, int32_t vertical,
                    int32_t originX, int32_t originY) asm("_cPaintGradient_ctor");
extern "C" cPaintGradient* __attribute__((thiscall))
cPaintGradient_ctor(cPaintGradient* self, uint32_t colour1, uint32_t colour2, int32_t vertical,
                    int32_t originX, int32_t originY) {
  return self ? new (self) cPaintGradient(colour1, colour2, vertical, originX, originY) : nullptr;
}
extern "C" cPaintTile* __attribute__((thiscall))
cPaintTile_ctor(cPaintTile* self, cSurfaceHandle* pattern, int32_t offsetX, int32_t offsetY)
    asm("_cPaintTile_ctor");
extern "C" cPaintTile* __attribute__((thiscall))
cPaintTile_ctor(cPaintTile* self, cSurfaceHandle* pattern, int32_t offsetX, int32_t offsetY) {
  return self ? new (self) cPaintTile(pattern, offsetX, offsetY) : nullptr;
}

// The sound bases are abstract: like the filter base they are built through
// a concrete shell, whose table is then replaced by the base's exported one.
namespace {
class SoundDecoderShell final : public cSoundDecoder {
 public:
  SoundDecoderShell() = default;
  explicit SoundDecoderShell(const cSoundDecoder& other) : cSoundDecoder(other) {}
  void Release() override {}
  int32_t Open(cByteSource*) override { return 1; }
  void Close() override {}
  uint32_t GetLength() override { return 0; }
  int32_t Reserved() override { return 0; }
  int32_t Seek(uint32_t) override { return 1; }
  int32_t Read(void*, uint32_t, uint32_t* count) override {
    if (count) *count = 0;
    return 1;
  }
};

class SoundPlayerShell final : public cSoundPlayer {
 public:
  SoundPlayerShell(cSoundDevice* device, void* window) : cSoundPlayer(device, window) {}
  explicit SoundPlayerShell(const cSoundPlayer& other) : cSoundPlayer(other) {}
  cSound* CreateSoundObject() override { return nullptr; }
};

class SoundShell final : public cSound {
 public:
  explicit SoundShell(cSoundPlayer* player) : cSound(player) {}
  explicit SoundShell(const cSound& other) : cSound(other) {}
  int32_t Play() override { return 0; }
  int32_t Pause() override { return 0; }
  int32_t Resume() override { return 0; }
  void Stop(int32_t, int32_t) override {}
  int32_t IsPlaying() override { return 0; }
  int32_t SetVolume(int32_t) override { return 0; }
  int32_t SetPan(int32_t) override { return 0; }
  int32_t SetFrequency(int32_t) override { return 0; }
  void SetPosition(uint32_t, int32_t) override {}
  int32_t FillInitial() override { return 0; }
  void Update() override {}
  uint32_t GetPosition() override { return 0; }
};

template <typename Base>
Base* WithBaseTable(Base* self, const void* table) {
  *reinterpret_cast<const void**>(self) = table;
  return self;
}
}  // namespace

extern "C" const void* const cSoundDecoder_vftable asm("_cSoundDecoder_vftable");
extern "C" cSoundDecoder* __attribute__((thiscall)) cSoundDecoder_ctor(cSoundDecoder* self) asm("_cSoundDecoder_ctor");
extern "C" cSoundDecoder* __attribute__((thiscall)) cSoundDecoder_ctor(cSoundDecoder* self) {
  return self ? WithBaseTable<cSoundDecoder>(new (self) SoundDecoderShell(), &cSoundDecoder_vftable) : nullptr;
}
extern "C" cSoundDecoder* __attribute__((thiscall)) cSoundDecoder_copyctor(cSoundDecoder* self, const cSoundDecoder* other)
    asm("_cSoundDecoder_copyctor");
extern "C" cSoundDecoder* __attribute__((thiscall)) cSoundDecoder_copyctor(cSoundDecoder* self, const cSoundDecoder* other) {
  if (!self || !other) return nullptr;
  return WithBaseTable<cSoundDecoder>(new (self) SoundDecoderShell(*other), &cSoundDecoder_vftable);
}

extern "C" const void* const cSoundPlayer_vftable asm("_cSoundPlayer_vftable");
extern "C" cSoundPlayer* __attribute__((thiscall)) cSoundPlayer_ctor(cSoundPlayer* self, cSoundDevice* device, void* window)
    asm("_cSoundPlayer_ctor");
extern "C" cSoundPlayer* __attribute__((thiscall)) cSoundPlayer_ctor(cSoundPlayer* self, cSoundDevice* device, void* window) {
  return self ? WithBaseTable<cSoundPlayer>(new (self) SoundPlayerShell(device, window), &cSoundPlayer_vftable) : nullptr;
}
extern "C" cSoundPlayer* __attribute__((thiscall)) cSoundPlayer_copyctor(cSoundPlayer* self, const cSoundPlayer* other)
    asm("_cSoundPlayer_copyctor");
extern "C" cSoundPlayer* __attribute__((thiscall)) cSoundPlayer_copyctor(cSoundPlayer* self, const cSoundPlayer* other) {
  if (!self || !other) return nullptr;
  return WithBaseTable<cSoundPlayer>(new (self) SoundPlayerShell(*other), &cSoundPlayer_vftable);
}

extern "C" const void* const cSound_vftable asm("_cSound_vftable");
extern "C" cSound* __attribute__((thiscall)) cSound_ctor(cSound* self, cSoundPlayer* player) asm("_cSound_ctor");
extern "C" cSound* __attribute__((thiscall)) cSound_ctor(cSound* self, cSoundPlayer* player) {
  return self ? WithBaseTable<cSound>(new (self) SoundShell(player), &cSound_vftable) : nullptr;
}
extern "C" cSound* __attribute__((thiscall)) cSound_copyctor(cSound* self, const cSound* other) asm("_cSound_copyctor");
extern "C" cSound* __attribute__((thiscall)) cSound_copyctor(cSound* self, const cSound* other) {
  if (!self || !other) return nullptr;
  return WithBaseTable<cSound>(new (self) SoundShell(*other), &cSound_vftable);
}

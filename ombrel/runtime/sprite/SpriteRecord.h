// The sprite record: 168 bytes in a window's sprite pool, linked in drawing
// order. Its offsets are part of the library's interface (clients read the
// fields and pass the record back), so they are pinned for the 32-bit build.
#pragma once

#include <cstddef>
#include <cstdint>

#include "OmbrelApi.h"
#include "PtrVector.h"
#include "surface/MaskRecord.h"

class cSurfaceImpl;
struct SpriteRecord;

// The owner's callback of an owner-drawn sprite; `call` is one of
// SpriteOwnerCall, `value` the plane for kOwnerGetMask. Its result matters
// only for kOwnerGetMask (a mask record or 0).
using SpriteOwnerDraw = intptr_t(OMB_STDCALL*)(SpriteRecord* sprite, int32_t call, int32_t value);
enum SpriteOwnerCall : int32_t {
  kOwnerDraw = 0,
  kOwnerRestore = 1,
  kOwnerSave = 2,
  kOwnerDeleted = 3,
  kOwnerGetMask = 4,
};

struct SpriteRect {  // right and bottom exclusive
  int32_t left, top, right, bottom;
};

// Flag word bits.
enum SpriteFlag : uint32_t {
  kSpriteCollides = 0x00000001,
  kSpriteTransformDirty = 0x00000002,
  kSpriteKept = 0x00000008,
  kSpriteDropSave = 0x00000010,
  kSpriteDeleteLater = 0x00000020,
  kSpriteChanged = 0x00000040,
  kSpriteNoSave = 0x00000080,
  kSpriteRectCollision = 0x00000100,
  kSpriteDrawUnsaved = 0x00000200,
  kSpriteFillErase = 0x00000400,
  kSpriteHidden = 0x00000800,
  kSpriteRedraw = 0x00001000,
  kSpriteOwnerDrawn = 0x00002000,
  kSpriteOwnerSaves = 0x00004000,
  kSpritePlane1 = 0x00020000,
  kSpriteSecondSet = 0x00080000,
  kSpriteSmoothScale = 0x00100000,
  kSpriteAntialias = 0x00200000,
  kSpriteNoHotSpot = 0x00400000,
  kSpriteLinkWork = 0x10000000,
};

// Pool block states.
constexpr uint32_t kBlockFree = 1;
constexpr uint32_t kBlockSprite = 2;

// Ink word: the effect in the low 16 bits, keyed blit and smooth edges above.
constexpr uint32_t kInkKeyed = 0x10000000;
constexpr uint32_t kInkSmoothEdges = 0x20000000;

struct SpriteRecord {
  // The pool block header: every block, free or not, starts with these.
  uint32_t blockSize;
  uint32_t prevBlockSize;  // 0 for the first block
  uint32_t state;          // kBlockFree or kBlockSprite
  SpriteRecord* prev;      // drawing order (free blocks: the free list)
  SpriteRecord* next;
  // The sprite.
  uint32_t flags;
  uint16_t key;    // layer * 2 + 1; layer * 2 in the second set
  uint16_t angle;  // degrees 0..359
  int32_t subOrder;
  int32_t x, y;
  SpriteRect rect;
  int32_t nextX, nextY;  // pending, made current by the commit
  SpriteRect nextRect;
  SpriteRect savedRect;  // left and top -1: nothing saved
  float scaleX, scaleY;
  uint16_t testImage, testAngle;
  float testScaleX, testScaleY;
  uintptr_t image;  // image id; for owner-drawn sprites the SpriteOwnerDraw
  uint32_t nextImage;
  uint32_t ink, inkParam;
  uint32_t colour;
  cSurfaceImpl* saveSurface;
  cSurfaceImpl* xfImage;
  CollisionMaskHeader* xfMask;
  cSurfaceImpl* testSurface;
  CollisionMaskHeader* testMask;
  int32_t user;
  cSpriteVector overlaps;

  int32_t Layer() const { return key / 2; }
  SpriteOwnerDraw Owner() const { return reinterpret_cast<SpriteOwnerDraw>(image); }
};

OMB_PIN_SIZE(SpriteRecord, 168);
OMB_PIN_OFFSET(SpriteRecord, state, 8);
OMB_PIN_OFFSET(SpriteRecord, next, 16);
OMB_PIN_OFFSET(SpriteRecord, flags, 20);
OMB_PIN_OFFSET(SpriteRecord, key, 24);
OMB_PIN_OFFSET(SpriteRecord, angle, 26);
OMB_PIN_OFFSET(SpriteRecord, subOrder, 28);
OMB_PIN_OFFSET(SpriteRecord, x, 32);
OMB_PIN_OFFSET(SpriteRecord, rect, 40);
OMB_PIN_OFFSET(SpriteRecord, nextX, 56);
OMB_PIN_OFFSET(SpriteRecord, nextRect, 64);
OMB_PIN_OFFSET(SpriteRecord, savedRect, 80);
OMB_PIN_OFFSET(SpriteRecord, scaleX, 96);
OMB_PIN_OFFSET(SpriteRecord, testImage, 104);
OMB_PIN_OFFSET(SpriteRecord, testAngle, 106);
OMB_PIN_OFFSET(SpriteRecord, testScaleX, 108);
OMB_PIN_OFFSET(SpriteRecord, image, 116);
OMB_PIN_OFFSET(SpriteRecord, nextImage, 120);
OMB_PIN_OFFSET(SpriteRecord, ink, 124);
OMB_PIN_OFFSET(SpriteRecord, colour, 132);
OMB_PIN_OFFSET(SpriteRecord, saveSurface, 136);
OMB_PIN_OFFSET(SpriteRecord, xfImage, 140);
OMB_PIN_OFFSET(SpriteRecord, xfMask, 144);
OMB_PIN_OFFSET(SpriteRecord, testSurface, 148);
OMB_PIN_OFFSET(SpriteRecord, testMask, 152);
OMB_PIN_OFFSET(SpriteRecord, user, 156);
OMB_PIN_OFFSET(SpriteRecord, overlaps, 160);

// The saved-rectangle record of WindowSaveRect / WindowRestoreRect.
struct SavedRect {
  cSurfaceImpl* surface;
  SpriteRect rect;
};
OMB_PIN_SIZE(SavedRect, 20);

// The Sprite functions that read or set one sprite and need no window (their
// first argument is not used), and the saved-rectangle release.
#pragma once

#include <cstdint>

#include "OmbrelApi.h"
#include "sprite/SpriteRecord.h"

OMB_FLAT int32_t OMB_STDCALL SpriteGetUserValue(void* unused, SpriteRecord* sprite);
OMB_FLAT uint32_t OMB_STDCALL SpriteGetFlags(void* unused, SpriteRecord* sprite);
// The previous flags.
OMB_FLAT uint32_t OMB_STDCALL SpriteSetFlags(void* unused, SpriteRecord* sprite, uint32_t flags);
// 1.0 and 1.0 without a sprite; smooth may be null.
OMB_FLAT void OMB_STDCALL SpriteGetScale(void* unused, SpriteRecord* sprite, float* x, float* y, int32_t* smooth);
OMB_FLAT int32_t OMB_STDCALL SpriteGetAngle(void* unused, SpriteRecord* sprite, int32_t* antialias);
OMB_FLAT int32_t OMB_STDCALL SpriteGetLayer(void* unused, SpriteRecord* sprite);
// The pending rectangle.
OMB_FLAT void OMB_STDCALL SpriteGetRect(void* unused, SpriteRecord* sprite, SpriteRect* out);
OMB_FLAT int32_t OMB_STDCALL SpriteIsBehind(void* unused, SpriteRecord* a, SpriteRecord* b);
OMB_FLAT int32_t OMB_STDCALL SpriteIsInFront(void* unused, SpriteRecord* a, SpriteRecord* b);
OMB_FLAT SpriteRecord* OMB_STDCALL SpriteNext(void* unused, SpriteRecord* sprite, int32_t options);
OMB_FLAT SpriteRecord* OMB_STDCALL SpritePrevious(void* unused, SpriteRecord* sprite, int32_t options);
OMB_FLAT int32_t OMB_STDCALL SpriteSetCollision(void* unused, SpriteRecord* sprite, int32_t on);
OMB_FLAT void OMB_STDCALL SavedRectFree(SavedRect* record);

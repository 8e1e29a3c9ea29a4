// The routine rows of images kept in the transparency run-length form
// (RunLengthEncode.h): only slots 3 `BlitKeyed`, 4 `BlitKeyedInk`, 5 `Copy`
// and 6 `BlitInk` are set. The source view's first row is the block's start
// and its width the image's full width. The routines trust the block: check
// an untrusted one with `RleValidate` first.
#pragma once

#include <cstdint>

#include "pixel/PixelView.h"

// The row of a depth index (0..4); null outside.
const PixelOps* GetRlePixelOps(int32_t depthIndex);

// 1 when `block` (`bytes` long) is a well-formed run-length form of a
// width x height image of `pixelBytes` bytes a pixel: its stored size equals
// `bytes`' usable part, every row's pair lies inside the block, each row's
// codes add up to the width and its pixels lie in the pixel area; else 0.
int32_t RleValidate(const uint8_t* block, uint32_t bytes, int32_t width, int32_t height,
                    int32_t pixelBytes);

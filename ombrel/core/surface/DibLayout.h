// Sizes and offsets inside a packed device-independent bitmap: 40-byte
// header, colour table or bit-field masks, then the rows. Computed in 64
// bits; the exported 32-bit forms are members of the surface handle.
#pragma once

#include <cstdint>

#include "LibError.h"
#include "surface/BitmapInfoHeader.h"

// ((width x bits + 31) / 32) x 4, with 15 counted as 16.
int64_t DibRowBytes64(int64_t width, int32_t depth);
// 40 + 4 x 2^depth up to 8 bits; 52 at 16 bits; 40 otherwise.
int64_t DibHeaderSize64(int32_t depth);
// Header size plus height rows.
int64_t DibTotalSize64(int64_t width, int64_t height, int32_t depth);

// Bytes between the header and the rows as this library reads every DIB:
// biClrUsed colour entries (2^bits when 0) at 8 bits and below, three masks
// with BI_BITFIELDS, nothing otherwise.
int64_t DibTableBytes(const BitmapInfoHeader& header);
// Where the rows of a packed DIB start (the rule above).
const uint8_t* DibBitsAfter(const BitmapInfoHeader* header);

// The checks every header from outside passes before anything is
// allocated: size 40, width above 0, height neither 0 nor INT_MIN, bits 1,
// 4, 8, 16, 24 or 32, BI_RGB (or BI_BITFIELDS at 16 and 32 bits), at most
// 2^bits colours, and a block (header, table, |height| rows) of at most
// 2^31 bytes. The masks are checked once read (`DibMasksAccepted`).
struct DibLayout {
  int64_t tableBytes;
  int64_t rowBytes;
  int64_t rows;        // |height|
  int64_t blockBytes;  // 40 + table + rows x row bytes
};
LibError CheckDibHeader(const BitmapInfoHeader& header, DibLayout* out);

// The bit-field masks a view can show: 5-5-5 or 5-6-5 at 16 bits, 8-8-8 at
// 32 bits (red, green, blue as stored after the header).
bool DibMasksAccepted(int32_t bitCount, const uint32_t* masks);

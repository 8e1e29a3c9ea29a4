// The byte-run packing of image data: units of one, two or three bytes (so
// 8-, 15/16- and 24-bit images pack by whole pixels). Blocks: a control
// byte n of 1..127 and one unit repeated n times, or 0x80 + n and n literal
// units; a zero control byte ends the data.
#pragma once

#include <cstdint>

// Unit flags: bit 2 -> 3-byte units, else bit 1 -> 2, else bit 0 -> 1; none
// -> nothing is packed (the result is the terminator alone).
int32_t RlePackUnit(uint32_t unitFlags);

// Bytes written (terminator included). `dest` must hold RlePackedSize bytes.
uint32_t RlePack(uint8_t* dest, const uint8_t* src, uint32_t length, uint32_t unitFlags);
// The same count without writing.
uint32_t RlePackedSize(const uint8_t* src, uint32_t length, uint32_t unitFlags);
// Bytes written into `dest`, 0 when the packed bytes (`packedLength` long)
// lack the terminator, would write past `capacity`, or no unit is given;
// nothing is written past the capacity in any case.
uint32_t RleUnpack(uint8_t* dest, uint32_t capacity, const uint8_t* packed, uint32_t packedLength,
                   uint32_t unitFlags);

// The library-wide result code of file, stream, compression and surface
// operations. 0 is success; every failure the library reports is one of the
// constants below.
#pragma once

#include <cstdint>

using LibError = uint32_t;

inline constexpr LibError LibOk = 0x00000000u;
inline constexpr LibError ErrOutOfMemory = 0x40000000u;
inline constexpr LibError ErrRead = 0x40000001u;
inline constexpr LibError ErrEndOfFile = 0x40000002u;
inline constexpr LibError ErrWrite = 0x40000003u;
inline constexpr LibError ErrDiskFull = 0x40000004u;
inline constexpr LibError ErrOpen = 0x40000005u;
inline constexpr LibError ErrCreate = 0x40000006u;
inline constexpr LibError ErrBufferFull = 0x40000007u;
inline constexpr LibError ErrCompression = 0x40000009u;
inline constexpr LibError ErrNotSupported = 0x40010000u;
inline constexpr LibError ErrInvalidData = 0x40010002u;

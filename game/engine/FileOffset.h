#pragma once

#include <cstdint>
#include <cstdio>

// 64-bit seek and tell on both the native and the Windows C runtime.
inline bool SeekTo(std::FILE* file, std::int64_t offset, int origin)
{
#if defined(_WIN32)
    return _fseeki64(file, offset, origin) == 0;
#else
    return fseeko(file, static_cast<off_t>(offset), origin) == 0;
#endif
}

inline std::int64_t TellOffset(std::FILE* file)
{
#if defined(_WIN32)
    return _ftelli64(file);
#else
    return static_cast<std::int64_t>(ftello(file));
#endif
}

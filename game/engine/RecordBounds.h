#pragma once

#include <cstdint>

// Whether a record count read from a file is believable: not negative, and
// no more records than the bytes left could start. A final partial record is
// allowed (its missing bytes read as zero); a damaged count such as
// 0x7FFFFFFF is not, so a reader never loops or allocates for billions.
inline bool RecordCountFits(std::int64_t count, std::int64_t bytesLeft, std::int64_t recordBytes)
{
    if (count < 0 || recordBytes <= 0)
        return false;
    if (bytesLeft <= 0)
        return count == 0;
    return count <= (bytesLeft + recordBytes - 1) / recordBytes;
}

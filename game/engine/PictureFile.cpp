#include "PictureFile.h"

#include "DataFile.h"

#include <cctype>
#include <cstdio>
#include <vector>

namespace {

// Big-endian fields, read only after the bytes are known to be there.
class BigEndianCursor {
public:
    BigEndianCursor(const std::uint8_t* bytes, std::size_t size) : bytes(bytes), size(size) {}

    std::size_t Left() const { return size - position; }
    bool Skip(std::uint64_t count)
    {
        if (count > Left())
            return false;
        position += static_cast<std::size_t>(count);
        return true;
    }
    bool U16(std::uint32_t& out) { return Number(2, out); }
    bool U32(std::uint32_t& out) { return Number(4, out); }
    const std::uint8_t* At() const { return bytes + position; }

private:
    bool Number(std::size_t width, std::uint32_t& out)
    {
        if (width > Left())
            return false;
        out = 0;
        for (std::size_t i = 0; i < width; ++i)
            out = (out << 8) | bytes[position + i];
        position += width;
        return true;
    }

    const std::uint8_t* bytes;
    std::size_t size;
    std::size_t position = 0;
};

// One row of PackBits codes: exactly rowBytes decoded from the row's bytes.
bool RowDecodes(const std::uint8_t* codes, std::size_t count, std::uint64_t rowBytes)
{
    std::uint64_t produced = 0;
    std::size_t at = 0;
    while (at < count) {
        const int n = static_cast<std::int8_t>(codes[at++]);
        if (n >= 0) { // n + 1 literal bytes
            if (static_cast<std::size_t>(n) + 1 > count - at)
                return false;
            at += static_cast<std::size_t>(n) + 1;
            produced += static_cast<std::uint64_t>(n) + 1;
        } else if (n != -128) { // the next byte 1 - n times
            if (at >= count)
                return false;
            ++at;
            produced += static_cast<std::uint64_t>(1 - n);
        }
        if (produced > rowBytes)
            return false;
    }
    return produced == rowBytes;
}

bool NamesPhotoshopFile(const std::string& path)
{
    static const char kExtension[] = ".psd";
    if (path.size() < 4)
        return false;
    for (std::size_t i = 0; i < 4; ++i) {
        if (std::tolower(static_cast<unsigned char>(path[path.size() - 4 + i])) != kExtension[i])
            return false;
    }
    return true;
}

} // namespace

bool PsdLayoutFits(const std::uint8_t* bytes, std::size_t size, std::string& reason)
{
    BigEndianCursor cursor(bytes, bytes != nullptr ? size : 0);
    std::uint32_t version = 0, channels = 0, height = 0, width = 0, depth = 0, mode = 0;
    if (cursor.Left() < 26 || bytes[0] != '8' || bytes[1] != 'B' || bytes[2] != 'P' || bytes[3] != 'S') {
        reason = "not a Photoshop picture (no 26-byte header starting with 8BPS)";
        return false;
    }
    cursor.Skip(4);
    cursor.U16(version);
    cursor.Skip(6);
    cursor.U16(channels);
    cursor.U32(height);
    cursor.U32(width);
    cursor.U16(depth);
    cursor.U16(mode);
    if (version != 1 || channels < 1 || channels > 56 || height < 1 || height > kPictureSideLimit || width < 1 ||
        width > kPictureSideLimit || (depth != 1 && depth != 8 && depth != 16)) {
        reason = LogFormat("a Photoshop header out of range (version %u, %u channels, %u x %u, depth %u)", version,
                           channels, width, height, depth);
        return false;
    }
    for (const char* section : {"colour mode", "image resources", "layer and mask"}) {
        std::uint32_t length = 0;
        if (!cursor.U32(length) || !cursor.Skip(length)) {
            reason = LogFormat("the %s section runs past the end of the file", section);
            return false;
        }
    }
    std::uint32_t compression = 0;
    if (!cursor.U16(compression) || compression > 1) {
        reason = "image data missing or in an unknown compression";
        return false;
    }
    const std::uint64_t rowBytes = (std::uint64_t{width} * depth + 7) / 8;
    const std::uint64_t rows = std::uint64_t{channels} * height;
    if (compression == 0) {
        if (rows * rowBytes > cursor.Left()) {
            reason = LogFormat("%llu rows of %llu bytes do not fit the file", static_cast<unsigned long long>(rows),
                               static_cast<unsigned long long>(rowBytes));
            return false;
        }
        return true;
    }
    if (rows * 2 > cursor.Left()) {
        reason = "the run-length row table runs past the end of the file";
        return false;
    }
    const std::uint8_t* table = cursor.At();
    cursor.Skip(rows * 2);
    for (std::uint64_t row = 0; row < rows; ++row) {
        const std::size_t count = static_cast<std::size_t>(table[row * 2]) << 8 | table[row * 2 + 1];
        const std::uint8_t* codes = cursor.At();
        if (!cursor.Skip(count) || !RowDecodes(codes, count, rowBytes)) {
            reason = LogFormat("run-length row %llu is damaged", static_cast<unsigned long long>(row));
            return false;
        }
    }
    return true;
}

bool PictureFileAcceptable(const std::string& path, Log& log)
{
    const DataFileVerdict verdict = InspectDataFile(path, kImageFileSizeCap);
    if (verdict.state == DataFileState::Refused) {
        log.Write(DataFileRefusal(path, verdict));
        return false;
    }
    if (verdict.state == DataFileState::Missing || !NamesPhotoshopFile(path))
        return true;

    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(verdict.size));
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return true; // the library reports it
    const bool read = std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
    std::fclose(file);
    DataFileVerdict layout;
    if (!read)
        layout.reason = "cannot be read whole";
    else if (PsdLayoutFits(bytes.data(), bytes.size(), layout.reason))
        return true;
    log.Write(DataFileRefusal(path, layout));
    return false;
}

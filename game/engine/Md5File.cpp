#include "BinaryFile.h"
#include "FileOffset.h"
#include "Log.h"
#include "Md5.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

std::int64_t FileLength(const char* path)
{
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr)
        return 0;
    std::int64_t length = 0;
    if (SeekTo(file, 0, SEEK_END))
        length = std::max<std::int64_t>(0, TellOffset(file));
    std::fclose(file);
    return length;
}

} // namespace

void Md5HexOfFile(const char* path, char out[kMd5HexSize])
{
    Md5HexOfFile(path, out, Log::Instance());
}

void Md5HexOfFile(const char* path, char out[kMd5HexSize], Log& log)
{
    if (out == nullptr)
        return;
    const char* shownPath = path != nullptr ? path : "";
    BinaryFile file;
    if (!file.Open(shownPath, "rb")) {
        log.Write("Failed to find file for hashing: ");
        log.Write(shownPath);
        log.Write("\n");
    }

    Md5Context context;
    Md5Init(context);
    // Read in bounded pieces so a large file cannot demand one huge buffer;
    // the digest is the same as of the whole file in one piece.
    constexpr std::int64_t kChunk = 1 << 20;
    std::int64_t remaining = FileLength(shownPath);
    std::vector<unsigned char> buffer(static_cast<std::size_t>(std::min(remaining, kChunk)));
    while (remaining > 0) {
        const std::int64_t piece = std::min(remaining, kChunk);
        // A file that shrank meanwhile leaves zeros: the digest then simply differs.
        std::fill(buffer.begin(), buffer.end(), 0);
        if (!file.ReadBytes(buffer.data(), piece))
            break;
        Md5Update(context, buffer.data(), piece);
        remaining -= piece;
    }
    std::uint8_t digest[16];
    Md5Final(context, digest);
    Md5DigestToHex(digest, out);
}

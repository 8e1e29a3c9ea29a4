#include "BinaryFile.h"

#include "FileOffset.h"

#include <cstdio>
#include <limits>

namespace {

// A read in a writing mode ("wb", "ab") would empty or extend the file
// instead of reading it.
bool IsReadMode(const std::string& mode)
{
    return !mode.empty() && mode[0] == 'r';
}

} // namespace

bool BinaryFile::Open(const char* newPath, const char* newMode)
{
    path = newPath != nullptr ? newPath : "";
    mode = newMode != nullptr ? newMode : "";
    offset = 0;
    if (path.empty() || mode.empty())
        return false;
    std::FILE* file = std::fopen(path.c_str(), mode.c_str());
    if (file == nullptr)
        return false;
    std::fclose(file);
    return true;
}

bool BinaryFile::ReadBytes(void* destination, std::int64_t count)
{
    return ReadBlock(destination, count);
}

bool BinaryFile::ReadBlock(void* destination, std::int64_t count)
{
    if (count < 0 || (destination == nullptr && count > 0) ||
        static_cast<std::uint64_t>(count) > std::numeric_limits<std::size_t>::max())
        return false;
    if (!IsReadMode(mode))
        return false;
    std::FILE* file = std::fopen(path.c_str(), mode.c_str());
    if (file == nullptr)
        return false;
    if (SeekTo(file, offset, SEEK_SET) && count > 0) {
        // A short read is not an error: missing bytes leave the destination as it was.
        std::fread(destination, 1, static_cast<std::size_t>(count), file);
    }
    const std::int64_t position = TellOffset(file);
    if (position >= 0)
        offset = position;
    std::fclose(file);
    return true;
}

const char* BinaryFile::ReadLine()
{
    if (!IsReadMode(mode))
        return nullptr;
    std::FILE* file = std::fopen(path.c_str(), mode.c_str());
    if (file == nullptr)
        return nullptr;
    const bool atEnd = SeekTo(file, 0, SEEK_END) && TellOffset(file) == offset;
    if (atEnd || !SeekTo(file, offset, SEEK_SET) ||
        std::fgets(line.data(), static_cast<int>(line.size()), file) == nullptr) {
        // Also the case of a file that shrank below the stored offset: no
        // character read means no line, never an endless run of stale ones.
        std::fclose(file);
        return nullptr;
    }
    const std::int64_t position = TellOffset(file);
    if (position >= 0)
        offset = position;
    std::fclose(file);
    return line.data();
}

bool BinaryFile::WriteBlock(const void* source, std::size_t count)
{
    if (source == nullptr)
        return false;
    std::FILE* file = std::fopen(path.c_str(), "ab");
    if (file == nullptr)
        return false;
    bool complete = std::fwrite(source, 1, count, file) == count;
    // Buffered bytes count only once they reached the file.
    if (std::fflush(file) != 0)
        complete = false;
    const std::int64_t position = TellOffset(file);
    if (position >= 0)
        offset = position;
    if (std::fclose(file) != 0)
        complete = false;
    return complete;
}

#include "ReplaceFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

std::string Reason(int error)
{
    return std::strerror(error != 0 ? error : EIO);
}

class SystemSteps final : public FileWriteSteps {
public:
    std::string WriteWhole(const std::string& path, const void* bytes, std::size_t size) override
    {
        errno = 0;
        std::FILE* file = std::fopen(path.c_str(), "wb");
        if (file == nullptr)
            return Reason(errno);
        int error = 0;
        errno = 0;
        // A full disk shows at any of these steps: the buffered write, the
        // flush, the sync or the close. The first failure is the reason.
        if (size > 0 && std::fwrite(bytes, 1, size, file) != size)
            error = errno != 0 ? errno : EIO;
        errno = 0;
        if (std::fflush(file) != 0 && error == 0)
            error = errno != 0 ? errno : EIO;
        if (error == 0 && fsync(fileno(file)) != 0 && errno != EINVAL && errno != EROFS)
            error = errno; // a device without sync (EINVAL) has nothing to flush
        errno = 0;
        if (std::fclose(file) != 0 && error == 0)
            error = errno != 0 ? errno : EIO;
        return error == 0 ? std::string() : Reason(error);
    }

    std::string Rename(const std::string& from, const std::string& to) override
    {
        return std::rename(from.c_str(), to.c_str()) == 0 ? std::string() : Reason(errno);
    }

    // unlink, not remove: a folder squatting on the name is left alone.
    void Remove(const std::string& path) override { unlink(path.c_str()); }
};

} // namespace

FileWriteSteps& SystemFileWriteSteps()
{
    static SystemSteps steps;
    return steps;
}

FileWriteResult WriteFileReplacing(const std::string& path, const void* bytes, std::size_t size,
                                   FileWriteSteps& steps)
{
    if (path.empty())
        return {false, "no file name"};
    if (bytes == nullptr && size > 0)
        return {false, "no bytes to write"};
    const std::string temporary = path + ".tmp";
    std::string error = steps.WriteWhole(temporary, bytes, size);
    if (error.empty())
        error = steps.Rename(temporary, path);
    if (!error.empty()) {
        steps.Remove(temporary);
        return {false, error};
    }
    return {true, {}};
}

#include "ReplaceFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <random>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

std::string Reason(int error)
{
    return std::strerror(error != 0 ? error : EIO);
}

int WriteAll(int fd, const void* bytes, std::size_t size)
{
    const char* at = static_cast<const char*>(bytes);
    while (size > 0) {
        const ssize_t written = write(fd, at, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (written == 0)
            return EIO;
        at += written;
        size -= static_cast<std::size_t>(written);
    }
    return 0;
}

class SystemSteps final : public FileWriteSteps {
public:
    int WriteNew(const std::string& path, const void* bytes, std::size_t size, std::optional<unsigned> mode) override
    {
        // O_EXCL refuses any name that exists, a dangling link included, and
        // with O_NOFOLLOW no link is ever followed: the bytes go nowhere but
        // into a file this call made.
        const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0)
            return errno;
        // A full disk shows at any of these steps: the write, the sync or the
        // close. The first failure is the reason.
        int error = WriteAll(fd, bytes, size);
        if (error == 0 && mode && fchmod(fd, static_cast<mode_t>(*mode)) != 0)
            error = errno;
        if (error == 0 && fsync(fd) != 0 && errno != EINVAL && errno != EROFS)
            error = errno; // a device without sync (EINVAL) has nothing to flush
        if (close(fd) != 0 && error == 0 && errno != EINTR)
            error = errno;
        if (error != 0)
            unlink(path.c_str());
        return error;
    }

    int Rename(const std::string& from, const std::string& to) override
    {
        return std::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
    }

    void SyncFolder(const std::string& folder) override
    {
        const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0)
            return;
        fsync(fd);
        close(fd);
    }

    // unlink, not remove: a folder squatting on the name is left alone.
    void Remove(const std::string& path) override { unlink(path.c_str()); }
};

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Letters no other save (another game in the same folder, another thread)
// is likely to pick; a clash only costs another try.
std::string RandomSuffix()
{
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937 random(std::random_device{}() ^
                                     static_cast<unsigned>(std::hash<std::thread::id>{}(std::this_thread::get_id())));
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
    std::string suffix(8, 'a');
    for (char& c : suffix)
        c = kLetters[pick(random)];
    return suffix;
}

// Tries for a temporary name; each taken one (a leftover, or a link someone
// placed) is passed over.
constexpr int kTemporaryNameTries = 16;

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

    // The old file's permission bits go to its replacement. One that writing
    // in place would refuse stays: the rename needs only the folder's write
    // permission, which would otherwise overrule the file's own. (The owner
    // check of access() does not stop the superuser: the bits do.)
    std::optional<unsigned> mode;
    struct stat old {};
    if (stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
        if ((old.st_mode & 0222) == 0)
            return {false, kReadOnlyFileReason};
        if (access(path.c_str(), W_OK) != 0)
            return {false, Reason(errno)};
        mode = static_cast<unsigned>(old.st_mode & 0777);
    }

    for (int attempt = 0; attempt < kTemporaryNameTries; ++attempt) {
        const std::string temporary = path + ".tmp." + RandomSuffix();
        const int written = steps.WriteNew(temporary, bytes, size, mode);
        if (written == EEXIST)
            continue; // not ours: neither used nor removed
        if (written != 0)
            return {false, Reason(written)};
        const int renamed = steps.Rename(temporary, path);
        if (renamed != 0) {
            steps.Remove(temporary);
            return {false, Reason(renamed)};
        }
        steps.SyncFolder(FolderOf(path));
        return {true, {}};
    }
    return {false, Reason(EEXIST)};
}

#pragma once

#include "ReplaceFile.h"

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

// The names in the path's folder that a save's temporaries take (the file's
// name and ".tmp"), for checking that a save left none.
inline std::vector<std::string> TemporariesBeside(const std::string& path)
{
    const std::filesystem::path file(path);
    const std::string prefix = file.filename().string() + ".tmp";
    std::vector<std::string> found;
    for (const auto& entry : std::filesystem::directory_iterator(file.parent_path())) {
        const std::string name = entry.path().filename().string();
        if (name.rfind(prefix, 0) == 0)
            found.push_back(name);
    }
    return found;
}

// The real file steps, except that the chosen one fails as on a full disk: a
// failing write leaves the first half of the bytes in the file (what a disk
// that fills up mid-write keeps), removes it as the real step does and
// reports ENOSPC; a failing rename reports EIO. Records the paths each step
// was asked for, and every step in order in `calls`.
class FailingFileSteps : public FileWriteSteps {
public:
    enum class Step { None, Write, Rename };
    Step failAt = Step::Write;
    std::vector<std::string> written, removed, calls;

    int WriteNew(const std::string& path, const void* bytes, std::size_t size, std::optional<unsigned> mode) override
    {
        written.push_back(path);
        calls.push_back("write " + path);
        if (failAt != Step::Write)
            return SystemFileWriteSteps().WriteNew(path, bytes, size, mode);
        const int error = SystemFileWriteSteps().WriteNew(path, bytes, size / 2, mode);
        if (error != 0)
            return error;
        SystemFileWriteSteps().Remove(path);
        return ENOSPC;
    }
    int Rename(const std::string& from, const std::string& to) override
    {
        calls.push_back("rename " + from + " " + to);
        if (failAt == Step::Rename)
            return EIO;
        return SystemFileWriteSteps().Rename(from, to);
    }
    void SyncFolder(const std::string& folder) override
    {
        calls.push_back("sync " + folder);
        SystemFileWriteSteps().SyncFolder(folder);
    }
    void Remove(const std::string& path) override
    {
        removed.push_back(path);
        calls.push_back("remove " + path);
        SystemFileWriteSteps().Remove(path);
    }
};

#pragma once

#include "ReplaceFile.h"

#include <string>
#include <vector>

// The real file steps, except that the chosen one fails as on a full disk: a
// failing write leaves the first half of the bytes in the file (what a disk
// that fills up mid-write keeps) and reports ENOSPC's text. Records the
// paths each step was asked for.
class FailingFileSteps : public FileWriteSteps {
public:
    enum class Step { None, Write, Rename };
    Step failAt = Step::Write;
    std::vector<std::string> written, removed;

    std::string WriteWhole(const std::string& path, const void* bytes, std::size_t size) override
    {
        written.push_back(path);
        if (failAt != Step::Write)
            return SystemFileWriteSteps().WriteWhole(path, bytes, size);
        SystemFileWriteSteps().WriteWhole(path, bytes, size / 2);
        return "No space left on device";
    }
    std::string Rename(const std::string& from, const std::string& to) override
    {
        if (failAt == Step::Rename)
            return "Input/output error";
        return SystemFileWriteSteps().Rename(from, to);
    }
    void Remove(const std::string& path) override
    {
        removed.push_back(path);
        SystemFileWriteSteps().Remove(path);
    }
};

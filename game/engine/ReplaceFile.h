#pragma once

#include <cstddef>
#include <string>

// The file steps of a write-aside save. The program uses the real file system
// (SystemFileWriteSteps); tests pass a stand-in that fails at a chosen step,
// as a full disk would.
class FileWriteSteps {
public:
    virtual ~FileWriteSteps() = default;

    // Creates or truncates the file and writes every byte to it, checking each
    // write, the flush to the disk and the close. Empty on success, else why
    // it failed ("No space left on device").
    virtual std::string WriteWhole(const std::string& path, const void* bytes, std::size_t size) = 0;

    // Renames from over to in one step. Empty on success, else why not.
    virtual std::string Rename(const std::string& from, const std::string& to) = 0;

    // Removes what a failed save left behind; failures are of no interest.
    virtual void Remove(const std::string& path) = 0;
};

FileWriteSteps& SystemFileWriteSteps();

struct FileWriteResult {
    bool ok = false;
    std::string error; // why the save did not happen; empty when it did

    explicit operator bool() const { return ok; }
};

// Writes the bytes to a temporary file beside the path (the path with ".tmp"
// added, in the same folder, so the rename never crosses file systems) and
// renames it over the path only when every byte was written and the file
// closed cleanly. On any failure the temporary is removed and whatever was at
// the path stays as it was.
FileWriteResult WriteFileReplacing(const std::string& path, const void* bytes, std::size_t size,
                                   FileWriteSteps& steps = SystemFileWriteSteps());

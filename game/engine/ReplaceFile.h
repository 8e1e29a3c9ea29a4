#pragma once

#include <cstddef>
#include <optional>
#include <string>

// The file steps of a write-aside save. The program uses the real file system
// (SystemFileWriteSteps); tests pass a stand-in that fails at a chosen step,
// as a full disk would. Every step answers 0 or the system's error number.
class FileWriteSteps {
public:
    virtual ~FileWriteSteps() = default;

    // Creates a file at the path that was not there before and writes every
    // byte to it, checking each write, the flush to the disk and the close.
    // Whatever already has the name (a file, a link, a folder) is refused
    // with EEXIST, never opened or followed. `mode` is given to the file
    // before it is flushed (the permission bits of the file it will
    // replace); without one the file gets what the umask allows. A file this
    // step created and could not finish is removed again.
    virtual int WriteNew(const std::string& path, const void* bytes, std::size_t size,
                         std::optional<unsigned> mode) = 0;

    // Renames from over to in one step.
    virtual int Rename(const std::string& from, const std::string& to) = 0;

    // Flushes the folder's entries to the disk, so that a renamed name
    // survives a power cut; failures are of no interest (the rename is done).
    virtual void SyncFolder(const std::string& folder) = 0;

    // Removes what a failed save left behind; failures are of no interest.
    virtual void Remove(const std::string& path) = 0;
};

FileWriteSteps& SystemFileWriteSteps();

struct FileWriteResult {
    bool ok = false;
    std::string error; // why the save did not happen; empty when it did

    explicit operator bool() const { return ok; }
};

// Why a save refuses a file that grants no one write permission.
inline const char* const kReadOnlyFileReason = "the file is read-only";

// Writes the bytes to a new temporary file beside the path (the path, ".tmp."
// and random letters: in the same folder, so the rename never crosses file
// systems, and a name of its own, so two games saving into one folder never
// share it and a leftover of an earlier crash is no obstacle), gives it the
// old file's permission bits and renames it over the path only when every
// byte was written and the file closed cleanly; then syncs the folder. A
// file that could not be written in place (read-only, or not writable by
// this user) is kept and the save refused. On any failure whatever was at
// the path stays as it was and no temporary of this save is left.
FileWriteResult WriteFileReplacing(const std::string& path, const void* bytes, std::size_t size,
                                   FileWriteSteps& steps = SystemFileWriteSteps());

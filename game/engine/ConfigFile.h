#pragma once

#include "Log.h"
#include "ReplaceFile.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// A configuration file is a group line and one line per key, and the game
// binds a few dozen keys per file: 1 MB is far above any file it writes. A
// bigger file, or a path that is not a regular file, is neither read nor
// replaced: every key keeps its default.
constexpr std::int64_t kConfigFileSizeCap = 1 << 20;

// Key/value text files ("Input.dat", "Scores.dat"): a group line, then one
// line per key made of the key, "\t= " and the value. Every call is a bind:
// it either reads the key into the caller's variable or, for a file that is
// to be written, appends the key with the variable's value. A file found
// missing during the run is remembered and from then on only written. A save
// binds every key inside Replace, which writes the lines aside and renames
// them over the file.
class ConfigFile {
public:
    explicit ConfigFile(Log& log = Log::Instance(), FileWriteSteps& files = SystemFileWriteSteps())
        : log(log), files(files)
    {
    }

    // True when the file is missing (it is then remembered as created) or was
    // created earlier in this run.
    bool ShouldWrite(const std::string& file);

    void WriteLine(const std::string& file, const std::string& text);

    // A value that is absent or does not parse leaves the variable unchanged.
    void BindInt(const std::string& file, const std::string& key, int& value);
    void BindFloat(const std::string& file, const std::string& key, float& value);

    // Reading clears the variable first: an absent key reads as "", a key
    // with nothing after the separator as "emptyvar", otherwise the words
    // after the separator joined by single spaces (no length limit).
    void BindString(const std::string& file, const std::string& key, std::string& value);

    // Saves the file anew: every line that bindAll's binds of this file would
    // append is gathered in memory, written beside the file and renamed over
    // it (WriteFileReplacing), so a save that fails half-way (a full disk)
    // leaves the previous file whole. A saved file counts as created in this
    // run, as one deleted and bound again would.
    FileWriteResult Replace(const std::string& file, const std::function<void()>& bindAll);

    const std::vector<std::string>& CreatedFiles() const { return createdFiles; }

    // The program-wide instance used by the key configuration and the high
    // scores.
    static ConfigFile& Instance();

private:
    // Whether the file may be read; a refusal is logged once per file.
    bool Readable(const std::string& file);

    // Appends the text and a line end to the file, or to the replacement
    // being gathered for it.
    void Append(const std::string& file, const std::string& text);

    Log& log;
    FileWriteSteps& files;
    const std::string* replacing = nullptr; // the file Replace is gathering
    std::string replacement;
    std::vector<std::string> createdFiles;
    std::vector<std::string> refusedFiles;
};

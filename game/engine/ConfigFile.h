#pragma once

#include "Log.h"

#include <cstdint>
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
// missing during the run is remembered and from then on only written, so
// "delete, then bind every key" saves a file.
class ConfigFile {
public:
    explicit ConfigFile(Log& log = Log::Instance()) : log(log) {}

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

    const std::vector<std::string>& CreatedFiles() const { return createdFiles; }

    // The program-wide instance used by the key configuration and the high
    // scores.
    static ConfigFile& Instance();

private:
    // Whether the file may be read; a refusal is logged once per file.
    bool Readable(const std::string& file);

    Log& log;
    std::vector<std::string> createdFiles;
    std::vector<std::string> refusedFiles;
};

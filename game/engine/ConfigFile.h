#pragma once

#include <string>
#include <vector>

// Key/value text files ("Input.dat", "Scores.dat"): a group line, then one
// line per key made of the key, "\t= " and the value. Every call is a bind:
// it either reads the key into the caller's variable or, for a file that is
// to be written, appends the key with the variable's value. A file found
// missing during the run is remembered and from then on only written, so
// "delete, then bind every key" saves a file.
class ConfigFile {
public:
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
    std::vector<std::string> createdFiles;
};

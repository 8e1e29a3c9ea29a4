#include "ConfigFile.h"

#include "DataFile.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <locale>
#include <optional>
#include <sstream>

namespace {

// Anything at the path counts, without opening it (a pipe would block).
bool FileExists(const std::string& file)
{
    return InspectDataFile(file, kConfigFileSizeCap).state != DataFileState::Missing;
}

void AppendText(const std::string& file, const std::string& text)
{
    // Binary append: the bytes written are exactly "text\n" on every platform.
    if (std::FILE* f = std::fopen(file.c_str(), "ab")) {
        std::fwrite(text.data(), 1, text.size(), f);
        std::fputc('\n', f);
        std::fclose(f);
    }
}

std::vector<std::string> SplitWords(const std::string& line)
{
    std::istringstream in(line);
    in.imbue(std::locale::classic());
    std::vector<std::string> words;
    std::string word;
    while (in >> word)
        words.push_back(word);
    return words;
}

// The words of the first line whose first word is the key. Lines of any length
// are read whole; '\r' counts as white space, so CRLF files read the same.
std::optional<std::vector<std::string>> FindKeyLine(const std::string& file, const std::string& key)
{
    std::ifstream in(file, std::ios::binary);
    std::string line;
    while (in && std::getline(in, line)) {
        std::vector<std::string> words = SplitWords(line);
        if (!words.empty() && words.front() == key)
            return words;
    }
    return std::nullopt;
}

template <typename T>
void ReadNumber(const std::string& file, const std::string& key, T& value)
{
    const auto words = FindKeyLine(file, key);
    if (!words || words->size() < 3)
        return;
    std::istringstream in((*words)[2]);
    in.imbue(std::locale::classic());
    T parsed{};
    // A value that does not parse (or overflows) keeps the caller's default.
    if (in >> parsed)
        value = parsed;
}

template <typename T>
std::string FormatValue(const T& value)
{
    std::ostringstream out;
    out.imbue(std::locale::classic());
    out << value;
    return out.str();
}

} // namespace

bool ConfigFile::Readable(const std::string& file)
{
    const DataFileVerdict verdict = InspectDataFile(file, kConfigFileSizeCap);
    if (verdict.state != DataFileState::Refused)
        return true;
    if (std::find(refusedFiles.begin(), refusedFiles.end(), file) == refusedFiles.end()) {
        refusedFiles.push_back(file);
        log.Write(DataFileRefusal(file, verdict));
    }
    return false;
}

ConfigFile& ConfigFile::Instance()
{
    static ConfigFile instance;
    return instance;
}

bool ConfigFile::ShouldWrite(const std::string& file)
{
    if (replacing != nullptr && *replacing == file)
        return true;
    if (!FileExists(file)) {
        if (std::find(createdFiles.begin(), createdFiles.end(), file) == createdFiles.end())
            createdFiles.push_back(file);
        return true;
    }
    return std::find(createdFiles.begin(), createdFiles.end(), file) != createdFiles.end();
}

void ConfigFile::Append(const std::string& file, const std::string& text)
{
    if (replacing != nullptr && *replacing == file) {
        replacement += text;
        replacement += '\n';
        return;
    }
    AppendText(file, text);
}

FileWriteResult ConfigFile::Replace(const std::string& file, const std::function<void()>& bindAll)
{
    replacement.clear();
    replacing = &file;
    bindAll();
    replacing = nullptr;
    FileWriteResult result = WriteFileReplacing(file, replacement.data(), replacement.size(), files);
    replacement.clear();
    if (result.ok && std::find(createdFiles.begin(), createdFiles.end(), file) == createdFiles.end())
        createdFiles.push_back(file);
    return result;
}

void ConfigFile::WriteLine(const std::string& file, const std::string& text)
{
    if (ShouldWrite(file))
        Append(file, text);
}

void ConfigFile::BindInt(const std::string& file, const std::string& key, int& value)
{
    if (ShouldWrite(file))
        Append(file, key + "\t= " + FormatValue(value));
    else if (Readable(file))
        ReadNumber(file, key, value);
}

void ConfigFile::BindFloat(const std::string& file, const std::string& key, float& value)
{
    if (ShouldWrite(file))
        Append(file, key + "\t= " + FormatValue(value));
    else if (Readable(file))
        ReadNumber(file, key, value);
}

void ConfigFile::BindString(const std::string& file, const std::string& key, std::string& value)
{
    if (ShouldWrite(file)) {
        Append(file, key + "\t= " + value);
        return;
    }
    value.clear();
    if (!Readable(file))
        return;
    const auto words = FindKeyLine(file, key);
    if (!words)
        return;
    if (words->size() < 3) {
        value = "emptyvar";
        return;
    }
    for (std::size_t i = 2; i < words->size(); ++i) {
        if (i > 2)
            value += ' ';
        value += (*words)[i];
    }
}

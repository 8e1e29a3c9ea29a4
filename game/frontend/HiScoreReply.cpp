#include "HiScoreReply.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace {

constexpr std::size_t kNameChars = sizeof(OnlineScore::name) - 1;

bool IsSpace(unsigned char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

void StoreName(const std::string& text, char (&name)[16])
{
    const std::size_t n = text.size() < kNameChars ? text.size() : kNameChars;
    for (std::size_t i = 0; i < n; ++i) {
        const char c = text[i];
        name[i] = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    }
    name[n] = '\0';
}

// The decimal integer (optional sign) at the start of the text, when one
// is there and fits 32 bits.
bool ReadScore(const std::string& text, std::int32_t& score)
{
    // The text holds no NUL once it starts with a digit run that strtol
    // reads; a NUL elsewhere only ends what strtol sees, as any other
    // non-digit would.
    const char* start = text.c_str();
    if (*start != '+' && *start != '-' && (*start < '0' || *start > '9'))
        return false;
    char* end = nullptr;
    errno = 0;
    const long long value = std::strtoll(start, &end, 10);
    if (end == start || errno == ERANGE || value < INT32_MIN || value > INT32_MAX)
        return false;
    score = static_cast<std::int32_t>(value);
    return true;
}

} // namespace

void ParseHiScoreReply(const char* bytes, std::size_t length, OnlineTable& table)
{
    std::memset(table, 0, sizeof table);
    if (bytes == nullptr)
        return;
    if (length > kHiScoreReplyCap)
        length = kHiScoreReplyCap;

    std::string accumulator;
    std::string name;
    bool readingName = true;
    int row = 0;
    std::size_t i = 0;
    while (i < length && row < kOnlineTableSize) {
        while (i < length && IsSpace(static_cast<unsigned char>(bytes[i])))
            ++i;
        const std::size_t start = i;
        while (i < length && !IsSpace(static_cast<unsigned char>(bytes[i])))
            ++i;
        if (i == start)
            break;
        const std::string_view token(bytes + start, i - start);
        if (readingName && token == "/1") {
            name = accumulator;
            accumulator.clear();
            readingName = false;
        } else if (!readingName && token == "/2") {
            std::int32_t score = 0;
            if (ReadScore(accumulator, score)) {
                StoreName(name, table[row].name);
                table[row].score = score;
            }
            accumulator.clear();
            readingName = true;
            ++row;
        } else {
            accumulator.append(token);
            accumulator += ' ';
        }
    }
}

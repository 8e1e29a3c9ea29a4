#include "SaveGame.h"

#include "DataFile.h"
#include "Log.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>
#include <system_error>

namespace {

void PutInt32(std::uint8_t* at, std::int32_t value)
{
    const auto v = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::int32_t Int32At(const std::uint8_t* at)
{
    const std::uint32_t v = std::uint32_t{at[0]} | std::uint32_t{at[1]} << 8 | std::uint32_t{at[2]} << 16 |
                            std::uint32_t{at[3]} << 24;
    std::int32_t out;
    std::memcpy(&out, &v, sizeof out);
    return out;
}

// Copies a zero-terminated text into a fixed field: at most size - 1
// characters, zeros after them.
void PutText(std::uint8_t* at, std::size_t size, const char* text)
{
    std::memset(at, 0, size);
    if (text == nullptr)
        return;
    const void* terminator = std::memchr(text, 0, size - 1);
    const std::size_t length =
        terminator != nullptr ? static_cast<std::size_t>(static_cast<const char*>(terminator) - text) : size - 1;
    std::memcpy(at, text, length);
}

template <std::size_t N>
void TakeText(char (&field)[N], const std::uint8_t* at)
{
    std::memcpy(field, at, N);
    field[N - 1] = '\0';
}

void DigestOfNumber(std::int32_t value, char out[kMd5HexSize])
{
    char text[16];
    std::snprintf(text, sizeof text, "%i", static_cast<int>(value));
    Md5Hex(text, out);
}

std::vector<std::uint8_t> ReadSaveBytes(const std::string& path, bool& opened, Log& log)
{
    std::vector<std::uint8_t> bytes;
    opened = false;
    if (CheckDataFile(path, kSaveGameSizeCap, log) == DataFileState::Refused)
        return bytes;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return bytes;
    opened = true;
    // One byte more than a save holds is enough to read it whole.
    bytes.resize(kSaveGameBytes + 1);
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file));
    std::fclose(file);
    return bytes;
}

} // namespace

std::string SaveGamePath(const std::string& root)
{
    if (root.empty() || root == ".")
        return "Data/SaveGame.sav";
    return root + "/Data/SaveGame.sav";
}

std::array<std::uint8_t, kSaveGameBytes> EncodeSaveGame(const char* packName, std::int32_t mapIndex,
                                                        const char* mapName, std::int32_t score,
                                                        std::int32_t lives)
{
    std::array<std::uint8_t, kSaveGameBytes> bytes{};
    PutText(&bytes[kSavePackNameOffset], kPackNameBytes, packName);
    PutInt32(&bytes[kSaveMapIndexOffset], mapIndex);
    PutText(&bytes[kSaveMapNameOffset], kGameMapNameBytes, mapName);
    PutInt32(&bytes[kSaveScoreOffset], score);
    char digest[kMd5HexSize];
    DigestOfNumber(score, digest);
    std::memcpy(&bytes[kSaveScoreDigestOffset], digest, kMd5HexSize);
    PutInt32(&bytes[kSaveLivesOffset], lives);
    DigestOfNumber(lives, digest);
    std::memcpy(&bytes[kSaveLivesDigestOffset], digest, kMd5HexSize);
    return bytes;
}

bool DecodeSaveGame(const std::uint8_t* bytes, std::size_t size, SaveGameRecord& out)
{
    if (bytes == nullptr || size < static_cast<std::size_t>(kSaveGameBytes))
        return false;
    TakeText(out.packName, bytes + kSavePackNameOffset);
    out.mapIndex = Int32At(bytes + kSaveMapIndexOffset);
    TakeText(out.mapName, bytes + kSaveMapNameOffset);
    out.score = Int32At(bytes + kSaveScoreOffset);
    TakeText(out.scoreDigest, bytes + kSaveScoreDigestOffset);
    out.lives = Int32At(bytes + kSaveLivesOffset);
    TakeText(out.livesDigest, bytes + kSaveLivesDigestOffset);
    return true;
}

bool SaveDigestsMatch(const SaveGameRecord& record)
{
    char digest[kMd5HexSize];
    DigestOfNumber(record.score, digest);
    if (std::strcmp(digest, record.scoreDigest) != 0)
        return false;
    DigestOfNumber(record.lives, digest);
    return std::strcmp(digest, record.livesDigest) == 0;
}

bool SaveGameExists(const std::string& root)
{
    // Never opens what is no save-sized file: a pipe would block the menu.
    if (InspectDataFile(SaveGamePath(root), kSaveGameSizeCap).state != DataFileState::Readable)
        return false;
    std::FILE* file = std::fopen(SaveGamePath(root).c_str(), "rb");
    if (file == nullptr)
        return false;
    std::fclose(file);
    return true;
}

std::int32_t RaiseNextExtraLife(std::int32_t nextExtraLife, std::int32_t score)
{
    std::int64_t next = nextExtraLife;
    if (next < score) {
        const std::int64_t steps = (std::int64_t{score} - next + kExtraLifeStep - 1) / kExtraLifeStep;
        next += steps * kExtraLifeStep;
    }
    if (next > std::numeric_limits<std::int32_t>::max())
        next = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(next);
}

SaveLoadResult LoadSaveGameInto(const std::string& root, SaveGameTarget& target, Log& log)
{
    bool opened = false;
    const std::vector<std::uint8_t> bytes = ReadSaveBytes(SaveGamePath(root), opened, log);
    if (!opened)
        return SaveLoadResult::Refused;
    SaveGameRecord record;
    if (!DecodeSaveGame(bytes.data(), bytes.size(), record)) {
        log.Write("Corrupt Variables in save state!\n");
        return SaveLoadResult::Refused;
    }

    const bool samePack = NamesEqual(record.packName, target.packName);
    std::vector<std::string> maps = samePack ? target.packMaps : ReadPackList(root, record.packName, log);
    if (!samePack && maps.empty()) {
        std::snprintf(target.packName, sizeof target.packName, "%s", "Default");
        target.packMaps = ReadPackList(root, target.packName, log);
        return SaveLoadResult::MissingPack;
    }

    if (!SaveDigestsMatch(record) || record.mapIndex < 0 ||
        static_cast<std::size_t>(record.mapIndex) >= maps.size() || !IsPlainMapsFileName(record.mapName)) {
        log.Write("Corrupt Variables in save state!\n");
        return SaveLoadResult::Refused;
    }

    if (!samePack) {
        std::memcpy(target.packName, record.packName, sizeof target.packName);
        target.packMaps = std::move(maps);
    }
    target.mapIndex = record.mapIndex;
    std::memcpy(target.mapName, record.mapName, sizeof target.mapName);
    target.score = record.score;
    target.lives = record.lives;
    target.nextExtraLife = RaiseNextExtraLife(target.nextExtraLife, record.score);
    return SaveLoadResult::Loaded;
}

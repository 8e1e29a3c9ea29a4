#pragma once

#include "MapData.h"
#include "MapPack.h"
#include "Md5.h"
#include "ReplaceFile.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class Log;

// "Data/SaveGame.sav", 398 bytes, little-endian, no header:
//     0 pack name (256, zero-terminated)     256 int32 map index
//   260 map name (64, zero-terminated)       324 int32 score
//   328 score digest (33: MD5 text of "%i")  361 int32 lives
//   365 lives digest (33)
constexpr int kSaveGameBytes = 398;
// A save is one fixed record; anything past it means nothing. A file above
// 4 KB, or a path that is not a regular file, is refused unread.
constexpr std::int64_t kSaveGameSizeCap = 4096;
constexpr int kSavePackNameOffset = 0;
constexpr int kSaveMapIndexOffset = 256;
constexpr int kSaveMapNameOffset = 260;
constexpr int kSaveScoreOffset = 324;
constexpr int kSaveScoreDigestOffset = 328;
constexpr int kSaveLivesOffset = 361;
constexpr int kSaveLivesDigestOffset = 365;

// The extra-life threshold grows in steps of this many points.
constexpr std::int32_t kExtraLifeStep = 20000;

std::string SaveGamePath(const std::string& root);

struct SaveGameRecord {
    char packName[kPackNameBytes] = {};
    std::int32_t mapIndex = 0;
    char mapName[kGameMapNameBytes] = {};
    std::int32_t score = 0;
    char scoreDigest[kMd5HexSize] = {};
    std::int32_t lives = 0;
    char livesDigest[kMd5HexSize] = {};
};

// The file's bytes for the given values; the digests are computed here from
// the score and the lives. Bytes after a name's terminator are zero.
std::array<std::uint8_t, kSaveGameBytes> EncodeSaveGame(const char* packName, std::int32_t mapIndex,
                                                        const char* mapName, std::int32_t score,
                                                        std::int32_t lives);

// Splits the 398 bytes into their fields, forcing the last byte of every
// text field to zero. False when fewer than 398 bytes are given.
bool DecodeSaveGame(const std::uint8_t* bytes, std::size_t size, SaveGameRecord& out);

// Whether both digests match the texts of their numbers.
bool SaveDigestsMatch(const SaveGameRecord& record);

// A save-sized regular file exists and opens for reading.
bool SaveGameExists(const std::string& root = ".");

// The state a saved game restores, as references into the game.
struct SaveGameTarget {
    char (&packName)[kPackNameBytes];
    std::vector<std::string>& packMaps;
    std::int32_t& mapIndex;
    char (&mapName)[kGameMapNameBytes];
    std::int32_t& score;
    std::int32_t& lives;
    std::int32_t& nextExtraLife;
};

enum class SaveLoadResult {
    Loaded,      // 1: the caller starts the saved map
    Refused,     // 0: no file, or a file that fails a check; nothing changed
    MissingPack, // -1: the saved pack is gone; the pack is "Default" again
};

// Reads the saved game into the target. Every check runs before anything of
// the file is assigned: all 398 bytes, both digests, a map index inside the
// saved pack's list and a map name naming a file of the maps folder (a
// refusal logs "Corrupt Variables in save state!").
// A saved pack other than the current one (ignoring case) whose list is
// missing or empty switches to "Default" with its list and answers
// MissingPack; nothing else of the file is used then.
SaveLoadResult LoadSaveGameInto(const std::string& root, SaveGameTarget& target, Log& log);

// The new threshold: raised in steps of 20000 until not below the score,
// computed in 64 bits and clamped to the int32 range.
std::int32_t RaiseNextExtraLife(std::int32_t nextExtraLife, std::int32_t score);

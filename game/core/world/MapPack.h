#pragma once

#include "Log.h"
#include "MapData.h"

#include <cstdint>
#include <string>
#include <vector>

// Map packs: "Data/Maps/<pack>.rota" lists map names in playing order, one a
// line; "Data/Maps/<pack>.rotb" starts with the MD5 digest (32 lower-case
// hexadecimal digits) of the list's bytes. Paths are below a root directory,
// "." being the game's working directory.
constexpr int kPackNameBytes = 256;

// A pack list holds map names of at most 63 characters, one a line (CR LF
// at most): 65536 of them, far more than any pack plays, fit about 4.3 MB.
// Only the integrity file's first line counts (at most 255 characters are
// read); 64 KB leaves room for any comment after it. Bigger files, and paths
// that are not regular files, are refused before they are hashed or read.
constexpr std::int64_t kPackListMapLimit = 65536;
constexpr std::int64_t kPackListSizeCap = kPackListMapLimit * (kGameMapNameBytes - 1 + 2);
constexpr std::int64_t kPackDigestSizeCap = 64 * 1024;

// The digest that the pack named "standard" (in any case) must have.
constexpr const char* kStandardPackDigest = "03fb2e6ba90b360d4b673eea93954530";

// Whether a pack or map name from a file (a saved game) names a file directly
// in "Data/Maps": not empty, not "." or "..", without '/' or '\\'.
bool IsPlainMapsFileName(const std::string& name);

std::string PackListPath(const std::string& root, const std::string& packName);
std::string PackDigestPath(const std::string& root, const std::string& packName);

struct PackScan {
    std::vector<std::string> packNames; // intact packs, in listing order
    bool quit = false;                  // no usable pack: the game ends after start-up
    std::string quitReason;             // why, when quit is set (one line, no line end)
};

// Lists "*.rota" in "<root>/Data/Maps" (sorted ignoring case, so the first
// pack does not depend on the file system's order) and keeps the packs whose
// integrity file holds the list's digest, logging "Found: ..." and the
// reason for every rejection. Without any file, or when every pack was
// rejected, logs "No Packs Found!" and asks to quit. A "standard" pack whose
// list differs from the built-in digest stops the scan silently and asks to
// quit. A refused list (see the caps above) leaves its pack out; a refused
// integrity file counts as damaged.
PackScan ScanMapPacks(const std::string& root, Log& log);

// The map names of a pack's list: one per line without its line end (CR and
// LF stripped), an empty line giving an empty name. Empty when the list
// cannot be opened or is refused (logged).
std::vector<std::string> ReadPackList(const std::string& root, const std::string& packName,
                                      Log& log = Log::Instance());

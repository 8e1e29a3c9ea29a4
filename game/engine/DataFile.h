#pragma once

#include <cstdint>
#include <string>

class Log;

// The one rule every reader of the game's data applies before it allocates,
// reads or hashes anything: the path must name a regular file (a directory, a
// pipe or a device is refused, and never opened, so a pipe cannot block the
// game) no larger than the reader's cap. Each reader states its cap beside
// its format, far above any valid file of that kind, so a damaged or sparse
// file of terabytes is turned away by its size alone.
enum class DataFileState {
    Missing,  // nothing at the path, or it cannot be reached: the reader's own "not found" path
    Readable, // a regular file within the cap
    Refused,  // something else: reason says what
};

struct DataFileVerdict {
    DataFileState state = DataFileState::Missing;
    std::int64_t size = 0; // bytes, when readable
    std::string reason;    // one line without a line end, when refused
};

// Looks at the path only (no open, no read).
DataFileVerdict InspectDataFile(const std::string& path, std::int64_t sizeCap);

// The log line of a refusal: "Refused <path>: <reason>\n".
std::string DataFileRefusal(const std::string& path, const DataFileVerdict& verdict);

// The same, and a refusal is logged as one line: "Refused <path>: <reason>".
// A missing file is not logged: each reader has its own words for that.
DataFileState CheckDataFile(const std::string& path, std::int64_t sizeCap, Log& log);

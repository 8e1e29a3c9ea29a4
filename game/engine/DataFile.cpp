#include "DataFile.h"

#include "Log.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

DataFileVerdict InspectDataFile(const std::string& path, std::int64_t sizeCap)
{
    DataFileVerdict verdict;
    if (path.empty())
        return verdict;
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    // Not there, or not reachable (a name too long, a folder that may not be
    // searched): an open would fail the same way, so the reader's own
    // "cannot open" path applies.
    if (error || status.type() == fs::file_type::not_found)
        return verdict;
    verdict.state = DataFileState::Refused;
    if (status.type() != fs::file_type::regular) {
        verdict.reason = status.type() == fs::file_type::directory ? "is a directory, not a file"
                                                                   : "is not a regular file";
        return verdict;
    }
    const std::uintmax_t size = fs::file_size(path, error);
    if (error) {
        verdict.reason = "has no readable size (" + error.message() + ")";
        return verdict;
    }
    if (sizeCap < 0 || size > static_cast<std::uintmax_t>(sizeCap)) {
        verdict.reason = LogFormat("holds %llu bytes, more than the %lld a file of its kind can need",
                                   static_cast<unsigned long long>(size), static_cast<long long>(sizeCap));
        return verdict;
    }
    verdict.state = DataFileState::Readable;
    verdict.size = static_cast<std::int64_t>(size);
    return verdict;
}

std::string DataFileRefusal(const std::string& path, const DataFileVerdict& verdict)
{
    return "Refused " + path + ": " + verdict.reason + "\n";
}

DataFileState CheckDataFile(const std::string& path, std::int64_t sizeCap, Log& log)
{
    const DataFileVerdict verdict = InspectDataFile(path, sizeCap);
    if (verdict.state == DataFileState::Refused)
        log.Write(DataFileRefusal(path, verdict));
    return verdict.state;
}

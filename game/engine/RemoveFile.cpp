#include "RemoveFile.h"

#include <filesystem>
#include <system_error>

bool RemoveFile(const std::string& path)
{
    namespace fs = std::filesystem;
    if (path.empty())
        return false;
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(path, ec);
    if (status.type() == fs::file_type::not_found)
        return true;
    if (ec || status.type() == fs::file_type::directory)
        return false;
    fs::remove(path, ec);
    return !ec;
}

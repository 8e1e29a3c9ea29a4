#pragma once

#include <string>

// Deletes a regular file (or link). A missing file is fine: the result is
// true whenever no file is left at the path afterwards. Directories are not
// removed (false).
bool RemoveFile(const std::string& path);

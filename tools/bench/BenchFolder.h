#pragma once
// A scratch folder of one benchmark run's own under the temporary folder:
// two runs on one machine (two checkouts' test commands) must not write,
// or remove, each other's files.
#include <cstdlib>
#include <filesystem>
#include <string>

inline std::filesystem::path MakeBenchFolder(const std::string& prefix)
{
    std::string name = (std::filesystem::temp_directory_path() / (prefix + ".XXXXXX")).string();
    if (mkdtemp(name.data()) == nullptr)
        return {};
    return name;
}

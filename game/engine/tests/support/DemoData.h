#pragma once

#include "ResourceTables.h"

#include <filesystem>
#include <string>

// The generated demo data set the build writes (its folder comes from the
// build as ZELV_DEMO_DATA_DIR).
inline std::string DemoDataRoot()
{
    return ZELV_DEMO_DATA_DIR;
}

// The first file the resource store needs that the demo data set lacks, ""
// when it has them all.
inline std::string FirstMissingResourceFile(const std::string& root)
{
    namespace fs = std::filesystem;
    const fs::path base(root);
    for (const TextureEntry& t : TextureTable()) {
        const fs::path p = base / "Data" / "Gfx" / (std::string(t.name) + ".png");
        if (!fs::is_regular_file(p))
            return p.string();
    }
    for (const ModelEntry& m : ModelTable()) {
        const fs::path p = base / "Data" / "Objects" / (std::string(m.name) + ".obj");
        if (!fs::is_regular_file(p))
            return p.string();
    }
    for (const char* s : SampleFiles()) {
        const fs::path p = base / "Data" / "Sound" / s;
        if (!fs::is_regular_file(p))
            return p.string();
    }
    return "";
}

// Copies the folders the resource store reads into target/Data, so a test
// can delete one file without touching the shared data set.
inline void CopyResourceFolders(const std::string& root, const std::filesystem::path& target)
{
    namespace fs = std::filesystem;
    for (const char* folder : {"Gfx", "Objects", "Sound"}) {
        fs::create_directories(target / "Data" / folder);
        fs::copy(fs::path(root) / "Data" / folder, target / "Data" / folder, fs::copy_options::recursive);
    }
}

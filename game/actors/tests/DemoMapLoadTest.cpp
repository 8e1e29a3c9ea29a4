// Every map of the demo data loads, starts and plays a few seconds without
// a warning that the map itself causes (a platform without its target, an
// actor that finds no ground, a beam outside the grid): such a line in the
// log on every start of the title or of a level would hide real faults.
#include "DemoGame.h"
#include "Log.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// The log lines a map's own records can cause.
const char* const kDataWarnings[] = {
    "Rotator: No target found.",
    "Mover: No target found.",
    "Mover without targets!",
    "Mover travel time is not positive!",
    "Scientist without a surface!",
    "Failed to Create entity!",
    "Failed to find sector for beam!",
    "Failed to load map",
};

std::vector<std::string> DemoMaps()
{
    std::vector<std::string> names;
    for (const fs::directory_entry& e : fs::directory_iterator(fs::path(ZELV_DEMO_DATA_DIR) / "Data/Maps"))
        if (e.path().extension() == ".map")
            names.push_back(e.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> PackMaps()
{
    std::vector<std::string> names;
    std::ifstream list(fs::path(ZELV_DEMO_DATA_DIR) / "Data/Maps/Default.rota");
    for (std::string line; std::getline(list, line);)
        if (!line.empty())
            names.push_back(line);
    return names;
}

TEST(DemoMapLoad, NoMapWarnsOfItsOwnData)
{
    const std::vector<std::string> maps = DemoMaps();
    // The title's map and every map of the pack are among them.
    std::vector<std::string> expected = PackMaps();
    ASSERT_FALSE(expected.empty());
    expected.push_back("Splash");
    for (const std::string& name : expected)
        ASSERT_NE(std::find(maps.begin(), maps.end(), name), maps.end()) << name;

    for (const std::string& name : maps) {
        SCOPED_TRACE(name);
        Log::Instance().SetEnabled(true);
        testing::internal::CaptureStdout();
        {
            DemoLevel level(name);
            for (int tick = 0; tick < 150; ++tick)
                level.game.entities.Pass();
        }
        const std::string log = testing::internal::GetCapturedStdout();
        ASSERT_NE(log.find("Loaded map " + name + ".map"), std::string::npos) << "the log was not captured";
        for (const char* warning : kDataWarnings)
            EXPECT_EQ(log.find(warning), std::string::npos) << warning;
    }
}

} // namespace

// The generator itself: two runs give the same bytes, and a broken model
// source stops it with the file and line.
#include "support/DataTempDir.h"
#include "support/RunGenerator.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <string>

namespace {

namespace fs = std::filesystem;

std::map<std::string, std::string> ReadTree(const fs::path& root)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file()) continue;
        std::ifstream in(entry.path(), std::ios::binary);
        files[fs::relative(entry.path(), root).generic_string()] =
            std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return files;
}

TEST(DemoDataGeneratorTest, TwoRunsWriteIdenticalBytes)
{
    DataTempDir first, second;
    std::string output;
    ASSERT_EQ(RunGenerator(ZELV_DATA_SOURCE_DIR, first.Path(), output), 0) << output;
    ASSERT_EQ(RunGenerator(ZELV_DATA_SOURCE_DIR, second.Path(), output), 0) << output;
    const auto a = ReadTree(first.Path());
    const auto b = ReadTree(second.Path());
    ASSERT_GT(a.size(), 60u);  // 52 models, 6 textures, 3 fonts, 2 pictures and the rest
    ASSERT_EQ(a.size(), b.size());
    for (const auto& [name, bytes] : a) {
        const auto other = b.find(name);
        ASSERT_NE(other, b.end()) << name;
        EXPECT_TRUE(bytes == other->second) << name << " differs between runs";
    }
}

TEST(DemoDataGeneratorTest, BrokenModelSourceStopsWithFileAndLine)
{
    const struct {
        const char* text;
        const char* message;
    } cases[] = {
        {"colour 1 1 1\nwobble 1 2\n", "Tree03.model:2: unknown keyword wobble"},
        {"line 0 0  0 0\n", "Tree03.model:1: a segment with both ends at the same point"},
        {"# nothing drawn\ncircle 0 0 5\n", "a model needs at least one segment"},
        {"line 0 0 1\n", "Tree03.model:1: line takes at least two x y points"},
        {"circle 0 0 -1\nline 0 0 1 1\n", "Tree03.model:1: circle takes x y radius"},
        {"include nowhere.part\n", "Tree03.model:1: cannot read nowhere.part"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        DataTempDir source, out;
        fs::copy(fs::path(ZELV_DATA_SOURCE_DIR) / "models", source.Path() / "models");
        std::ofstream(source.Path() / "models" / "Tree03.model", std::ios::trunc) << c.text;
        std::string output;
        EXPECT_NE(RunGenerator(source.Path(), out.Path(), output), 0);
        EXPECT_NE(output.find(c.message), std::string::npos) << output;
    }
}

TEST(DemoDataGeneratorTest, MissingModelSourceIsNamed)
{
    DataTempDir source, out;
    fs::copy(fs::path(ZELV_DATA_SOURCE_DIR) / "models", source.Path() / "models");
    fs::remove(source.Path() / "models" / "Station2.model");
    std::string output;
    EXPECT_NE(RunGenerator(source.Path(), out.Path(), output), 0);
    EXPECT_NE(output.find("missing model source Station2.model"), std::string::npos) << output;
}

}  // namespace

// The generator itself: two runs give the same bytes, and a broken model
// source stops it with the file and line.
#include "support/DataTempDir.h"
#include "support/RunGenerator.h"

#include "Log.h"
#include "ModelFile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <vector>
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
        {"scale 1e30\nline 0 0  1e20 0\n", "Tree03.model:2: a point out of range after placing"},
        {"arc 0 0 5 0 90 1000\n", "Tree03.model:1: arc takes cx cy radius from to segments"},
        {"line 0 0 nan 1\n", "Tree03.model:1: numbers expected after line"},
        // Finite ends whose distance overflows a float: no unit direction.
        {"line -3e38 0  3e38 0\n", "Tree03.model:1: a segment too long to give a direction"},
        {"line 0 0  1e20 0\n", "Tree03.model:1: a segment too long to give a direction"},
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

TEST(DemoDataGeneratorTest, ModelStatementsCompileToTheDocumentedBeamsAndCircles)
{
    DataTempDir source, out;
    fs::copy(ZELV_DATA_SOURCE_DIR, source.Path(), fs::copy_options::recursive);
    std::ofstream(source.Path() / "models" / "Extra.model") << "colour 1 0 0  0 0 1   # red to blue\n"
                                                               "line 0 0  10 0  10 10\n"
                                                               "mirror on\n"
                                                               "line 2 -1  4 -1\n"
                                                               "mirror off\n"
                                                               "offset 100 50\n"
                                                               "scale 2\n"
                                                               "rotate 90\n"
                                                               "line 0 0  5 0\n"
                                                               "circle 1 0 3\n";
    std::string output;
    ASSERT_EQ(RunGenerator(source.Path(), out.Path(), output), 0) << output;

    std::vector<Beam> beams;
    std::vector<HullCircle> circles;
    std::ostringstream console;
    Log log((out.Path() / "unused-log.txt").string(), console);
    ASSERT_TRUE(LoadObjectModelFile(beams, circles, (out.Path() / "Data" / "Objects" / "Extra.obj").string(), "Extra", log));
    const struct {
        Vec2 a, b, direction;
    } expected[] = {
        {{0, 0}, {10, 0}, {1, 0}},    {{10, 0}, {10, 10}, {0, 1}},   {{2, -1}, {4, -1}, {1, 0}},
        {{-2, -1}, {-4, -1}, {-1, 0}}, {{100, 50}, {100, 60}, {0, 1}},
    };
    ASSERT_EQ(beams.size(), std::size(expected));
    for (std::size_t i = 0; i < beams.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(beams[i].a.x, expected[i].a.x, 1e-4f);
        EXPECT_NEAR(beams[i].a.y, expected[i].a.y, 1e-4f);
        EXPECT_NEAR(beams[i].b.x, expected[i].b.x, 1e-4f);
        EXPECT_NEAR(beams[i].b.y, expected[i].b.y, 1e-4f);
        EXPECT_NEAR(beams[i].direction.x, expected[i].direction.x, 1e-6f);
        EXPECT_NEAR(beams[i].direction.y, expected[i].direction.y, 1e-6f);
        EXPECT_NEAR(beams[i].normal.x, expected[i].direction.y, 1e-6f);
        EXPECT_NEAR(beams[i].normal.y, -expected[i].direction.x, 1e-6f);
        EXPECT_EQ(beams[i].colourA.r, 1.0f);
        EXPECT_EQ(beams[i].colourB.b, 1.0f);
        EXPECT_EQ(beams[i].colourB.r, 0.0f);
    }
    ASSERT_EQ(circles.size(), 1u);
    EXPECT_NEAR(circles[0].offsetX, 100.0f, 1e-4f);
    EXPECT_NEAR(circles[0].offsetY, 52.0f, 1e-4f);
    EXPECT_FLOAT_EQ(circles[0].radius, 6.0f);
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

#include "ModelFile.h"
#include "ModelTransform.h"

#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <filesystem>
#include <sstream>

namespace {

Beam MakeBeam(Vec2 a, Vec2 b, Vec2 direction, Vec2 normal)
{
    Beam beam;
    beam.a = a;
    beam.b = b;
    beam.colourA = Rgb{0.1f, 0.2f, 0.3f};
    beam.colourB = Rgb{0.4f, 0.5f, 0.6f};
    beam.direction = direction;
    beam.normal = normal;
    return beam;
}

HullCircle MakeCircle(float offsetX, float offsetY, float radius)
{
    HullCircle circle;
    circle.offsetX = offsetX;
    circle.offsetY = offsetY;
    circle.radius = radius;
    return circle;
}

void PutInt(std::vector<std::uint8_t>& bytes, std::size_t at, std::int32_t value)
{
    std::memcpy(&bytes[at], &value, 4);
}

float FloatAt(const std::vector<std::uint8_t>& bytes, std::size_t at)
{
    float value = 0;
    std::memcpy(&value, &bytes[at], 4);
    return value;
}

class ModelFileTest : public ::testing::Test {
protected:
    ModelFileTest() { log.SetEnabled(true); }

    bool Load(const std::vector<std::uint8_t>& bytes)
    {
        WriteWholeFile(path, std::string(bytes.begin(), bytes.end()));
        console.str("");
        return LoadObjectModelFile(beams, circles, path, "Ship", log);
    }

    ScratchDir dir;
    std::string path = dir.File("Ship.obj");
    std::ostringstream console;
    Log log{dir.File("Logfile.txt"), console};
    std::vector<Beam> beams;
    std::vector<HullCircle> circles;
};

TEST_F(ModelFileTest, PointsBecomeRelativeToTheStoredOrigin)
{
    const Beam beam = MakeBeam({10, 20}, {30, 20}, {1, 0}, {0, -1});
    ASSERT_TRUE(WriteObjectModel(path, {10, 20}, {beam}, {MakeCircle(10, 20, 5)}));
    ASSERT_TRUE(LoadObjectModelFile(beams, circles, path, "Ship", log));
    EXPECT_EQ(console.str(), ">>Logging Enabled<<\nLoaded Ship.obj\n");

    ASSERT_EQ(beams.size(), 1u);
    EXPECT_EQ(beams[0].a, (Vec2{0, 0}));
    EXPECT_EQ(beams[0].b, (Vec2{20, 0}));
    EXPECT_EQ(beams[0].stamp, 0u);
    EXPECT_EQ(beams[0].id, 0u);
    ASSERT_EQ(circles.size(), 1u);
    EXPECT_EQ(circles[0].offsetX, 0.0f);
    EXPECT_EQ(circles[0].offsetY, 0.0f);
    EXPECT_EQ(circles[0].radius, 5.0f);
    EXPECT_EQ(circles[0].x, -10.0f);
    EXPECT_EQ(circles[0].y, -20.0f);

    ScaleModel(beams, circles, 2.0f);
    EXPECT_EQ(beams[0].a, (Vec2{0, 0}));
    EXPECT_EQ(beams[0].b, (Vec2{40, 0}));
    EXPECT_EQ(beams[0].direction, (Vec2{1, 0}));
    EXPECT_EQ(beams[0].normal, (Vec2{0, -1}));
    EXPECT_EQ(circles[0].radius, 10.0f);
    EXPECT_EQ(circles[0].x, -20.0f);
}

TEST_F(ModelFileTest, FileStoresDirectionBeforeNormal)
{
    const Beam beam = MakeBeam({1, 2}, {3, 4}, {0.6f, 0.8f}, {0.8f, -0.6f});
    const std::vector<std::uint8_t> bytes = EncodeObjectModel({0, 0}, {beam}, {MakeCircle(7, 8, 9)});
    ASSERT_EQ(bytes.size(), 12u + 56u + 4u + 12u);
    // Record at offset 12: A, B, colour A, colour B, direction, normal.
    const float expected[] = {1, 2, 3, 4, 0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f, 0.6f, 0.8f, 0.8f, -0.6f};
    for (int i = 0; i < 14; ++i)
        EXPECT_EQ(FloatAt(bytes, 12 + 4 * i), expected[i]) << "float " << i;
    // Circle: offset, then radius.
    EXPECT_EQ(FloatAt(bytes, 72), 7.0f);
    EXPECT_EQ(FloatAt(bytes, 76), 8.0f);
    EXPECT_EQ(FloatAt(bytes, 80), 9.0f);

    ASSERT_TRUE(Load(bytes));
    ASSERT_EQ(beams.size(), 1u);
    EXPECT_EQ(beams[0].direction, (Vec2{0.6f, 0.8f}));
    EXPECT_EQ(beams[0].normal, (Vec2{0.8f, -0.6f}));
    EXPECT_EQ(beams[0].colourB.b, 0.6f);
}

TEST_F(ModelFileTest, EmptyModelLoads)
{
    beams.push_back(Beam{});
    circles.push_back(HullCircle{});
    ASSERT_TRUE(Load(EncodeObjectModel({5, 5}, {}, {})));
    EXPECT_TRUE(beams.empty());
    EXPECT_TRUE(circles.empty());
    EXPECT_EQ(console.str(), "Loaded Ship.obj\n");
}

TEST_F(ModelFileTest, MissingFileLeavesTheListsAlone)
{
    beams.push_back(MakeBeam({1, 1}, {2, 2}, {1, 0}, {0, 1}));
    EXPECT_FALSE(LoadObjectModelFile(beams, circles, dir.File("Nope.obj"), "Nope", log));
    EXPECT_EQ(beams.size(), 1u);
    EXPECT_NE(console.str().find("Failed to load Nope.obj!\n"), std::string::npos);

    // The game's own path form; a null name is a failed load, not a crash.
    EXPECT_FALSE(LoadObjectModel(beams, circles, "NoSuchModelAnywhere", log));
    EXPECT_FALSE(LoadObjectModel(beams, circles, nullptr, log));
    EXPECT_EQ(beams.size(), 1u);
}

// A directory, or a file bigger than any model can be (a sparse file of a
// terabyte whose zeros would otherwise read as an empty model), is refused
// unread: one line says why, then the usual failure line; the lists stay.
TEST_F(ModelFileTest, NonFilesAndOversizedFilesAreRefusedUnread)
{
    const struct {
        const char* what;
        std::uintmax_t size; // 0: a directory
    } cases[] = {{"directory", 0}, {"one byte over the cap", kModelFileSizeCap + 1}, {"terabyte", 1ull << 40}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchDir place;
        const std::string at = place.File("Ship.obj");
        if (c.size == 0) {
            std::filesystem::create_directory(at);
        } else {
            WriteWholeFile(at, "");
            std::filesystem::resize_file(at, c.size);
        }
        beams.assign(1, MakeBeam({1, 1}, {2, 2}, {1, 0}, {0, 1}));
        console.str("");
        EXPECT_FALSE(LoadObjectModelFile(beams, circles, at, "Ship", log));
        EXPECT_EQ(console.str().rfind("Refused " + at + ": ", 0), 0u) << console.str();
        EXPECT_NE(console.str().find("\nFailed to load Ship.obj!\n"), std::string::npos) << console.str();
        EXPECT_EQ(beams.size(), 1u);
    }

    // At the cap the file is read: zeros make an empty model.
    WriteWholeFile(path, "");
    std::filesystem::resize_file(path, kModelFileSizeCap);
    console.str("");
    EXPECT_TRUE(LoadObjectModelFile(beams, circles, path, "Ship", log)) << console.str();
}

TEST_F(ModelFileTest, DamagedCountsFailTheLoad)
{
    const std::vector<Beam> twoBeams = {MakeBeam({1, 1}, {2, 2}, {1, 0}, {0, 1}),
                                        MakeBeam({3, 3}, {4, 4}, {1, 0}, {0, 1})};
    const std::vector<HullCircle> oneCircle = {MakeCircle(1, 1, 1)};
    const std::vector<std::uint8_t> good = EncodeObjectModel({0, 0}, twoBeams, oneCircle);
    const std::size_t circleCountAt = 12 + 2 * 56;

    const struct {
        std::size_t at;
        std::int32_t count;
        std::size_t beamsKept;
    } cases[] = {
        {8, INT_MAX, 0}, {8, -1, 0}, {8, INT_MIN, 0}, {8, 4, 0}, // 2 records + 20 bytes fit 3 at most
        {circleCountAt, INT_MAX, 2}, {circleCountAt, -1, 2}, {circleCountAt, 2, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "count " << c.count << " at " << c.at);
        std::vector<std::uint8_t> bytes = good;
        PutInt(bytes, c.at, c.count);
        EXPECT_FALSE(Load(bytes));
        EXPECT_EQ(console.str(), "Failed to load Ship.obj!\n");
        EXPECT_EQ(beams.size(), c.beamsKept); // records read before the damage stay
        EXPECT_TRUE(circles.empty());
    }

    // One beam more than whole records, when the bytes left can start it,
    // is the final partial record and loads.
    std::vector<std::uint8_t> bytes = good;
    PutInt(bytes, 8, 3);
    EXPECT_TRUE(Load(bytes));
    EXPECT_EQ(beams.size(), 3u);
}

TEST_F(ModelFileTest, FinalPartialRecordReadsZerosForMissingFields)
{
    const Beam beam = MakeBeam({1, 2}, {3, 4}, {1, 0}, {0, 1});
    std::vector<std::uint8_t> bytes = EncodeObjectModel({0, 0}, {beam, beam}, {});
    // Keep the second record's A, B and the red of colour A plus two bytes.
    bytes.resize(12 + 56 + 22);
    ASSERT_TRUE(Load(bytes));
    ASSERT_EQ(beams.size(), 2u);
    EXPECT_EQ(beams[1].a, (Vec2{1, 2}));
    EXPECT_EQ(beams[1].b, (Vec2{3, 4}));
    EXPECT_EQ(beams[1].colourA.r, 0.1f);
    EXPECT_EQ(beams[1].colourB.r, 0.0f);
    EXPECT_EQ(beams[1].direction, (Vec2{0, 0}));
    EXPECT_EQ(beams[1].normal, (Vec2{0, 0}));
    EXPECT_TRUE(circles.empty());

    // Cut inside the circle count: the file ends there and nothing follows.
    bytes = EncodeObjectModel({0, 0}, {beam}, {});
    bytes.resize(12 + 56);
    ASSERT_TRUE(Load(bytes));
    EXPECT_EQ(beams.size(), 1u);
    EXPECT_TRUE(circles.empty());

    // Shorter than the header: an empty model.
    ASSERT_TRUE(Load({0, 0, 0x20, 0x41}));
    EXPECT_TRUE(beams.empty());
}

TEST_F(ModelFileTest, WriterRefusesAnUnwritablePath)
{
    EXPECT_FALSE(WriteObjectModel(dir.File("missing-dir/x.obj"), {0, 0}, {}, {}));
}

} // namespace

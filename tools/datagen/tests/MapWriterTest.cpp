// The map writer against the independent reader: every record kind keeps its
// fields and its size, names are cut to their field, files refuse long names.
#include "MapFileReader.h"
#include "MapWriter.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <random>

namespace fs = std::filesystem;
using namespace maptest;

namespace {

Beam MakeBeam(Vec2 a, Vec2 b)
{
    Beam beam;
    beam.a = a;
    beam.b = b;
    beam.colourA = {0.1f, 0.2f, 0.3f};
    beam.colourB = {0.4f, 0.5f, 0.6f};
    beam.direction = {1.0f, 0.0f};
    beam.normal = {0.0f, -1.0f};
    return beam;
}

MapContents EveryRecordKind()
{
    MapContents map;
    map.beams = {MakeBeam({0, 100}, {50, 100}), MakeBeam({50, 100}, {90, 100})};
    MapActor turret;
    turret.type = 0;
    turret.position = {10, 20};
    turret.angle = 45;
    turret.name = "IGNORED";  // a turret's record has no name
    MapActor button;
    button.type = 6;
    button.position = {1, 2};
    button.name = "Door";
    MapActor laser;
    laser.type = 7;
    laser.position = {3, 4};
    laser.angle = 180;
    laser.name = "Beam";
    laser.onTime = 1.5f;
    laser.offTime = 2.5f;
    laser.startDelay = 0.25f;
    laser.startsOn = true;
    MapActor jet;
    jet.type = 15;
    jet.name = "Jet";
    jet.onTime = 3;
    jet.offTime = 4;
    jet.startDelay = 99;  // emitters store no delay
    MapActor brick;
    brick.type = 16;
    brick.halfWidth = 32;
    brick.halfHeight = 48;
    map.actors = {turret, button, laser, jet, brick};
    map.targets = {{{100, 200}, "Point"}};
    MapRotator spin;
    spin.position = {5, 6};
    spin.radius = 70;
    spin.name = "Spin";
    spin.targetName = "Point";
    spin.stepAngle = -90;
    spin.speed = 2;
    spin.pauseTime = 0.5f;
    spin.pingPong = true;
    spin.loops = false;
    map.rotators = {spin};
    MapMover lift;
    lift.position = {7, 8};
    lift.halfWidth = 60;
    lift.halfHeight = 20;
    lift.name = "Lift";
    lift.targetNameA = "Low";
    lift.targetNameB = "High";
    lift.activateName = "Spin";
    lift.travelTime = 4;
    lift.waitTime = 2;
    lift.startDelay = 1;
    lift.loops = false;
    map.movers = {lift};
    MapTrigger zone;
    zone.position = {9, 10};
    zone.halfWidth = 11;
    zone.halfHeight = 12;
    zone.activateName = "Lift";
    zone.once = true;
    map.triggers = {zone};
    return map;
}

class TempDir {
public:
    TempDir()
    {
        std::mt19937_64 rng(static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count()));
        path = fs::temp_directory_path() / ("zelv-mapwriter-" + std::to_string(rng()));
        fs::create_directories(path);
    }
    ~TempDir()
    {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
    fs::path path;
};

}  // namespace

TEST(MapWriter, EveryRecordKindReadsBackWithItsFieldsAndSize)
{
    const std::vector<std::uint8_t> bytes = EncodeMap(EveryRecordKind());
    EXPECT_EQ(bytes.size(), 6u * 4 + 2 * 56 + (16 + 32 + 45 + 41 + 24) + 24 + 74 + 93 + 33);
    MapFile map;
    Reader reader(bytes);
    ASSERT_TRUE(reader.Read(map)) << reader.error;

    ASSERT_EQ(map.beams.size(), 2u);
    EXPECT_EQ(map.beams[1].a.x, 50);
    EXPECT_EQ(map.beams[1].b.x, 90);
    EXPECT_FLOAT_EQ(map.beams[0].colours[0], 0.1f);
    EXPECT_FLOAT_EQ(map.beams[0].colours[5], 0.6f);
    EXPECT_EQ(map.beams[0].direction.x, 1);  // direction before normal, as in model files
    EXPECT_EQ(map.beams[0].normal.y, -1);

    ASSERT_EQ(map.actors.size(), 5u);
    const int sizes[] = {16, 32, 45, 41, 24};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(map.actors[i].recordBytes, sizes[i]) << "actor " << i;
    EXPECT_EQ(map.actors[0].angle, 45);
    EXPECT_EQ(map.actors[0].position.y, 20);
    EXPECT_EQ(map.actors[1].name, "Door");
    EXPECT_EQ(map.actors[2].name, "Beam");
    EXPECT_EQ(map.actors[2].onTime, 1.5f);
    EXPECT_EQ(map.actors[2].offTime, 2.5f);
    EXPECT_EQ(map.actors[2].startDelay, 0.25f);
    EXPECT_EQ(map.actors[2].startsOn, 1);
    EXPECT_EQ(map.actors[3].offTime, 4);
    EXPECT_EQ(map.actors[3].startsOn, 0);
    EXPECT_EQ(map.actors[4].halfWidth, 32);
    EXPECT_EQ(map.actors[4].halfHeight, 48);

    ASSERT_EQ(map.targets.size(), 1u);
    EXPECT_EQ(map.targets[0].name, "Point");
    EXPECT_EQ(map.targets[0].position.y, 200);

    ASSERT_EQ(map.rotators.size(), 1u);
    const RotatorRec& r = map.rotators[0];
    EXPECT_EQ(r.radius, 70);
    EXPECT_EQ(r.name, "Spin");
    EXPECT_EQ(r.targetName, "Point");
    EXPECT_EQ(r.activateName, "EMPTY");
    EXPECT_EQ(r.stepAngle, -90);
    EXPECT_EQ(r.speed, 2);
    EXPECT_EQ(r.pauseTime, 0.5f);
    EXPECT_EQ(r.pingPong, 1);
    EXPECT_EQ(r.loops, 0);

    ASSERT_EQ(map.movers.size(), 1u);
    const MoverRec& m = map.movers[0];
    EXPECT_EQ(m.halfWidth, 60);
    EXPECT_EQ(m.halfHeight, 20);
    EXPECT_EQ(m.targetA, "Low");
    EXPECT_EQ(m.targetB, "High");
    EXPECT_EQ(m.activateName, "Spin");
    EXPECT_EQ(m.travel, 4);
    EXPECT_EQ(m.wait, 2);
    EXPECT_EQ(m.delay, 1);
    EXPECT_EQ(m.loops, 0);

    ASSERT_EQ(map.triggers.size(), 1u);
    EXPECT_EQ(map.triggers[0].activateName, "Lift");
    EXPECT_EQ(map.triggers[0].halfHeight, 12);
    EXPECT_EQ(map.triggers[0].once, 1);
}

TEST(MapWriter, RecordDefaultsAreTheGamesOwn)
{
    MapContents map;
    map.rotators.push_back({});
    map.movers.push_back({});
    map.triggers.push_back({});
    MapFile read;
    Reader reader(EncodeMap(map));
    ASSERT_TRUE(reader.Read(read)) << reader.error;
    EXPECT_EQ(read.rotators[0].name, "EMPTY");
    EXPECT_EQ(read.rotators[0].speed, 1.0f);
    EXPECT_EQ(read.rotators[0].loops, 1);
    EXPECT_EQ(read.movers[0].targetB, "EMPTY");
    EXPECT_EQ(read.movers[0].travel, 3.0f);
    EXPECT_EQ(read.movers[0].wait, 1.0f);
    EXPECT_EQ(read.movers[0].loops, 1);
    EXPECT_EQ(read.triggers[0].activateName, "EMPTY");
    EXPECT_EQ(read.triggers[0].once, 0);
}

TEST(MapWriter, FieldsAreLittleEndianAndNamesFillSixteenBytes)
{
    MapWriter w;
    w.Int32(0x01020304);
    w.Int32(-1);
    w.Float(1.0f);
    w.Name("");
    w.Name("FIFTEEN_CHARS15");
    w.Name("SEVENTEEN_CHARS17");
    const std::vector<std::uint8_t>& b = w.Bytes();
    ASSERT_EQ(b.size(), 12u + 3 * 16);
    EXPECT_EQ(std::vector<std::uint8_t>(b.begin(), b.begin() + 12),
              (std::vector<std::uint8_t>{4, 3, 2, 1, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0x80, 0x3F}));
    EXPECT_EQ(std::vector<std::uint8_t>(b.begin() + 12, b.begin() + 28), std::vector<std::uint8_t>(16, 0));
    EXPECT_EQ(std::string(b.begin() + 28, b.begin() + 43), "FIFTEEN_CHARS15");
    EXPECT_EQ(b[43], 0);
    EXPECT_EQ(std::string(b.begin() + 44, b.begin() + 59), "SEVENTEEN_CHARS");  // cut to 15
    EXPECT_EQ(b[59], 0);
}

TEST(MapWriter, ActorRecordSizesFollowTheType)
{
    const struct {
        std::int32_t type;
        int bytes;
    } cases[] = {{0, 16}, {5, 16}, {6, 32}, {7, 45}, {8, 16}, {15, 41}, {16, 24}, {21, 16}, {25, 16}, {-1, 16}};
    for (const auto& c : cases) {
        EXPECT_EQ(MapActorRecordBytes(c.type), c.bytes) << c.type;
        MapWriter w;
        MapActor a;
        a.type = c.type;
        w.Actor(a);
        EXPECT_EQ(static_cast<int>(w.Bytes().size()), c.bytes) << c.type;
    }
}

TEST(MapWriter, FilesRefuseNamesLongerThanTheirField)
{
    TempDir dir;
    MapContents map = EveryRecordKind();
    const std::string good = (dir.path / "good.map").string();
    ASSERT_TRUE(WriteMapFile(good, map));
    EXPECT_EQ(ReadBytes(good), EncodeMap(map));
    EXPECT_TRUE(OversizedMapNames(map).empty());

    map.movers[0].targetNameB = "A_NAME_OF_SIXTEEN";
    map.actors[2].name = "0123456789ABCDEF";
    const std::vector<std::string> bad = OversizedMapNames(map);
    ASSERT_EQ(bad.size(), 2u);
    EXPECT_EQ(bad[0], "actor 2: 0123456789ABCDEF");
    EXPECT_EQ(bad[1], "mover 0: A_NAME_OF_SIXTEEN");
    const fs::path refused = dir.path / "refused.map";
    EXPECT_FALSE(WriteMapFile(refused.string(), map));
    EXPECT_FALSE(fs::exists(refused));
}

TEST(MapWriter, UnwritablePathFails)
{
    TempDir dir;
    EXPECT_FALSE(WriteMapBytes((dir.path / "no" / "such" / "folder.map").string(), {1, 2, 3}));
    EXPECT_FALSE(WriteMapFile((dir.path / "missing" / "x.map").string(), EveryRecordKind()));
}

#include "support/MapRecords.h"
#include "MapFile.h"
#include "MapWriter.h"
#include "support/MapTestDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

Beam MakeBeam(float ax, float ay, float bx, float by)
{
    Beam beam;
    beam.a = {ax, ay};
    beam.b = {bx, by};
    beam.colourA = {0.1f, 0.2f, 0.3f};
    beam.colourB = {0.4f, 0.5f, 0.6f};
    beam.direction = {0.6f, 0.8f};
    beam.normal = {0.8f, -0.6f};
    return beam;
}

// One record of every kind, with the variable-length actors interleaved so
// that a wrong record length misaligns everything after it.
MapContents EveryKind()
{
    MapContents map;
    map.beams = {MakeBeam(0, 0, 100, 0), MakeBeam(100, 0, 100, 50)};

    MapActor sw = Actor(6, 10, 20, 30);
    sw.name = "Door";
    MapActor laser = Actor(7, 11, 21, 31);
    laser.name = "Beam1";
    laser.onTime = 1.5f;
    laser.offTime = 2.5f;
    laser.startDelay = 0.25f;
    laser.startsOn = true;
    MapActor emitter = Actor(15, 12, 22, 32);
    emitter.name = "Sparks";
    emitter.onTime = 3.5f;
    emitter.offTime = 4.5f;
    emitter.startsOn = true;
    MapActor brick = Actor(16, 13, 23, 33);
    brick.halfWidth = 40;
    brick.halfHeight = 24;
    map.actors = {Actor(0, 1, 2, 3), sw, laser, Actor(3, 4, 5, 6), emitter, brick, Actor(21, 7, 8, 9),
                  Actor(20, -5, -6, -7)};

    map.targets = {{{300, 400}, "TargetA"}, {{301, 401}, "door"}};

    MapRotator rotator;
    rotator.position = {500, 600};
    rotator.radius = 120;
    rotator.name = "Spinner";
    rotator.targetName = "TargetA";
    rotator.activateName = "Laser1";
    rotator.stepAngle = -90;
    rotator.speed = 2.5f;
    rotator.pauseTime = 0.5f;
    rotator.pingPong = true;
    rotator.loops = false;
    map.rotators = {rotator, MapRotator{}};

    MapMover mover;
    mover.position = {700, 800};
    mover.halfWidth = 50;
    mover.halfHeight = 20;
    mover.name = "Lift";
    mover.targetNameA = "Bottom";
    mover.targetNameB = "Top";
    mover.activateName = "Spinner";
    mover.travelTime = 4;
    mover.waitTime = 2;
    mover.startDelay = 1;
    mover.loops = false;
    map.movers = {mover};

    MapTrigger trigger;
    trigger.position = {900, 1000};
    trigger.halfWidth = 30;
    trigger.halfHeight = 40;
    trigger.activateName = "Lift";
    trigger.once = true;
    map.triggers = {trigger, MapTrigger{}};
    return map;
}

bool Decode(const std::vector<std::uint8_t>& bytes, MapFileContents& out, std::string& reason)
{
    return DecodeMapFile(bytes.data(), bytes.size(), out, reason);
}

TEST(MapFile, EveryRecordKindRoundTripsWithLaterRecordsAligned)
{
    const MapContents written = EveryKind();
    MapFileContents read;
    std::string reason;
    ASSERT_TRUE(Decode(EncodeMap(written), read, reason)) << reason;

    ASSERT_EQ(read.beams.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        const Beam& w = written.beams[i];
        const Beam& r = read.beams[i];
        EXPECT_EQ(r.a, w.a);
        EXPECT_EQ(r.b, w.b);
        EXPECT_EQ(r.direction, w.direction);
        EXPECT_EQ(r.normal, w.normal);
        EXPECT_EQ(r.colourA.g, w.colourA.g);
        EXPECT_EQ(r.colourB.b, w.colourB.b);
        EXPECT_EQ(r.id, i);
        EXPECT_EQ(r.stamp, 0u);
    }

    ASSERT_EQ(read.actors.size(), written.actors.size());
    for (std::size_t i = 0; i < read.actors.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(read.actors[i].type, written.actors[i].type);
        EXPECT_EQ(read.actors[i].x, written.actors[i].position.x);
        EXPECT_EQ(read.actors[i].y, written.actors[i].position.y);
        EXPECT_EQ(read.actors[i].angle, written.actors[i].angle);
    }
    EXPECT_STREQ(read.actors[1].name, "Door");
    const ActorRecord& laser = read.actors[2];
    EXPECT_STREQ(laser.name, "Beam1");
    EXPECT_EQ(laser.onTime, 1.5f);
    EXPECT_EQ(laser.offTime, 2.5f);
    EXPECT_EQ(laser.startDelay, 0.25f);
    EXPECT_TRUE(laser.startsOn);
    const ActorRecord& emitter = read.actors[4];
    EXPECT_STREQ(emitter.name, "Sparks");
    EXPECT_EQ(emitter.onTime, 3.5f);
    EXPECT_EQ(emitter.offTime, 4.5f);
    EXPECT_TRUE(emitter.startsOn);
    EXPECT_EQ(read.actors[5].halfWidth, 40.0f);
    EXPECT_EQ(read.actors[5].halfHeight, 24.0f);

    ASSERT_EQ(read.targets.size(), 2u);
    EXPECT_EQ(read.targets[1].x, 301.0f);
    EXPECT_EQ(read.targets[1].y, 401.0f);
    EXPECT_STREQ(read.targets[1].name, "door");

    ASSERT_EQ(read.rotators.size(), 2u);
    const RotatorDef& rot = read.rotators[0];
    EXPECT_EQ(rot.area.radius, 120.0f);
    EXPECT_EQ(rot.area.x, 500.0f);
    EXPECT_EQ(rot.area.y, 600.0f);
    EXPECT_EQ(rot.area.offsetX, 0.0f);
    EXPECT_STREQ(rot.name, "Spinner");
    EXPECT_STREQ(rot.targetName, "TargetA");
    EXPECT_STREQ(rot.activateName, "Laser1");
    EXPECT_EQ(rot.stepAngle, -90);
    EXPECT_EQ(rot.speed, 2.5f);
    EXPECT_EQ(rot.pauseTime, 0.5f);
    EXPECT_TRUE(rot.pingPong);
    EXPECT_FALSE(rot.loops);
    EXPECT_STREQ(read.rotators[1].name, "EMPTY");
    EXPECT_TRUE(read.rotators[1].loops);

    ASSERT_EQ(read.movers.size(), 1u);
    const MoverDef& mover = read.movers[0];
    EXPECT_EQ(mover.area.half, (Vec2{50, 20}));
    EXPECT_EQ(mover.area.centre, (Vec2{700, 800}));
    EXPECT_EQ(mover.area.min, (Vec2{650, 780}));
    EXPECT_EQ(mover.area.max, (Vec2{750, 820}));
    EXPECT_STREQ(mover.name, "Lift");
    EXPECT_STREQ(mover.targetNameA, "Bottom");
    EXPECT_STREQ(mover.targetNameB, "Top");
    EXPECT_STREQ(mover.activateName, "Spinner");
    EXPECT_EQ(mover.travelTime, 4.0f);
    EXPECT_EQ(mover.waitTime, 2.0f);
    EXPECT_EQ(mover.startDelay, 1.0f);
    EXPECT_FALSE(mover.loops);

    ASSERT_EQ(read.triggers.size(), 2u);
    EXPECT_EQ(read.triggers[0].area.half, (Vec2{30, 40}));
    EXPECT_EQ(read.triggers[0].area.centre, (Vec2{900, 1000}));
    EXPECT_STREQ(read.triggers[0].activateName, "Lift");
    EXPECT_TRUE(read.triggers[0].once);
    EXPECT_FALSE(read.triggers[1].once);
}

TEST(MapFile, EmptyAndNegativeCountsMeanEmptySections)
{
    MapWriter w;
    for (std::int32_t count : {0, -1, 0, -2147483647 - 1, 0, -5})
        w.Int32(count);
    MapFileContents read;
    read.beams.push_back(Beam{}); // replaced on success
    std::string reason;
    ASSERT_TRUE(Decode(w.Bytes(), read, reason)) << reason;
    EXPECT_TRUE(read.beams.empty());
    EXPECT_TRUE(read.actors.empty());
    EXPECT_TRUE(read.triggers.empty());
}

TEST(MapFile, NameFieldsWithoutTerminatorEndAtFifteenCharacters)
{
    MapWriter w;
    w.Int32(0); // beams
    w.Int32(1); // one switch whose name fills all 16 bytes
    w.Int32(6);
    w.Float(0);
    w.Float(0);
    w.Float(0);
    for (int i = 0; i < 16; ++i)
        w.Byte(static_cast<std::uint8_t>('A' + i));
    w.Int32(1); // one target, same
    w.Float(1);
    w.Float(2);
    for (int i = 0; i < 16; ++i)
        w.Byte('x');
    for (int i = 0; i < 3; ++i)
        w.Int32(0);
    MapFileContents read;
    std::string reason;
    ASSERT_TRUE(Decode(w.Bytes(), read, reason)) << reason;
    EXPECT_STREQ(read.actors[0].name, "ABCDEFGHIJKLMNO");
    EXPECT_STREQ(read.targets[0].name, "xxxxxxxxxxxxxxx");
}

// The byte offset of each section's count in the encoding of EveryKind().
std::vector<std::size_t> SectionOffsets(const MapContents& map)
{
    std::vector<std::size_t> offsets;
    std::size_t at = 0;
    offsets.push_back(at);
    at += 4 + map.beams.size() * 56;
    offsets.push_back(at);
    at += 4;
    for (const MapActor& a : map.actors)
        at += static_cast<std::size_t>(MapActorRecordBytes(a.type));
    offsets.push_back(at);
    at += 4 + map.targets.size() * 24;
    offsets.push_back(at);
    at += 4 + map.rotators.size() * 74;
    offsets.push_back(at);
    at += 4 + map.movers.size() * 93;
    offsets.push_back(at);
    return offsets;
}

void PutInt(std::vector<std::uint8_t>& bytes, std::size_t at, std::int32_t v)
{
    std::memcpy(&bytes[at], &v, 4);
}

// A prefix that ends right after a section loads: the sections it lacks
// read as empty. Every other prefix (an empty file, a count or a record cut
// short) fails with a reason and leaves the previous contents alone.
TEST(MapFile, FilesEndingAfterASectionLoadAndEveryOtherTruncationFails)
{
    const MapContents map = EveryKind();
    const std::vector<std::uint8_t> good = EncodeMap(map);
    const std::vector<std::size_t> offsets = SectionOffsets(map);
    MapFileContents whole;
    std::string reason;
    ASSERT_TRUE(Decode(good, whole, reason)) << reason;

    int loaded = 0;
    for (std::size_t size = 0; size < good.size(); ++size) {
        SCOPED_TRACE("prefix of " + std::to_string(size));
        // Sections before the cut: offsets[k] is the count of section k + 1.
        const auto at = std::find(offsets.begin() + 1, offsets.end(), size);
        MapFileContents read;
        read.targets.push_back(TargetRecord{});
        reason.clear();
        const bool ok = DecodeMapFile(good.data(), size, read, reason);
        if (at == offsets.end()) {
            ASSERT_FALSE(ok);
            EXPECT_FALSE(reason.empty());
            EXPECT_EQ(reason.back(), '\n');
            EXPECT_EQ(read.targets.size(), 1u);
            EXPECT_TRUE(read.beams.empty());
            continue;
        }
        ++loaded;
        ASSERT_TRUE(ok) << reason;
        const std::size_t sections = static_cast<std::size_t>(at - offsets.begin());
        const std::size_t expected[6] = {whole.beams.size(),     whole.actors.size(), whole.targets.size(),
                                         whole.rotators.size(),  whole.movers.size(), whole.triggers.size()};
        const std::size_t got[6] = {read.beams.size(),    read.actors.size(), read.targets.size(),
                                    read.rotators.size(), read.movers.size(), read.triggers.size()};
        for (std::size_t k = 0; k < 6; ++k)
            EXPECT_EQ(got[k], k < sections ? expected[k] : 0u) << "section " << k + 1;
    }
    EXPECT_EQ(loaded, 5); // after each of the first five sections
}

TEST(MapFile, EmptyFileAndCutCountsAreRefusedWithTheirReason)
{
    const std::vector<std::uint8_t> good = EncodeMap(EveryKind());
    const std::vector<std::size_t> offsets = SectionOffsets(EveryKind());
    struct Row {
        std::size_t size;
        const char* reason;
    };
    const Row rows[] = {
        {0, "The map file is empty\n"},
        {2, "The file ends inside the beam count\n"},
        {offsets[1] + 3, "The file ends inside the actor count\n"},
        {offsets[5] + 1, "The file ends inside the trigger count\n"},
    };
    for (const Row& row : rows) {
        MapFileContents read;
        std::string reason;
        EXPECT_FALSE(DecodeMapFile(good.data(), row.size, read, reason)) << row.size;
        EXPECT_EQ(reason, row.reason);
    }
}

TEST(MapFile, CountsThatCannotFitTheBytesLeftFail)
{
    const MapContents map = EveryKind();
    const std::vector<std::uint8_t> good = EncodeMap(map);
    const std::vector<std::size_t> offsets = SectionOffsets(map);
    ASSERT_EQ(offsets.back() + 4 + 2 * 33, good.size());
    for (std::size_t section = 0; section < offsets.size(); ++section) {
        for (std::int32_t count : {std::numeric_limits<std::int32_t>::max(), 1 << 26, 100000}) {
            std::vector<std::uint8_t> bad = good;
            PutInt(bad, offsets[section], count);
            MapFileContents read;
            std::string reason;
            EXPECT_FALSE(Decode(bad, read, reason)) << "section " << section << " count " << count;
            EXPECT_NE(reason.find("do not fit"), std::string::npos) << reason;
        }
    }
}

TEST(MapFile, NonFiniteGeometryFails)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    struct Case {
        const char* what;
        void (*spoil)(MapContents&, float);
    };
    const Case cases[] = {
        {"beam point", [](MapContents& m, float v) { m.beams[1].b.y = v; }},
        {"beam normal", [](MapContents& m, float v) { m.beams[0].normal.x = v; }},
        {"actor x", [](MapContents& m, float v) { m.actors[3].position.x = v; }},
        {"actor angle", [](MapContents& m, float v) { m.actors[7].angle = v; }},
        {"brick size", [](MapContents& m, float v) { m.actors[5].halfHeight = v; }},
        {"target y", [](MapContents& m, float v) { m.targets[0].position.y = v; }},
        {"rotator radius", [](MapContents& m, float v) { m.rotators[1].radius = v; }},
        {"mover x", [](MapContents& m, float v) { m.movers[0].position.x = v; }},
        {"trigger size", [](MapContents& m, float v) { m.triggers[1].halfWidth = v; }},
    };
    for (const Case& c : cases) {
        for (float v : {nan, inf, -inf}) {
            MapContents map = EveryKind();
            c.spoil(map, v);
            MapFileContents read;
            std::string reason;
            EXPECT_FALSE(Decode(EncodeMap(map), read, reason)) << c.what << " " << v;
            EXPECT_NE(reason.find("finite"), std::string::npos) << reason;
        }
    }
}

TEST(MapFile, BeamsSpanningMoreThanTheGridCanHoldFail)
{
    MapContents map;
    map.beams = {MakeBeam(-1.0e8f, 0, 1.0e8f, 0)};
    MapFileContents read;
    std::string reason;
    EXPECT_FALSE(Decode(EncodeMap(map), read, reason));
    EXPECT_NE(reason.find("sector grid"), std::string::npos) << reason;

    map.beams = {MakeBeam(0, 0, 60000, 0), MakeBeam(0, 0, 0, 60000)}; // 241 x 249 cells
    EXPECT_TRUE(Decode(EncodeMap(map), read, reason)) << reason;
}

TEST(MapFile, ReadsThroughTheRootDirectory)
{
    MapTestDir dir;
    ASSERT_TRUE(WriteMapFile(dir.Path("Data/Maps/Rooted.map").string(), EveryKind()));
    MapFileContents read;
    std::string reason;
    ASSERT_TRUE(ReadMapFile(MapFilePath(dir.Root(), "Rooted"), read, reason)) << reason;
    EXPECT_EQ(read.actors.size(), 8u);

    EXPECT_FALSE(ReadMapFile(MapFilePath(dir.Root(), "Missing"), read, reason));
    EXPECT_NE(reason.find("Missing.map"), std::string::npos);
    EXPECT_EQ(read.actors.size(), 8u);
    EXPECT_EQ(MapFilePath(".", "Splash"), "Data/Maps/Splash.map");
}

TEST(MapFile, NamesMatchIgnoringCase)
{
    EXPECT_TRUE(NamesEqual("door", "DOOR"));
    EXPECT_TRUE(NamesEqual("Door", "dOoR"));
    EXPECT_FALSE(NamesEqual("door", "doors"));
    EXPECT_FALSE(NamesEqual("door", ""));
    EXPECT_TRUE(NamesEqual(nullptr, ""));
}

} // namespace

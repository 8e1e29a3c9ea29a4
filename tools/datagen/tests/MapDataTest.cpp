// The generated maps and packs: layout, terrain rules, spawn area, actor
// placement, links between named records, pack lists and digests.
#include "MapFileReader.h"
#include "MapText.h"
#include "Md5.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>

namespace fs = std::filesystem;
using namespace maptest;

namespace {

const fs::path kMaps = fs::path(ZELV_DEMO_DATA_DIR) / "Data" / "Maps";

// The widest view: a 1920-pixel window at the ship's settled zoom of 0.75.
constexpr float kViewWidth = 1920.0f / 0.75f;

std::string Lower(std::string s)
{
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

MapFile Load(const std::string& name)
{
    MapFile map;
    Reader reader(ReadBytes((kMaps / (name + ".map")).string()));
    EXPECT_TRUE(reader.Read(map)) << name << ": " << reader.error;
    return map;
}

std::vector<std::string> PackMaps(const std::string& pack)
{
    std::ifstream in(kMaps / (pack + ".rota"));
    std::vector<std::string> names;
    for (std::string line; std::getline(in, line);) names.push_back(line);
    return names;
}

struct Extent {
    float minX = 1e9f, maxX = -1e9f, minY = 1e9f, maxY = -1e9f;
};

Extent BeamExtent(const MapFile& map)
{
    Extent e;
    for (const BeamRec& b : map.beams)
        for (Point p : {b.a, b.b}) {
            e.minX = std::min(e.minX, p.x); e.maxX = std::max(e.maxX, p.x);
            e.minY = std::min(e.minY, p.y); e.maxY = std::max(e.maxY, p.y);
        }
    return e;
}

float DistanceToSegment(Point p, Point a, Point b)
{
    const float dx = b.x - a.x, dy = b.y - a.y;
    const float len2 = dx * dx + dy * dy;
    float t = len2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2 : 0.0f;
    t = std::clamp(t, 0.0f, 1.0f);
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

// How many beams a ray straight up from p crosses: even in open air, odd in
// rock (every outline is closed or spans the whole world).
int CrossingsAbove(const MapFile& map, Point p)
{
    int crossings = 0;
    for (const BeamRec& b : map.beams) {
        const float lo = std::min(b.a.x, b.b.x), hi = std::max(b.a.x, b.b.x);
        if (p.x < lo || p.x >= hi) continue;
        const float y = b.a.y + (p.x - b.a.x) / (b.b.x - b.a.x) * (b.b.y - b.a.y);
        if (y < p.y) ++crossings;
    }
    return crossings;
}

bool SegmentsCross(Point p, Point q, Point a, Point b)
{
    auto side = [](Point o, Point u, Point v) { return (u.x - o.x) * (v.y - o.y) - (u.y - o.y) * (v.x - o.x); };
    const float d1 = side(a, b, p), d2 = side(a, b, q), d3 = side(p, q, a), d4 = side(p, q, b);
    return ((d1 > 0) != (d2 > 0)) && ((d3 > 0) != (d4 > 0));
}

bool SegmentMeetsBox(Point a, Point b, Point centre, float hw, float hh)
{
    // Liang-Barsky: clip the segment's parameter range to the box.
    float t0 = 0, t1 = 1;
    const float d[2] = {b.x - a.x, b.y - a.y};
    const float lo[2] = {centre.x - hw - a.x, centre.y - hh - a.y};
    const float hi[2] = {centre.x + hw - a.x, centre.y + hh - a.y};
    for (int axis = 0; axis < 2; ++axis) {
        if (d[axis] == 0) {
            if (lo[axis] > 0 || hi[axis] < 0) return false;
            continue;
        }
        float ta = lo[axis] / d[axis], tb = hi[axis] / d[axis];
        if (ta > tb) std::swap(ta, tb);
        t0 = std::max(t0, ta);
        t1 = std::min(t1, tb);
        if (t0 > t1) return false;
    }
    return true;
}

// The terrain as the level starts it: platforms with a target first carry
// the beams in their area onto it (rotators before movers, in file order),
// and only then is the world's extent measured.
MapFile AfterPlatformsLink(MapFile map)
{
    auto target = [&](const std::string& name, Point& out) {
        for (const TargetRec& t : map.targets)
            if (Lower(t.name) == Lower(name)) out = t.position;
    };
    auto shift = [](BeamRec& b, float dx, float dy) {
        b.a.x += dx; b.a.y += dy; b.b.x += dx; b.b.y += dy;
    };
    for (const RotatorRec& r : map.rotators) {
        Point to{std::nanf(""), 0};
        target(r.targetName, to);
        if (std::isnan(to.x)) continue;
        for (BeamRec& b : map.beams)
            if (DistanceToSegment(r.position, b.a, b.b) <= r.radius) shift(b, to.x - r.position.x, to.y - r.position.y);
    }
    for (const MoverRec& m : map.movers) {
        Point a{std::nanf(""), 0}, b{std::nanf(""), 0};
        target(m.targetA, a);
        target(m.targetB, b);
        if (std::isnan(a.x) || std::isnan(b.x)) continue;
        for (BeamRec& beam : map.beams)
            if (SegmentMeetsBox(beam.a, beam.b, m.position, m.halfWidth, m.halfHeight))
                shift(beam, a.x - m.position.x, a.y - m.position.y);
    }
    return map;
}

std::vector<std::string> AllMaps()
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(kMaps))
        if (entry.path().extension() == ".map") names.push_back(entry.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

TEST(MapData, TheExpectedFilesExist)
{
    for (const char* name : {"Splash.map", "stress.map", "Default.rota", "Default.rotb"})
        EXPECT_TRUE(fs::is_regular_file(kMaps / name)) << name;
    const std::vector<std::string> pack = PackMaps("Default");
    EXPECT_GE(pack.size(), 4u);
    for (const std::string& name : pack)
        EXPECT_TRUE(fs::is_regular_file(kMaps / (name + ".map"))) << name;
}

TEST(MapData, EveryMapReadsWholeWithTheRecordSizeOfItsType)
{
    const std::map<std::int32_t, int> sizes = {{6, 32}, {7, 45}, {15, 41}, {16, 24}};
    for (const std::string& name : AllMaps()) {
        const MapFile map = Load(name);
        EXPECT_FALSE(map.beams.empty()) << name;
        for (const ActorRec& a : map.actors) {
            auto it = sizes.find(a.type);
            EXPECT_EQ(a.recordBytes, it == sizes.end() ? 16 : it->second) << name << " type " << a.type;
            EXPECT_TRUE(a.type >= 0 && a.type <= 25 && a.type != 21 && a.type != 23) << name << " type " << a.type;
        }
    }
}

TEST(MapData, BeamsStoreUnitDirectionAndANormalFacingOpenAir)
{
    for (const std::string& name : AllMaps()) {
        const MapFile map = AfterPlatformsLink(Load(name));
        int wrongFacing = 0;
        for (std::size_t i = 0; i < map.beams.size(); ++i) {
            const BeamRec& b = map.beams[i];
            const float len = std::hypot(b.b.x - b.a.x, b.b.y - b.a.y);
            ASSERT_GT(len, 1.0f) << name << " beam " << i;
            EXPECT_NEAR(b.direction.x, (b.b.x - b.a.x) / len, 1e-5f) << name << " beam " << i;
            EXPECT_NEAR(b.direction.y, (b.b.y - b.a.y) / len, 1e-5f) << name << " beam " << i;
            EXPECT_FLOAT_EQ(b.normal.x, b.direction.y) << name << " beam " << i;
            EXPECT_FLOAT_EQ(b.normal.y, -b.direction.x) << name << " beam " << i;
            const Point mid{(b.a.x + b.b.x) / 2, (b.a.y + b.b.y) / 2};
            const Point air{mid.x + 1.5f * b.normal.x, mid.y + 1.5f * b.normal.y};
            const Point rock{mid.x - 1.5f * b.normal.x, mid.y - 1.5f * b.normal.y};
            if (CrossingsAbove(map, air) % 2 != 0 || CrossingsAbove(map, rock) % 2 != 1) {
                ++wrongFacing;
                ADD_FAILURE() << name << " beam " << i << " from " << b.a.x << "," << b.a.y << " to " << b.b.x
                              << "," << b.b.y << " faces into rock";
            }
            if (wrongFacing > 5) break;
        }
    }
}

TEST(MapData, WorldsAreTwoViewsWideAndTheGroundMeetsItselfAcrossTheWrap)
{
    for (const std::string& name : AllMaps()) {
        const MapFile map = AfterPlatformsLink(Load(name));
        const Extent e = BeamExtent(map);
        EXPECT_GE(e.maxX - e.minX, 2 * kViewWidth) << name;
        std::set<float> leftHeights, rightHeights;
        for (const BeamRec& b : map.beams)
            for (Point p : {b.a, b.b}) {
                if (p.x == e.minX) leftHeights.insert(p.y);
                if (p.x == e.maxX) rightHeights.insert(p.y);
            }
        bool joined = false;
        for (float y : leftHeights) joined = joined || rightHeights.count(y) > 0;
        EXPECT_TRUE(joined) << name << ": no ground height shared by both edges";
    }
}

// The ship appears at the left edge, 600 units above the highest point; below
// it, within a steer to the right, must lie a flat pad it can reach.
TEST(MapData, EveryMapHasSkyAtTheSpawnAndAPadBelowIt)
{
    for (const std::string& name : AllMaps()) {
        const MapFile map = AfterPlatformsLink(Load(name));
        const Extent e = BeamExtent(map);
        const Point spawn{e.minX, e.minY - 600};
        bool pad = false;
        for (const BeamRec& b : map.beams) {
            const float len = std::hypot(b.b.x - b.a.x, b.b.y - b.a.y);
            const float midX = (b.a.x + b.b.x) / 2;
            if (b.normal.y > -0.99f || len < 60 || midX < e.minX || midX > e.minX + 1000) continue;
            const Point above{midX, (b.a.y + b.b.y) / 2 - 20};
            bool clear = true;
            for (const BeamRec& other : map.beams)
                clear = clear && !SegmentsCross(spawn, above, other.a, other.b);
            pad = pad || clear;
        }
        EXPECT_TRUE(pad) << name << ": no reachable pad below the spawn";
    }
}

TEST(MapData, ScientistsAndTanksStandWithinFiveUnitsOfABeam)
{
    for (const std::string& name : AllMaps()) {
        const MapFile map = Load(name);
        for (const ActorRec& a : map.actors) {
            if (a.type != 2 && a.type != 4) continue;
            float nearest = 1e9f;
            for (const BeamRec& b : map.beams) nearest = std::min(nearest, DistanceToSegment(a.position, b.a, b.b));
            EXPECT_LE(nearest, 5.0f) << name << " type " << a.type << " at " << a.position.x << "," << a.position.y;
        }
    }
}

// Names link switches, zones and platforms, and every platform names a target
// (a rotator without one logs a warning at every load). A platform's own
// target inside its area would be carried along and never be reached, except
// a rotator's pivot at its very centre, which its turning leaves in place.
TEST(MapData, NamedLinksResolveAndTargetsLieOutsideTheirPlatform)
{
    for (const std::string& name : AllMaps()) {
        const MapFile map = Load(name);
        std::map<std::string, Point> targets;
        for (const TargetRec& t : map.targets) targets[Lower(t.name)] = t.position;
        std::set<std::string> activatable;
        for (const RotatorRec& r : map.rotators) activatable.insert(Lower(r.name));
        for (const MoverRec& m : map.movers) activatable.insert(Lower(m.name));
        for (const ActorRec& a : map.actors)
            if (a.type == 7) activatable.insert(Lower(a.name));
        for (const MoverRec& m : map.movers) {
            for (const std::string& t : {m.targetA, m.targetB}) {
                auto it = targets.find(Lower(t));
                ASSERT_NE(it, targets.end()) << name << " mover " << m.name << " target " << t;
                const float dx = std::max(0.0f, std::fabs(it->second.x - m.position.x) - m.halfWidth);
                const float dy = std::max(0.0f, std::fabs(it->second.y - m.position.y) - m.halfHeight);
                EXPECT_GT(std::hypot(dx, dy), 15.0f) << name << " mover " << m.name << " carries its target " << t;
            }
        }
        for (const RotatorRec& r : map.rotators) {
            auto it = targets.find(Lower(r.targetName));
            ASSERT_NE(it, targets.end()) << name << " rotator " << r.name << " target " << r.targetName;
            const float away = std::hypot(it->second.x - r.position.x, it->second.y - r.position.y);
            EXPECT_TRUE(away == 0.0f || away > r.radius + 15) << name << " rotator " << r.name << " carries its target";
            // Turning away from its step it never reaches a stop: its pause
            // and the actors it names would never come.
            if (r.stepAngle != 0) {
                EXPECT_EQ(r.speed > 0.0f, r.stepAngle > 0) << name << " rotator " << r.name << " turns away from its step";
            }
        }
        for (const ActorRec& a : map.actors) {
            if (a.type == 6) {
                EXPECT_EQ(activatable.count(Lower(a.name)), 1u) << name << " switch " << a.name;
            }
        }
        for (const TriggerRec& z : map.triggers)
            EXPECT_EQ(activatable.count(Lower(z.activateName)), 1u) << name << " zone " << z.activateName;
    }
}

TEST(MapData, TheDefaultPackUsesEveryActorTypeAndRecordKindAndEachMapIsWinnable)
{
    std::set<std::int32_t> types;
    std::size_t targets = 0, rotators = 0, movers = 0, triggers = 0;
    for (const std::string& name : PackMaps("Default")) {
        const MapFile map = Load(name);
        int generators = 0;
        for (const ActorRec& a : map.actors) {
            types.insert(a.type);
            generators += a.type == 5;
        }
        EXPECT_GE(generators, 1) << name;
        targets += map.targets.size();
        rotators += map.rotators.size();
        movers += map.movers.size();
        triggers += map.triggers.size();
    }
    for (std::int32_t t = 0; t <= 25; ++t) {
        if (t != 21 && t != 23) {
            EXPECT_EQ(types.count(t), 1u) << "actor type " << t << " unused";
        }
    }
    EXPECT_GT(targets, 0u);
    EXPECT_GT(rotators, 0u);
    EXPECT_GT(movers, 0u);
    EXPECT_GT(triggers, 0u);
}

TEST(MapData, PackDigestsMatchAndNoPackIsCalledStandard)
{
    int packs = 0;
    for (const auto& entry : fs::directory_iterator(kMaps)) {
        if (entry.path().extension() != ".rota") continue;
        ++packs;
        const std::string pack = entry.path().stem().string();
        EXPECT_NE(Lower(pack), "standard");
        char digest[kMd5HexSize];
        Md5HexOfFile(entry.path().string().c_str(), digest);
        std::ifstream rotb(kMaps / (pack + ".rotb"));
        std::string first;
        std::getline(rotb, first);
        EXPECT_EQ(first.substr(0, 32), std::string(digest)) << pack;
        for (const std::string& map : PackMaps(pack)) {
            EXPECT_FALSE(map.empty()) << pack;
            EXPECT_LE(map.size(), 63u) << pack;
            EXPECT_NE(Lower(map), "stress") << "the benchmark map belongs to no pack";
        }
    }
    EXPECT_EQ(packs, 1) << "the game starts with the first pack it lists";
}

TEST(MapData, StressMapIsDenseAndCarriesPlatformsAndLasers)
{
    const MapFile map = Load("stress");
    EXPECT_GE(map.beams.size(), 5000u);
    EXPECT_GE(map.actors.size(), 200u);
    EXPECT_GE(map.rotators.size(), 3u);
    EXPECT_GE(map.movers.size(), 3u);
    EXPECT_GE(std::count_if(map.actors.begin(), map.actors.end(), [](const ActorRec& a) { return a.type == 7; }), 3);
}

// The title screen centres its view on (W / 2, 220 below the highest point).
TEST(MapData, SplashShowsTerrainAndActorsAroundTheTitleView)
{
    const MapFile map = AfterPlatformsLink(Load("Splash"));
    const Extent e = BeamExtent(map);
    const Point centre{e.minX + (e.maxX - e.minX) / 2, e.minY + 220};
    auto inView = [&](Point p) { return std::fabs(p.x - centre.x) <= 320 && std::fabs(p.y - centre.y) <= 240; };
    int actors = 0, beams = 0;
    for (const ActorRec& a : map.actors) actors += inView(a.position);
    for (const BeamRec& b : map.beams) beams += inView(b.a) || inView(b.b);
    EXPECT_GE(actors, 5);
    EXPECT_GE(beams, 5);
    // The title puts the (hidden) ship at that centre: in open air, so the
    // turrets' shots fly up to it instead of into the ground.
    EXPECT_EQ(CrossingsAbove(map, centre) % 2, 0);
    float nearest = 1e9f;
    for (const BeamRec& b : map.beams) nearest = std::min(nearest, DistanceToSegment(centre, b.a, b.b));
    EXPECT_GT(nearest, 40.0f);
}

// The title shows the game's name: the highest beams of "Splash" are the
// generator's letters of "ZELVORANT2", whole, inside the narrowest title view
// (turned, 480 wide); and no beam crosses the main menu's rows, which lie 350
// to 450 units below the highest point upright and 430 to 530 turned
// (menu centre 170 below the view's centre, rows 40 above to 60 below it).
TEST(MapData, SplashSpellsTheNameOverTheViewAndLeavesTheMenuClear)
{
    const char* const kName = "ZELVORANT2";
    const MapFile map = AfterPlatformsLink(Load("Splash"));
    const Extent e = BeamExtent(map);
    const float middle = e.minX + (e.maxX - e.minX) / 2;

    // The name's beams: those within 80 units of the top.
    std::vector<const BeamRec*> band;
    Extent named;
    for (const BeamRec& b : map.beams)
        if (std::max(b.a.y, b.b.y) < e.minY + 80) {
            band.push_back(&b);
            for (Point p : {b.a, b.b}) {
                named.minX = std::min(named.minX, p.x); named.maxX = std::max(named.maxX, p.x);
                named.minY = std::min(named.minY, p.y); named.maxY = std::max(named.maxY, p.y);
            }
        }
    ASSERT_FALSE(band.empty());

    // The same word from the generator, sized and placed on the band: its
    // width grows linearly with the letter height.
    const auto outlines = [&](Vec2 at, float height) {
        std::vector<std::vector<Vec2>> out;
        std::string error;
        EXPECT_TRUE(datagen::MapTextOutlines(at, height, kName, out, error)) << error;
        return out;
    };
    const auto extent = [](const std::vector<std::vector<Vec2>>& loops) {
        Extent x;
        for (const auto& loop : loops)
            for (Vec2 p : loop) {
                x.minX = std::min(x.minX, p.x); x.maxX = std::max(x.maxX, p.x);
                x.minY = std::min(x.minY, p.y); x.maxY = std::max(x.maxY, p.y);
            }
        return x;
    };
    const Extent at60 = extent(outlines({0, 0}, 60)), at120 = extent(outlines({0, 0}, 120));
    const float perUnit = ((at120.maxX - at120.minX) - (at60.maxX - at60.minX)) / 60;
    const float height = 60 + ((named.maxX - named.minX) - (at60.maxX - at60.minX)) / perUnit;
    const auto expected = outlines({0, 0}, height);
    const Extent atZero = extent(expected);
    const Vec2 shift{named.minX - atZero.minX, named.minY - atZero.minY};
    std::size_t segments = 0;
    for (const auto& loop : expected)
        for (std::size_t i = 0; i < loop.size(); ++i) {
            ++segments;
            const Vec2 a = loop[i] + shift, b = loop[(i + 1) % loop.size()] + shift;
            const bool found = std::any_of(band.begin(), band.end(), [&](const BeamRec* beam) {
                return std::hypot(beam->a.x - a.x, beam->a.y - a.y) < 0.1f &&
                       std::hypot(beam->b.x - b.x, beam->b.y - b.y) < 0.1f;
            });
            EXPECT_TRUE(found) << "no beam from " << a.x << "," << a.y << " to " << b.x << "," << b.y;
        }
    EXPECT_EQ(band.size(), segments) << "beams near the name that are not its letters";
    EXPECT_GE(height, 30.0f) << "too small to read";
    EXPECT_LE(named.maxX - named.minX, 480 - 2 * 16) << "wider than the turned title view";
    EXPECT_LT(std::fabs((named.minX + named.maxX) / 2 - middle), 5.0f) << "not centred";

    // The menu's rows, with room for the beams' glow.
    for (const float top : {350.0f, 430.0f}) {
        const Point rows{middle, e.minY + top + 50};
        for (const BeamRec& b : map.beams)
            EXPECT_FALSE(SegmentMeetsBox(b.a, b.b, rows, 160, 60))
                << "beam from " << b.a.x << "," << b.a.y << " to " << b.b.x << "," << b.b.y << " crosses the menu";
    }
}

// Seeded mutations of valid map files (one written here, the demo maps when
// the build made them) against the map reader and Game::LoadMap. The decoder
// is compared with a plain reference decode of the same bytes; the loader
// must log its failure and keep the previous map on every refusal.
// Deterministic: a failing iteration is reproduced by its number.
#include "Entity.h"
#include "Game.h"
#include "MapFile.h"
#include "MapWriter.h"
#include "SectorGrid.h"
#include "support/MapTestDir.h"
#include "testing/HeadlessHost.h"
#include "testing/Mutator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Every field of decoded contents as text, so two decodes compare whole
// (NaN-free by contract for coordinates; other floats by their bits).
class Fingerprint {
public:
    template <typename T>
    void Raw(const T& value)
    {
        char bytes[sizeof(T)];
        std::memcpy(bytes, &value, sizeof(T));
        text.append(bytes, sizeof(T));
    }
    void Name(const char (&name)[kMapNameFieldBytes]) { text.append(name, kMapNameFieldBytes); }
    void Vec(const Vec2& v) { Raw(v.x), Raw(v.y); }

    std::string text;
};

std::string FingerprintOf(const MapFileContents& map)
{
    Fingerprint f;
    f.Raw(map.beams.size());
    for (const Beam& b : map.beams) {
        f.Vec(b.a), f.Vec(b.b), f.Vec(b.direction), f.Vec(b.normal);
        f.Raw(b.colourA.r), f.Raw(b.colourA.g), f.Raw(b.colourA.b);
        f.Raw(b.colourB.r), f.Raw(b.colourB.g), f.Raw(b.colourB.b);
        f.Raw(b.id);
    }
    f.Raw(map.actors.size());
    for (const ActorRecord& a : map.actors) {
        f.Raw(a.type), f.Raw(a.x), f.Raw(a.y), f.Raw(a.angle), f.Name(a.name), f.Raw(a.onTime), f.Raw(a.offTime);
        f.Raw(a.startDelay), f.Raw(a.startsOn), f.Raw(a.halfWidth), f.Raw(a.halfHeight);
    }
    f.Raw(map.targets.size());
    for (const TargetRecord& t : map.targets)
        f.Raw(t.x), f.Raw(t.y), f.Name(t.name);
    f.Raw(map.rotators.size());
    for (const RotatorDef& r : map.rotators) {
        f.Raw(r.area.radius), f.Raw(r.area.x), f.Raw(r.area.y), f.Name(r.name), f.Name(r.targetName);
        f.Name(r.activateName), f.Raw(r.stepAngle), f.Raw(r.speed), f.Raw(r.pauseTime), f.Raw(r.pingPong);
        f.Raw(r.loops);
    }
    f.Raw(map.movers.size());
    for (const MoverDef& m : map.movers) {
        f.Vec(m.area.min), f.Vec(m.area.max), f.Vec(m.area.centre), f.Name(m.name), f.Name(m.targetNameA);
        f.Name(m.targetNameB), f.Name(m.activateName), f.Raw(m.travelTime), f.Raw(m.waitTime);
        f.Raw(m.startDelay), f.Raw(m.loops);
    }
    f.Raw(map.triggers.size());
    for (const TriggerDef& t : map.triggers)
        f.Vec(t.area.min), f.Vec(t.area.max), f.Name(t.activateName), f.Raw(t.once);
    return f.text;
}

// Reference decode straight from the bytes (the host is little-endian, as
// the file): a count of 0 or less is an empty section, so is a count missing
// after the end of a non-empty file, a count whose
// smallest records overrun the bytes left is refused, so is a record cut
// short, a non-finite position or size, and a span the sector grid cannot hold.
class ReferenceDecoder {
public:
    explicit ReferenceDecoder(const std::vector<std::uint8_t>& bytes) : bytes(bytes) {}

    std::optional<MapFileContents> Decode()
    {
        MapFileContents map;
        std::int32_t n = 0;
        if (!Count(56, n))
            return std::nullopt;
        for (std::int32_t i = 0; i < n; ++i) {
            float f[14];
            if (!Take(f, sizeof f))
                return std::nullopt;
            Beam b;
            b.a = {f[0], f[1]};
            b.b = {f[2], f[3]};
            b.colourA = {f[4], f[5], f[6]};
            b.colourB = {f[7], f[8], f[9]};
            b.direction = {f[10], f[11]};
            b.normal = {f[12], f[13]};
            b.id = static_cast<std::uint16_t>(i);
            if (!AllFinite({f[0], f[1], f[2], f[3], f[10], f[11], f[12], f[13]}))
                return std::nullopt;
            map.beams.push_back(b);
        }
        if (!Count(16, n))
            return std::nullopt;
        for (std::int32_t i = 0; i < n; ++i) {
            ActorRecord a;
            float pose[3];
            if (!Take(&a.type, 4) || !Take(pose, sizeof pose))
                return std::nullopt;
            a.x = pose[0], a.y = pose[1], a.angle = pose[2];
            const bool named = a.type == 6 || a.type == 7 || a.type == 15;
            if (named && !TakeName(a.name))
                return std::nullopt;
            if (a.type == 7 || a.type == 15) {
                if (!Take(&a.onTime, 4) || !Take(&a.offTime, 4) ||
                    (a.type == 7 && !Take(&a.startDelay, 4)) || !TakeBool(a.startsOn))
                    return std::nullopt;
            }
            if (a.type == 16 && (!Take(&a.halfWidth, 4) || !Take(&a.halfHeight, 4)))
                return std::nullopt;
            if (!AllFinite({a.x, a.y, a.angle, a.halfWidth, a.halfHeight}))
                return std::nullopt;
            map.actors.push_back(a);
        }
        if (!Count(24, n))
            return std::nullopt;
        for (std::int32_t i = 0; i < n; ++i) {
            TargetRecord t;
            if (!Take(&t.x, 4) || !Take(&t.y, 4) || !TakeName(t.name) || !AllFinite({t.x, t.y}))
                return std::nullopt;
            map.targets.push_back(t);
        }
        if (!Count(74, n))
            return std::nullopt;
        for (std::int32_t i = 0; i < n; ++i) {
            RotatorDef r;
            float area[3];
            if (!Take(area, sizeof area) || !AllFinite({area[0], area[1], area[2]}))
                return std::nullopt;
            r.area = HullCircle(area[2], area[0], area[1]);
            TakeName(r.name), TakeName(r.targetName), TakeName(r.activateName);
            Take(&r.stepAngle, 4), Take(&r.speed, 4), Take(&r.pauseTime, 4);
            TakeBool(r.pingPong), TakeBool(r.loops);
            map.rotators.push_back(r);
        }
        if (!Count(93, n))
            return std::nullopt;
        for (std::int32_t i = 0; i < n; ++i) {
            MoverDef m;
            float box[4];
            if (!Take(box, sizeof box) || !AllFinite({box[0], box[1], box[2], box[3]}))
                return std::nullopt;
            m.area = Rect(2.0f * box[2], 2.0f * box[3], box[0], box[1]);
            TakeName(m.name), TakeName(m.targetNameA), TakeName(m.targetNameB), TakeName(m.activateName);
            Take(&m.travelTime, 4), Take(&m.waitTime, 4), Take(&m.startDelay, 4), TakeBool(m.loops);
            map.movers.push_back(m);
        }
        if (!Count(33, n))
            return std::nullopt;
        for (std::int32_t i = 0; i < n; ++i) {
            TriggerDef t;
            float box[4];
            if (!Take(box, sizeof box) || !AllFinite({box[0], box[1], box[2], box[3]}))
                return std::nullopt;
            t.area = Rect(2.0f * box[2], 2.0f * box[3], box[0], box[1]);
            if (!TakeName(t.activateName) || !TakeBool(t.once))
                return std::nullopt;
            map.triggers.push_back(t);
        }
        if (!GridHolds(map.beams))
            return std::nullopt;
        return map;
    }

private:
    // Fixed-size records (rotators, movers) are known whole by the count
    // check, so their later takes cannot fail once the first did not.
    bool Take(void* out, std::size_t n)
    {
        if (bytes.size() - at < n)
            return false;
        std::memcpy(out, bytes.data() + at, n);
        at += n;
        return true;
    }
    bool TakeName(char (&name)[kMapNameFieldBytes])
    {
        if (!Take(name, kMapNameFieldBytes))
            return false;
        name[kMapNameFieldBytes - 1] = '\0';
        return true;
    }
    bool TakeBool(bool& value)
    {
        std::uint8_t b = 0;
        if (!Take(&b, 1))
            return false;
        value = b != 0;
        return true;
    }
    bool Count(std::size_t recordBytes, std::int32_t& n)
    {
        // A file that ends right after a section lacks the later counts.
        if (at > 0 && at == bytes.size()) {
            n = 0;
            return true;
        }
        if (!Take(&n, 4))
            return false;
        if (n <= 0) {
            n = 0;
            return true;
        }
        return static_cast<std::uint64_t>(n) * recordBytes <= bytes.size() - at;
    }
    static bool AllFinite(std::initializer_list<float> values)
    {
        for (float v : values) {
            if (!std::isfinite(v))
                return false;
        }
        return true;
    }
    static bool GridHolds(const std::vector<Beam>& beams)
    {
        if (beams.empty())
            return true;
        float minX = beams[0].a.x, maxX = minX, minY = beams[0].a.y, maxY = minY;
        for (const Beam& b : beams) {
            for (const Vec2& p : {b.a, b.b}) {
                minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
                minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
            }
        }
        return SectorGrid::FitsExtent(maxX - minX, maxY - minY);
    }

    const std::vector<std::uint8_t>& bytes;
    std::size_t at = 0;
};

Beam MakeBeam(float ax, float ay, float bx, float by)
{
    Beam beam;
    beam.a = {ax, ay};
    beam.b = {bx, by};
    beam.colourA = {1.0f, 0.5f, 0.0f};
    beam.colourB = {0.0f, 0.5f, 1.0f};
    beam.direction = {1, 0};
    beam.normal = {0, -1};
    return beam;
}

// One record of every kind, so mutations reach every section's decoding.
MapContents EveryKindMap()
{
    MapContents map;
    map.beams = {MakeBeam(0, 0, 1000, 0), MakeBeam(1000, 0, 1000, 500), MakeBeam(1000, 500, 0, 0)};
    MapActor sw;
    sw.type = kMapTypeSwitch;
    sw.position = {10, 20};
    sw.name = "Door";
    MapActor laser;
    laser.type = kMapTypeLaser;
    laser.name = "Zap";
    laser.onTime = 1.5f;
    laser.startsOn = true;
    MapActor emitter;
    emitter.type = kMapTypeEmitter;
    emitter.name = "Puff";
    MapActor brick;
    brick.type = kMapTypeBrick;
    brick.halfWidth = 40;
    brick.halfHeight = 24;
    MapActor plain;
    plain.type = 11;
    plain.position = {300, 100};
    map.actors = {sw, laser, emitter, brick, plain};
    map.targets = {{{300, 400}, "Door"}, {{500, 400}, "Far"}};
    MapRotator rotator;
    rotator.position = {500, 100};
    rotator.radius = 80;
    rotator.name = "Spin";
    rotator.stepAngle = 45;
    map.rotators = {rotator};
    MapMover mover;
    mover.position = {700, 200};
    mover.halfWidth = 50;
    mover.halfHeight = 20;
    mover.name = "Lift";
    map.movers = {mover};
    MapTrigger trigger;
    trigger.position = {900, 300};
    trigger.halfWidth = 30;
    trigger.halfHeight = 40;
    trigger.activateName = "Lift";
    map.triggers = {trigger};
    return map;
}

struct Seed {
    std::string name;
    std::vector<std::uint8_t> bytes;
    MutationHints hints;
};

// Positions of the six section counts of a valid map file.
std::vector<std::size_t> CountOffsets(const std::vector<std::uint8_t>& bytes)
{
    std::vector<std::size_t> offsets;
    std::size_t at = 0;
    auto count = [&]() {
        std::int32_t n = 0;
        std::memcpy(&n, bytes.data() + at, 4);
        offsets.push_back(at);
        at += 4;
        return std::max(n, 0);
    };
    at += 56u * static_cast<std::size_t>(count());
    for (std::int32_t i = 0, n = count(); i < n; ++i) {
        std::int32_t type = 0;
        std::memcpy(&type, bytes.data() + at, 4);
        at += static_cast<std::size_t>(ActorRecordBytes(type));
    }
    for (std::size_t recordBytes : {24u, 74u, 93u})
        at += recordBytes * static_cast<std::size_t>(count());
    count();
    return offsets;
}

Seed MakeSeed(std::string name, std::vector<std::uint8_t> bytes)
{
    Seed seed{std::move(name), std::move(bytes), {}};
    seed.hints.countOffsets = CountOffsets(seed.bytes);
    return seed;
}

// The written map, and the demo maps up to a size that keeps a few thousand
// mutations quick (the rest of a big map only repeats beam records).
std::vector<Seed> Seeds()
{
    std::vector<Seed> seeds;
    seeds.push_back(MakeSeed("EveryKind", EncodeMap(EveryKindMap())));
    namespace fs = std::filesystem;
    const fs::path maps = fs::path(ZELV_DEMO_DATA_DIR) / "Data" / "Maps";
    std::error_code error;
    std::vector<fs::path> files;
    for (fs::directory_iterator it(maps, error), end; !error && it != end; it.increment(error)) {
        if (it->path().extension() == ".map" && it->file_size(error) <= 64 * 1024)
            files.push_back(it->path());
    }
    std::sort(files.begin(), files.end());
    for (const fs::path& file : files) {
        std::vector<std::uint8_t> bytes;
        MapFileContents contents;
        std::string reason;
        if (ReadWholeFile(file.string(), bytes) && DecodeMapFile(bytes.data(), bytes.size(), contents, reason))
            seeds.push_back(MakeSeed(file.filename().string(), std::move(bytes)));
    }
    return seeds;
}

TEST(FuzzMapTest, MutatedMapsDecodeAsTheReferenceOrAreRefusedWithAReason)
{
    const std::vector<Seed> seeds = Seeds();
    Mutator mutator(0x6d61700au);
    // A map already decoded into the output: refusals must leave it as it is.
    MapFileContents previous;
    std::string reason;
    ASSERT_TRUE(DecodeMapFile(seeds[0].bytes.data(), seeds[0].bytes.size(), previous, reason));
    const std::string previousPrint = FingerprintOf(previous);

    int accepted = 0;
    int refused = 0;
    for (int iteration = 0; iteration < 6000; ++iteration) {
        const Seed& seed = seeds[static_cast<std::size_t>(iteration) % seeds.size()];
        std::vector<std::uint8_t> bytes = seed.bytes;
        mutator.Mutate(bytes, seed.hints);

        MapFileContents out = previous;
        reason.clear();
        const bool ok = DecodeMapFile(bytes.data(), bytes.size(), out, reason);
        const std::optional<MapFileContents> expected = ReferenceDecoder(bytes).Decode();
        ASSERT_EQ(ok, expected.has_value()) << "iteration " << iteration << " (" << seed.name << "): " << reason;
        if (ok) {
            ++accepted;
            ASSERT_EQ(FingerprintOf(out), FingerprintOf(*expected)) << "iteration " << iteration;
        } else {
            ++refused;
            ASSERT_EQ(FingerprintOf(out), previousPrint) << "iteration " << iteration;
            // One line, ending in its line end.
            ASSERT_FALSE(reason.empty()) << "iteration " << iteration;
            ASSERT_EQ(reason.find('\n'), reason.size() - 1) << "iteration " << iteration << ": " << reason;
        }
    }
    EXPECT_GT(accepted, 600);
    EXPECT_GT(refused, 600);
}

// What the loader must have left: the map's name, its beams and the
// templates' identities.
struct LoadedMap {
    std::string name;
    std::string beams;
    std::vector<const Entity*> templates;

    static LoadedMap Of(const Game& game)
    {
        MapFileContents beamsOnly;
        beamsOnly.beams = game.map.mapBeams;
        LoadedMap loaded{game.mapName, FingerprintOf(beamsOnly), {}};
        for (const auto& t : game.map.entityTemplates)
            loaded.templates.push_back(t.get());
        return loaded;
    }
    bool operator==(const LoadedMap& o) const { return name == o.name && beams == o.beams && templates == o.templates; }
};

std::size_t Occurrences(const std::string& text, const std::string& what)
{
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

TEST(FuzzMapTest, LoadMapKeepsThePreviousMapOnEveryRefusal)
{
    MapTestDir dir;
    CapturedLog log(dir);
    Game game;
    game.dataRoot = dir.Root();
    const std::vector<Seed> seeds = Seeds();
    dir.WriteBytes("Data/Maps/Good.map", seeds[0].bytes);
    ASSERT_TRUE(game.LoadMap("Good", log.Get()));

    Mutator mutator(0x6c6f6164u);
    int accepted = 0;
    int refused = 0;
    for (int iteration = 0; iteration < 1200; ++iteration) {
        const Seed& seed = seeds[static_cast<std::size_t>(iteration) % seeds.size()];
        std::vector<std::uint8_t> bytes = seed.bytes;
        mutator.Mutate(bytes, seed.hints);
        // "home" does not save the game, so no iteration writes more than its map.
        dir.WriteBytes("Data/Maps/home.map", bytes);
        MapFileContents decoded;
        std::string reason;
        const bool decodes = DecodeMapFile(bytes.data(), bytes.size(), decoded, reason);

        const LoadedMap before = LoadedMap::Of(game);
        log.Clear();
        const bool ok = game.LoadMap("home", log.Get());
        ASSERT_EQ(ok, decodes) << "iteration " << iteration;
        if (!ok) {
            ++refused;
            ASSERT_EQ(log.Text(), "Failed to load map home.map\n" + reason) << "iteration " << iteration;
            ASSERT_TRUE(LoadedMap::Of(game) == before) << "iteration " << iteration;
            continue;
        }
        ++accepted;
        const std::string text = log.Text();
        const std::string loadedLine = "Loaded map home.map\n";
        ASSERT_GE(text.size(), loadedLine.size());
        ASSERT_EQ(text.substr(text.size() - loadedLine.size()), loadedLine) << "iteration " << iteration;
        ASSERT_STREQ(game.mapName, "home");
        MapFileContents beamsOnly;
        beamsOnly.beams = decoded.beams;
        ASSERT_EQ(LoadedMap::Of(game).beams, FingerprintOf(beamsOnly)) << "iteration " << iteration;

        // Templates in file order: actors, targets, rotators, movers, trigger
        // zones; a type without a class is logged and skipped.
        std::vector<std::pair<EntityType, Vec2>> records;
        for (const ActorRecord& a : decoded.actors)
            records.push_back({a.type, {a.x, a.y}});
        for (const TargetRecord& t : decoded.targets)
            records.push_back({kTypeTarget, {t.x, t.y}});
        for (const RotatorDef& r : decoded.rotators)
            records.push_back({kTypeRotator, {r.area.x, r.area.y}});
        for (const MoverDef& m : decoded.movers)
            records.push_back({kTypeMover, m.area.centre});
        for (const TriggerDef& t : decoded.triggers)
            records.push_back({kTypeTriggerAction, t.area.centre});
        const std::size_t failures = Occurrences(text, "Failed to Create entity!\n");
        ASSERT_EQ(game.map.entityTemplates.size() + failures, records.size()) << "iteration " << iteration;
        std::size_t next = 0;
        for (const auto& t : game.map.entityTemplates) {
            while (next < records.size() && records[next].first != t->type)
                ++next;
            ASSERT_LT(next, records.size()) << "iteration " << iteration << ": template out of file order";
            ASSERT_EQ(t->position, records[next].second) << "iteration " << iteration;
            ++next;
        }
    }
    EXPECT_GT(accepted, 100);
    EXPECT_GT(refused, 100);
}

// Every accepted mutant also plays: started as a level and run 200 ticks with
// every actor behaving (platforms carrying, lasers marching, zones and jets),
// which the sanitizers watch. Positions stay finite or the actors say where.
TEST(FuzzMapTest, AcceptedMutantsStartAndRunTwoHundredTicks)
{
    MapTestDir dir;
    CapturedLog log(dir);
    HeadlessHost host;
    Game game(host);
    game.dataRoot = dir.Root();
    game.UpdateScreenSize();
    const std::vector<Seed> seeds = Seeds();
    Mutator mutator(0x706c6179u);
    int played = 0;
    for (int iteration = 0; iteration < 1200 && played < 200; ++iteration) {
        const Seed& seed = seeds[static_cast<std::size_t>(iteration) % seeds.size()];
        std::vector<std::uint8_t> bytes = seed.bytes;
        mutator.Mutate(bytes, seed.hints);
        dir.WriteBytes("Data/Maps/home.map", bytes);
        if (!game.LoadMap("home", log.Get()))
            continue;
        ++played;
        game.StartLevel(log.Get());
        game.mode = GameMode::Play;
        for (int tick = 0; tick < 200; ++tick) {
            game.UpdatePlay();
            if (game.mode != GameMode::Play)
                break;
        }
        game.ClearLevel(log.Get());
        log.Clear();
    }
    EXPECT_GT(played, 100);
}

} // namespace

#include "MapFile.h"

#include "DataFile.h"
#include "Log.h"
#include "SectorGrid.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

// A cursor over the file's bytes. Every take checks the bytes left first, so
// a record cut short by the end of the file is a failure, never a read past
// the buffer.
class ByteCursor {
public:
    ByteCursor(const std::uint8_t* bytes, std::size_t size) : bytes(bytes), size(size) {}

    std::size_t Left() const { return size - position; }
    bool AtStart() const { return position == 0; }

    const std::uint8_t* Take(std::size_t count)
    {
        if (count > Left())
            return nullptr;
        const std::uint8_t* at = bytes + position;
        position += count;
        return at;
    }

private:
    const std::uint8_t* bytes;
    std::size_t size;
    std::size_t position = 0;
};

std::int32_t Int32At(const std::uint8_t* p)
{
    const std::uint32_t v = std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
                            std::uint32_t{p[3]} << 24;
    std::int32_t out;
    std::memcpy(&out, &v, sizeof out);
    return out;
}

float FloatAt(const std::uint8_t* p)
{
    const std::uint32_t v = std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
                            std::uint32_t{p[3]} << 24;
    float out;
    std::memcpy(&out, &v, sizeof out);
    return out;
}

Vec2 VecAt(const std::uint8_t* p) { return {FloatAt(p), FloatAt(p + 4)}; }
Rgb RgbAt(const std::uint8_t* p) { return {FloatAt(p), FloatAt(p + 4), FloatAt(p + 8)}; }

bool Finite(float v) { return std::isfinite(v); }
bool Finite(Vec2 v) { return std::isfinite(v.x) && std::isfinite(v.y); }

struct Section {
    const char* name;
    std::size_t recordBytes; // the smallest record for the actor section
};

// Reads a section count and checks that its records can fit the bytes left.
bool ReadCount(ByteCursor& cursor, const Section& section, std::int32_t& count, std::string& reason)
{
    if (cursor.Left() == 0 && !cursor.AtStart()) {
        // The file ends right after the section before: this one is empty.
        count = 0;
        return true;
    }
    const std::uint8_t* p = cursor.Take(4);
    if (p == nullptr) {
        reason = cursor.AtStart() && cursor.Left() == 0 ? std::string("The map file is empty\n")
                                                        : LogFormat("The file ends inside the %s count\n", section.name);
        return false;
    }
    count = Int32At(p);
    if (count <= 0) {
        count = 0;
        return true;
    }
    if (static_cast<std::uint64_t>(count) * section.recordBytes > cursor.Left()) {
        reason = LogFormat("%i %s records of %u bytes do not fit the %llu bytes left\n", count, section.name,
                           static_cast<unsigned>(section.recordBytes),
                           static_cast<unsigned long long>(cursor.Left()));
        return false;
    }
    return true;
}

std::string Truncated(const char* section, std::int32_t index)
{
    return LogFormat("The file ends inside %s record %i\n", section, index);
}

std::string NotFinite(const char* section, std::int32_t index)
{
    return LogFormat("%s record %i holds a coordinate that is not a finite number\n", section, index);
}

// The box around every beam's end points, gathered while the beams decode
// (a second walk over a large map's beams cost a third of its decoding).
struct Extent {
    bool empty = true;
    float minX = 0.0f, maxX = 0.0f, minY = 0.0f, maxY = 0.0f;

    void Take(Vec2 p)
    {
        if (empty) {
            minX = maxX = p.x;
            minY = maxY = p.y;
            empty = false;
            return;
        }
        // Finite by now, so plain comparisons (no libm calls) suffice.
        minX = p.x < minX ? p.x : minX;
        maxX = p.x > maxX ? p.x : maxX;
        minY = p.y < minY ? p.y : minY;
        maxY = p.y > maxY ? p.y : maxY;
    }
};

bool DecodeBeams(ByteCursor& cursor, std::vector<Beam>& beams, Extent& extent, std::string& reason)
{
    static const Section kSection{"beam", kMapBeamRecordBytes};
    std::int32_t count = 0;
    if (!ReadCount(cursor, kSection, count, reason))
        return false;
    // Each record is filled in place: a 64-byte beam pushed back was copied
    // with a slow string move, most of the decoding time of a large map.
    beams.reserve(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
        const std::uint8_t* p = cursor.Take(kMapBeamRecordBytes);
        if (p == nullptr) {
            reason = Truncated("beam", i);
            return false;
        }
        // File order: A, B, colour A, colour B, direction, normal.
        Beam& beam = beams.emplace_back();
        beam.a = VecAt(p);
        beam.b = VecAt(p + 8);
        beam.colourA = RgbAt(p + 16);
        beam.colourB = RgbAt(p + 28);
        beam.direction = VecAt(p + 40);
        beam.normal = VecAt(p + 48);
        beam.id = static_cast<std::uint16_t>(i);
        if (!Finite(beam.a) || !Finite(beam.b) || !Finite(beam.direction) || !Finite(beam.normal)) {
            reason = NotFinite("Beam", i);
            return false;
        }
        extent.Take(beam.a);
        extent.Take(beam.b);
    }
    return true;
}

bool DecodeActors(ByteCursor& cursor, std::vector<ActorRecord>& actors, std::string& reason)
{
    static const Section kSection{"actor", kActorHeaderBytes};
    std::int32_t count = 0;
    if (!ReadCount(cursor, kSection, count, reason))
        return false;
    actors.reserve(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
        const std::uint8_t* p = cursor.Take(kActorHeaderBytes);
        if (p == nullptr) {
            reason = Truncated("actor", i);
            return false;
        }
        ActorRecord actor;
        actor.type = Int32At(p);
        actor.x = FloatAt(p + 4);
        actor.y = FloatAt(p + 8);
        actor.angle = FloatAt(p + 12);
        const std::size_t extra = static_cast<std::size_t>(ActorRecordBytes(actor.type) - kActorHeaderBytes);
        const std::uint8_t* q = nullptr;
        if (extra > 0 && (q = cursor.Take(extra)) == nullptr) {
            reason = Truncated("actor", i);
            return false;
        }
        switch (actor.type) {
        case kTypeSwitch:
            CopyNameField(actor.name, q);
            break;
        case kTypeLaser:
            CopyNameField(actor.name, q);
            actor.onTime = FloatAt(q + 16);
            actor.offTime = FloatAt(q + 20);
            actor.startDelay = FloatAt(q + 24);
            actor.startsOn = q[28] != 0;
            break;
        case kTypeEmitter:
            CopyNameField(actor.name, q);
            actor.onTime = FloatAt(q + 16);
            actor.offTime = FloatAt(q + 20);
            actor.startsOn = q[24] != 0;
            break;
        case kTypeBrick:
            actor.halfWidth = FloatAt(q);
            actor.halfHeight = FloatAt(q + 4);
            break;
        default:
            break;
        }
        if (!Finite(actor.x) || !Finite(actor.y) || !Finite(actor.angle) || !Finite(actor.halfWidth) ||
            !Finite(actor.halfHeight)) {
            reason = NotFinite("Actor", i);
            return false;
        }
        actors.push_back(actor);
    }
    return true;
}

bool DecodeTargets(ByteCursor& cursor, std::vector<TargetRecord>& targets, std::string& reason)
{
    static const Section kSection{"target", kTargetRecordBytes};
    std::int32_t count = 0;
    if (!ReadCount(cursor, kSection, count, reason))
        return false;
    targets.reserve(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
        const std::uint8_t* p = cursor.Take(kTargetRecordBytes);
        if (p == nullptr) {
            reason = Truncated("target", i);
            return false;
        }
        TargetRecord target;
        target.x = FloatAt(p);
        target.y = FloatAt(p + 4);
        CopyNameField(target.name, p + 8);
        if (!Finite(target.x) || !Finite(target.y)) {
            reason = NotFinite("Target", i);
            return false;
        }
        targets.push_back(target);
    }
    return true;
}

bool DecodeRotators(ByteCursor& cursor, std::vector<RotatorDef>& rotators, std::string& reason)
{
    static const Section kSection{"rotator", kRotatorRecordBytes};
    std::int32_t count = 0;
    if (!ReadCount(cursor, kSection, count, reason))
        return false;
    rotators.reserve(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
        const std::uint8_t* p = cursor.Take(kRotatorRecordBytes);
        if (p == nullptr) {
            reason = Truncated("rotator", i);
            return false;
        }
        RotatorDef def;
        const float x = FloatAt(p), y = FloatAt(p + 4), radius = FloatAt(p + 8);
        if (!Finite(x) || !Finite(y) || !Finite(radius)) {
            reason = NotFinite("Rotator", i);
            return false;
        }
        def.area = HullCircle(radius, x, y);
        CopyNameField(def.name, p + 12);
        CopyNameField(def.targetName, p + 28);
        CopyNameField(def.activateName, p + 44);
        def.stepAngle = Int32At(p + 60);
        def.speed = FloatAt(p + 64);
        def.pauseTime = FloatAt(p + 68);
        def.pingPong = p[72] != 0;
        def.loops = p[73] != 0;
        rotators.push_back(def);
    }
    return true;
}

bool DecodeMovers(ByteCursor& cursor, std::vector<MoverDef>& movers, std::string& reason)
{
    static const Section kSection{"mover", kMoverRecordBytes};
    std::int32_t count = 0;
    if (!ReadCount(cursor, kSection, count, reason))
        return false;
    movers.reserve(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
        const std::uint8_t* p = cursor.Take(kMoverRecordBytes);
        if (p == nullptr) {
            reason = Truncated("mover", i);
            return false;
        }
        MoverDef def;
        const float x = FloatAt(p), y = FloatAt(p + 4), halfWidth = FloatAt(p + 8), halfHeight = FloatAt(p + 12);
        if (!Finite(x) || !Finite(y) || !Finite(halfWidth) || !Finite(halfHeight)) {
            reason = NotFinite("Mover", i);
            return false;
        }
        def.area = Rect(2.0f * halfWidth, 2.0f * halfHeight, x, y);
        CopyNameField(def.name, p + 16);
        CopyNameField(def.targetNameA, p + 32);
        CopyNameField(def.targetNameB, p + 48);
        CopyNameField(def.activateName, p + 64);
        def.travelTime = FloatAt(p + 80);
        def.waitTime = FloatAt(p + 84);
        def.startDelay = FloatAt(p + 88);
        def.loops = p[92] != 0;
        movers.push_back(def);
    }
    return true;
}

bool DecodeTriggers(ByteCursor& cursor, std::vector<TriggerDef>& triggers, std::string& reason)
{
    static const Section kSection{"trigger", kTriggerRecordBytes};
    std::int32_t count = 0;
    if (!ReadCount(cursor, kSection, count, reason))
        return false;
    triggers.reserve(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
        const std::uint8_t* p = cursor.Take(kTriggerRecordBytes);
        if (p == nullptr) {
            reason = Truncated("trigger", i);
            return false;
        }
        TriggerDef def;
        const float x = FloatAt(p), y = FloatAt(p + 4), halfWidth = FloatAt(p + 8), halfHeight = FloatAt(p + 12);
        if (!Finite(x) || !Finite(y) || !Finite(halfWidth) || !Finite(halfHeight)) {
            reason = NotFinite("Trigger", i);
            return false;
        }
        def.area = Rect(2.0f * halfWidth, 2.0f * halfHeight, x, y);
        CopyNameField(def.activateName, p + 16);
        def.once = p[32] != 0;
        triggers.push_back(def);
    }
    return true;
}

// The grid spans the beams' end points plus 1000 units above and below, in
// cells of 250 units; a map whose extent asks for more cells than the grid
// makes is refused here rather than played as an empty world.
bool FitsGrid(const Extent& extent, std::string& reason)
{
    if (extent.empty)
        return true;
    if (!SectorGrid::FitsExtent(extent.maxX - extent.minX, extent.maxY - extent.minY)) {
        reason = LogFormat("The beams span %.0f x %.0f units, more than the sector grid can hold\n",
                           double(extent.maxX) - double(extent.minX), double(extent.maxY) - double(extent.minY));
        return false;
    }
    return true;
}

} // namespace

std::string MapFilePath(const std::string& root, const std::string& name)
{
    const std::string relative = "Data/Maps/" + name + ".map";
    if (root.empty() || root == ".")
        return relative;
    return root + "/" + relative;
}

bool DecodeMapFile(const std::uint8_t* bytes, std::size_t size, MapFileContents& out, std::string& reason)
{
    if (bytes == nullptr && size > 0) {
        reason = "No map bytes\n";
        return false;
    }
    ByteCursor cursor(bytes, size);
    MapFileContents map;
    Extent extent;
    if (!DecodeBeams(cursor, map.beams, extent, reason) || !DecodeActors(cursor, map.actors, reason) ||
        !DecodeTargets(cursor, map.targets, reason) || !DecodeRotators(cursor, map.rotators, reason) ||
        !DecodeMovers(cursor, map.movers, reason) || !DecodeTriggers(cursor, map.triggers, reason) ||
        !FitsGrid(extent, reason))
        return false;
    out = std::move(map);
    return true;
}

bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes, std::int64_t sizeCap)
{
    // The size comes from the file rule, never from seeking an open handle:
    // a directory opens and "seeks" to an absurd end on some systems.
    const DataFileVerdict verdict = InspectDataFile(path, sizeCap);
    if (verdict.state != DataFileState::Readable)
        return false;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return false;
    std::vector<std::uint8_t> data(static_cast<std::size_t>(verdict.size));
    const bool ok = std::fread(data.data(), 1, data.size(), file) == data.size();
    std::fclose(file);
    if (!ok)
        return false;
    bytes = std::move(data);
    return true;
}

bool ReadMapFile(const std::string& path, MapFileContents& out, std::string& reason)
{
    const DataFileVerdict verdict = InspectDataFile(path, kMapFileSizeCap);
    if (verdict.state == DataFileState::Refused) {
        reason = DataFileRefusal(path, verdict);
        return false;
    }
    // Read into a buffer that is not zeroed first: every byte is read over.
    const std::size_t size = static_cast<std::size_t>(verdict.size);
    std::unique_ptr<std::uint8_t[]> bytes(new std::uint8_t[size > 0 ? size : 1]);
    std::FILE* file = verdict.state == DataFileState::Readable ? std::fopen(path.c_str(), "rb") : nullptr;
    const bool read = file != nullptr && std::fread(bytes.get(), 1, size, file) == size;
    if (file != nullptr)
        std::fclose(file);
    if (!read) {
        reason = LogFormat("Cannot open %s\n", path.c_str());
        return false;
    }
    return DecodeMapFile(bytes.get(), size, out, reason);
}

#include "MapWriter.h"

#include "ModelFile.h"

#include <cstdio>
#include <cstring>
#include <memory>

int MapActorRecordBytes(std::int32_t type)
{
    switch (type) {
    case kMapTypeSwitch: return 32;
    case kMapTypeLaser: return 45;
    case kMapTypeEmitter: return 41;
    case kMapTypeBrick: return 24;
    default: return 16;
    }
}

void MapWriter::Int32(std::int32_t value)
{
    const auto bits = static_cast<std::uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8)
        bytes.push_back(static_cast<std::uint8_t>(bits >> shift));
}

void MapWriter::Float(float value)
{
    std::int32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    Int32(bits);
}

void MapWriter::Byte(std::uint8_t value) { bytes.push_back(value); }

void MapWriter::Name(std::string_view name)
{
    const std::size_t length = name.size() < kMapNameMaxLength ? name.size() : kMapNameMaxLength;
    bytes.insert(bytes.end(), name.begin(), name.begin() + static_cast<std::ptrdiff_t>(length));
    bytes.insert(bytes.end(), kMapNameFieldSize - length, 0);
}

void MapWriter::BeamRecord(const Beam& beam) { AppendBeamRecord(bytes, beam); }

void MapWriter::Actor(const MapActor& actor)
{
    Int32(actor.type);
    Float(actor.position.x);
    Float(actor.position.y);
    Float(actor.angle);
    switch (actor.type) {
    case kMapTypeSwitch:
        Name(actor.name);
        break;
    case kMapTypeLaser:
        Name(actor.name);
        Float(actor.onTime);
        Float(actor.offTime);
        Float(actor.startDelay);
        Byte(actor.startsOn ? 1 : 0);
        break;
    case kMapTypeEmitter:
        Name(actor.name);
        Float(actor.onTime);
        Float(actor.offTime);
        Byte(actor.startsOn ? 1 : 0);
        break;
    case kMapTypeBrick:
        Float(actor.halfWidth);
        Float(actor.halfHeight);
        break;
    default:
        break;
    }
}

void MapWriter::Target(const MapTarget& target)
{
    Float(target.position.x);
    Float(target.position.y);
    Name(target.name);
}

void MapWriter::Rotator(const MapRotator& rotator)
{
    Float(rotator.position.x);
    Float(rotator.position.y);
    Float(rotator.radius);
    Name(rotator.name);
    Name(rotator.targetName);
    Name(rotator.activateName);
    Int32(rotator.stepAngle);
    Float(rotator.speed);
    Float(rotator.pauseTime);
    Byte(rotator.pingPong ? 1 : 0);
    Byte(rotator.loops ? 1 : 0);
}

void MapWriter::Mover(const MapMover& mover)
{
    Float(mover.position.x);
    Float(mover.position.y);
    Float(mover.halfWidth);
    Float(mover.halfHeight);
    Name(mover.name);
    Name(mover.targetNameA);
    Name(mover.targetNameB);
    Name(mover.activateName);
    Float(mover.travelTime);
    Float(mover.waitTime);
    Float(mover.startDelay);
    Byte(mover.loops ? 1 : 0);
}

void MapWriter::Trigger(const MapTrigger& trigger)
{
    Float(trigger.position.x);
    Float(trigger.position.y);
    Float(trigger.halfWidth);
    Float(trigger.halfHeight);
    Name(trigger.activateName);
    Byte(trigger.once ? 1 : 0);
}

namespace {

template <typename Record, typename Put>
void Section(MapWriter& writer, const std::vector<Record>& records, Put put)
{
    writer.Int32(static_cast<std::int32_t>(records.size()));
    for (const Record& record : records)
        put(writer, record);
}

void CheckName(std::vector<std::string>& out, const char* section, std::size_t index,
               const std::string& name)
{
    if (!FitsMapName(name))
        out.push_back(std::string(section) + " " + std::to_string(index) + ": " + name);
}

}  // namespace

void MapWriter::Map(const MapContents& map)
{
    Section(*this, map.beams, [](MapWriter& w, const Beam& b) { w.BeamRecord(b); });
    Section(*this, map.actors, [](MapWriter& w, const MapActor& a) { w.Actor(a); });
    Section(*this, map.targets, [](MapWriter& w, const MapTarget& t) { w.Target(t); });
    Section(*this, map.rotators, [](MapWriter& w, const MapRotator& r) { w.Rotator(r); });
    Section(*this, map.movers, [](MapWriter& w, const MapMover& m) { w.Mover(m); });
    Section(*this, map.triggers, [](MapWriter& w, const MapTrigger& t) { w.Trigger(t); });
}

std::vector<std::uint8_t> EncodeMap(const MapContents& map)
{
    MapWriter writer;
    writer.Map(map);
    return writer.Bytes();
}

std::vector<std::string> OversizedMapNames(const MapContents& map)
{
    std::vector<std::string> out;
    for (std::size_t i = 0; i < map.actors.size(); ++i)
        CheckName(out, "actor", i, map.actors[i].name);
    for (std::size_t i = 0; i < map.targets.size(); ++i)
        CheckName(out, "target", i, map.targets[i].name);
    for (std::size_t i = 0; i < map.rotators.size(); ++i) {
        CheckName(out, "rotator", i, map.rotators[i].name);
        CheckName(out, "rotator", i, map.rotators[i].targetName);
        CheckName(out, "rotator", i, map.rotators[i].activateName);
    }
    for (std::size_t i = 0; i < map.movers.size(); ++i) {
        CheckName(out, "mover", i, map.movers[i].name);
        CheckName(out, "mover", i, map.movers[i].targetNameA);
        CheckName(out, "mover", i, map.movers[i].targetNameB);
        CheckName(out, "mover", i, map.movers[i].activateName);
    }
    for (std::size_t i = 0; i < map.triggers.size(); ++i)
        CheckName(out, "trigger", i, map.triggers[i].activateName);
    return out;
}

bool WriteMapBytes(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "wb"), std::fclose);
    if (!file)
        return false;
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size())
        return false;
    return std::fclose(file.release()) == 0;
}

bool WriteMapFile(const std::string& path, const MapContents& map)
{
    if (!OversizedMapNames(map).empty())
        return false;
    return WriteMapBytes(path, EncodeMap(map));
}

#pragma once

#include "Beam.h"
#include "Vec2.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Writer of map files "Data/Maps/<name>.map": little-endian, no header, six
// sections in this order, each an int32 count followed by its records:
//   1 terrain beams, 56 bytes each (the model files' beam record:
//     A, B, colour A, colour B, unit direction, unit normal),
//   2 actors: 16 common bytes (int32 type, f32 x, y, angle in degrees) and
//     the type's extra fields: switch (6) name -> 32 bytes; laser (7) name,
//     on, off, start delay, u8 starts on -> 45; emitter (15) name, on, off,
//     u8 starts on -> 41; brick (16) half width, half height -> 24; others 16,
//   3 targets, 24 bytes: f32 x, y, name,
//   4 rotating platforms, 74 bytes,
//   5 moving platforms, 93 bytes,
//   6 trigger zones, 33 bytes.
// Every name field is 16 bytes: at most 15 characters and zero padding.
// The game only reads maps; this writer serves the data generator and tests.

constexpr int kMapNameFieldSize = 16;
constexpr int kMapNameMaxLength = kMapNameFieldSize - 1;
constexpr int kMapTargetRecordBytes = 24;
constexpr int kMapRotatorRecordBytes = 74;
constexpr int kMapMoverRecordBytes = 93;
constexpr int kMapTriggerRecordBytes = 33;

// Actor types whose records carry extra fields.
constexpr std::int32_t kMapTypeSwitch = 6;
constexpr std::int32_t kMapTypeLaser = 7;
constexpr std::int32_t kMapTypeEmitter = 15;
constexpr std::int32_t kMapTypeBrick = 16;

// Bytes of an actor record of the given type (16, 24, 32, 41 or 45).
int MapActorRecordBytes(std::int32_t type);

// Whether a name fits a 16-byte name field (15 characters and the zero).
inline bool FitsMapName(std::string_view name) { return name.size() <= kMapNameMaxLength; }

// One record of section 2. Only the fields of the record's type are written.
struct MapActor {
    std::int32_t type = 0;
    Vec2 position;
    float angle = 0.0f;       // degrees
    std::string name;         // switch, laser, emitter
    float onTime = 0.0f;      // laser, emitter (seconds)
    float offTime = 0.0f;     // laser, emitter (seconds)
    float startDelay = 0.0f;  // laser (seconds)
    bool startsOn = false;    // laser, emitter
    float halfWidth = 0.0f;   // brick
    float halfHeight = 0.0f;  // brick
};

struct MapTarget {
    Vec2 position;
    std::string name;
};

// Defaults are those the game gives a record it builds itself.
struct MapRotator {
    Vec2 position;  // centre of the platform's circle
    float radius = 0.0f;
    std::string name = "EMPTY";
    std::string targetName = "EMPTY";
    std::string activateName = "EMPTY";
    std::int32_t stepAngle = 0;  // degrees
    float speed = 1.0f;
    float pauseTime = 0.0f;  // seconds
    bool pingPong = false;
    bool loops = true;
};

struct MapMover {
    Vec2 position;  // centre of the platform's box
    float halfWidth = 0.0f;
    float halfHeight = 0.0f;
    std::string name = "EMPTY";
    std::string targetNameA = "EMPTY";
    std::string targetNameB = "EMPTY";
    std::string activateName = "EMPTY";
    float travelTime = 3.0f;  // seconds
    float waitTime = 1.0f;    // seconds
    float startDelay = 0.0f;  // seconds
    bool loops = true;
};

struct MapTrigger {
    Vec2 position;  // centre of the zone's box
    float halfWidth = 0.0f;
    float halfHeight = 0.0f;
    std::string activateName = "EMPTY";
    bool once = false;
};

// Everything a map file holds, section by section.
struct MapContents {
    std::vector<Beam> beams;  // stamp and id are not stored
    std::vector<MapActor> actors;
    std::vector<MapTarget> targets;
    std::vector<MapRotator> rotators;
    std::vector<MapMover> movers;
    std::vector<MapTrigger> triggers;
};

// Appends fields and records to a byte buffer. The primitive calls let tests
// build damaged files (wrong counts, short sections) as well as good ones.
class MapWriter {
public:
    void Int32(std::int32_t value);
    void Float(float value);
    void Byte(std::uint8_t value);
    // 16 bytes: the first 15 characters of the name, then zeros.
    void Name(std::string_view name);

    void BeamRecord(const Beam& beam);
    void Actor(const MapActor& actor);
    void Target(const MapTarget& target);
    void Rotator(const MapRotator& rotator);
    void Mover(const MapMover& mover);
    void Trigger(const MapTrigger& trigger);

    // The six sections, counts included.
    void Map(const MapContents& map);

    const std::vector<std::uint8_t>& Bytes() const { return bytes; }

private:
    std::vector<std::uint8_t> bytes;
};

// The bytes of a whole map file.
std::vector<std::uint8_t> EncodeMap(const MapContents& map);

// Names in the map that do not fit their field, as "<section> <index>: <name>"
// lines; empty when every name fits.
std::vector<std::string> OversizedMapNames(const MapContents& map);

// Writes bytes to a file (created or replaced). False when the file could not
// be written completely.
bool WriteMapBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
// Encodes and writes a map. False when a name is too long (nothing is
// written then) or the file could not be written.
bool WriteMapFile(const std::string& path, const MapContents& map);

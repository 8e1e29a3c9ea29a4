#pragma once

#include "Beam.h"
#include "HullCircle.h"
#include "Rect.h"

#include <cstdint>
#include <memory>
#include <vector>

class Entity;

// Map files "Data/Maps/<name>.map": little-endian, no header, six sections
// (beams, actors, targets, rotators, movers, trigger zones), each an int32
// count followed by its records. The sizes below are the records' bytes in
// the file; the in-memory records keep only what the game uses.
constexpr int kMapNameFieldBytes = 16;      // 15 characters and a zero byte
constexpr int kMapBeamRecordBytes = 56;     // A, B, colour A, colour B, direction, normal
constexpr int kActorHeaderBytes = 16;       // int32 type, f32 x, y, angle
constexpr int kSwitchRecordBytes = 32;      // header, name
constexpr int kLaserRecordBytes = 45;       // header, name, on, off, delay, u8 starts on
constexpr int kEmitterRecordBytes = 41;     // header, name, on, off, u8 starts on
constexpr int kBrickRecordBytes = 24;       // header, half width, half height
constexpr int kTargetRecordBytes = 24;      // f32 x, y, name
constexpr int kRotatorRecordBytes = 74;
constexpr int kMoverRecordBytes = 93;
constexpr int kTriggerRecordBytes = 33;

// A map's longest name is 63 characters (it must fit Game::mapName).
constexpr int kGameMapNameBytes = 64;

// Entity types that carry extra bytes in the actor section, and the four
// types that have sections of their own.
enum : std::int32_t {
    kTypeSwitch = 6,
    kTypeLaser = 7,
    kTypeEmitter = 15,
    kTypeBrick = 16,
    kTypeRotator = 100,
    kTypeMover = 101,
    kTypeTarget = 102,
    kTypeTriggerAction = 103,
};

// The byte length of an actor record of the given type.
constexpr int ActorRecordBytes(std::int32_t type)
{
    switch (type) {
    case kTypeSwitch: return kSwitchRecordBytes;
    case kTypeLaser: return kLaserRecordBytes;
    case kTypeEmitter: return kEmitterRecordBytes;
    case kTypeBrick: return kBrickRecordBytes;
    default: return kActorHeaderBytes;
    }
}

// Rotating platform (type 100), 74 bytes in the file:
//   0 f32 x, 4 f32 y (centre of the area and the platform's position),
//   8 f32 radius, 12 name, 28 targetName, 44 activateName (16 bytes each),
//   60 int32 stepAngle, 64 f32 speed, 68 f32 pauseTime, 72 u8 pingPong,
//   73 u8 loops.
struct RotatorDef {
    HullCircle area;
    char name[kMapNameFieldBytes] = "EMPTY";
    char targetName[kMapNameFieldBytes] = "EMPTY";
    char activateName[kMapNameFieldBytes] = "EMPTY";
    std::int32_t stepAngle = 0; // degrees
    float speed = 1.0f;
    float pauseTime = 0.0f; // seconds
    bool pingPong = false;
    bool loops = true;
};

// Moving platform (type 101), 93 bytes in the file:
//   0 f32 x, 4 f32 y (centre of the area and the platform's position),
//   8 f32 half width, 12 f32 half height, 16 name, 32 targetNameA,
//   48 targetNameB, 64 activateName (16 bytes each), 80 f32 travelTime,
//   84 f32 waitTime, 88 f32 startDelay, 92 u8 loops.
struct MoverDef {
    Rect area;
    char name[kMapNameFieldBytes] = "EMPTY";
    char targetNameA[kMapNameFieldBytes] = "EMPTY";
    char targetNameB[kMapNameFieldBytes] = "EMPTY";
    char activateName[kMapNameFieldBytes] = "EMPTY";
    float travelTime = 3.0f; // seconds
    float waitTime = 1.0f;
    float startDelay = 0.0f;
    bool loops = true;
};

// Trigger zone (type 103), 33 bytes in the file:
//   0 f32 x, 4 f32 y (centre of the area and the zone's position),
//   8 f32 half width, 12 f32 half height, 16 activateName, 32 u8 once.
struct TriggerDef {
    Rect area;
    char activateName[kMapNameFieldBytes] = "EMPTY";
    bool once = false;
};

// Target (type 102), 24 bytes in the file: 0 f32 x, 4 f32 y, 8 name.
struct TargetRecord {
    float x = 0.0f;
    float y = 0.0f;
    char name[kMapNameFieldBytes] = "EMPTY";
};

// One record of the actor section: the common header and the extra fields
// of switches (name), lasers (name, times, starts on), emitters (name, times,
// starts on) and bricks (half sizes). Fields a type does not have stay zero.
struct ActorRecord {
    std::int32_t type = 0;
    float x = 0.0f;
    float y = 0.0f;
    float angle = 0.0f; // degrees
    char name[kMapNameFieldBytes] = {};
    float onTime = 0.0f;
    float offTime = 0.0f;
    float startDelay = 0.0f; // lasers only
    bool startsOn = false;
    float halfWidth = 0.0f;  // bricks only
    float halfHeight = 0.0f;
};

// Copies a 16-byte name field; the last byte is always forced to zero so a
// field without a terminator still reads as a string of at most 15 characters.
void CopyNameField(char (&destination)[kMapNameFieldBytes], const void* source);

// Map object names match ignoring case. Null reads as empty.
bool NamesEqual(const char* a, const char* b);

// The loaded map. mapBeams and entityTemplates are what the file held (the
// templates are never spawned); liveBeams is the copy a level plays on,
// moved by platforms and indexed by the sector grid. liveBeams is only
// resized by level start, so pointers into it stay valid during a level.
struct MapData {
    std::vector<Beam> mapBeams;
    std::vector<std::unique_ptr<Entity>> entityTemplates;
    std::vector<Beam> liveBeams;

    MapData();
    ~MapData();
    MapData(MapData&&) noexcept;
    MapData& operator=(MapData&&) noexcept;
    MapData(const MapData&) = delete;
    MapData& operator=(const MapData&) = delete;
};

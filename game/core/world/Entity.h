#pragma once

#include "EntityRef.h"
#include "HullCircle.h"
#include "Vec2.h"

#include <cstdint>
#include <memory>
#include <vector>

class Sector;
class DrawSink;
class EntityList;
struct Beam;
struct ActorRecord;

// The shared type number space of the map format and the factory.
using EntityType = std::int32_t;

namespace EntityTypes {
constexpr EntityType Player = -1;
constexpr EntityType BlueTurret = 0;
constexpr EntityType RedTurret = 1;
constexpr EntityType BlueTank = 2;
constexpr EntityType FuelPod = 3;
constexpr EntityType Scientist = 4;
constexpr EntityType Generator = 5;
constexpr EntityType Switch = 6;
constexpr EntityType Laser = 7;
constexpr EntityType TreeFirst = 8;
constexpr EntityType TreeLast = 13;
constexpr EntityType CheckPoint = 14;
constexpr EntityType Emitter = 15;
constexpr EntityType Brick = 16;
constexpr EntityType Mine = 17;
constexpr EntityType Missile = 18;
constexpr EntityType Lander = 19;
constexpr EntityType Flea = 20;
constexpr EntityType Sweeper = 22;
constexpr EntityType SuperTurret = 24;
constexpr EntityType Station = 25;
constexpr EntityType Rotator = 100;
constexpr EntityType Mover = 101;
constexpr EntityType Target = 102;
constexpr EntityType TriggerAction = 103;
constexpr EntityType PlayerDebrisFirst = 1000;
constexpr EntityType PlayerDebrisLast = 1006;
constexpr EntityType Debris = 1007;
} // namespace EntityTypes

// The base of every actor and of the player's ship: pose (current and
// previous, for interpolated drawing), hit points, score value, the hull of
// collision circles and the cells of the sector grid it stands in. Deleting
// an entity nulls every EntityRef to it.
class Entity {
public:
    std::uint32_t drawStamp = 0;
    bool dead = false;
    EntityType type = 0;
    float health = 0.0f;
    Vec2 position;
    Vec2 previousPosition;
    float angle = 0.0f; // degrees
    float previousAngle = 0.0f;
    std::vector<Sector*> sectors; // non-owning
    // Beside each cell of `sectors`, the entity's place in the cell's entity
    // list (Sector::AddEntity), so leaving needs no search; kNoSlot for a
    // listed cell the entity did not enter itself.
    std::vector<std::uint32_t> sectorSlots;
    static constexpr std::uint32_t kNoSlot = 0xFFFFFFFFu;
    std::vector<HullCircle> shapes;
    std::int32_t points = 0;

    Entity() = default;
    // Copies every field; the sector list keeps the same cell pointers but the
    // copy is not entered into those cells. References to the original do not
    // follow the copy.
    Entity(const Entity& other);
    Entity& operator=(const Entity&) = delete;

    // The operations through which the game drives every actor, in their
    // fixed slot order.
    virtual void Spawn(float x, float y, float angle) = 0;                        // 0
    virtual void Update() = 0;                                                    // 1
    virtual void Draw(float alpha) = 0;                                           // 2
    virtual void Damage(float amount);                                            // 3
    virtual bool OnContact(Entity* other);                                        // 4
    virtual bool CollideShapes(const std::vector<HullCircle>& circles, Vec2* normalOut); // 5
    virtual void Die() = 0;                                                       // 6
    virtual Entity* Clone() const = 0;                                            // 7
    virtual void EnterSectors();                                                  // 8
    virtual void PlaceShapes(float x, float y);                                   // 9
    virtual void RotateShapes(float angle);                                       // 10
    virtual void PostLoad();                                                      // 11
    virtual void Activate(Entity* source);                                        // 12

    virtual ~Entity();

    // What differs by actor class beyond the slots above. Each class sets its
    // one type in its constructor, so these answer as a switch on `type`
    // would.

    // Fills `shapes` (emptied by ResetShapes) with the hull: by default the
    // circles of the type's model (see HullModelName).
    virtual void BuildHull();
    // Whether a platform carrying this live entity drops it now; by default
    // it keeps it. An override may also forget its carrier.
    virtual bool LeavesCarrier();
    // Moves an area the entity owns in world coordinates (a zone, a path
    // box) by the offset with which the sector grid moves the world; by
    // default the entity owns none.
    virtual void MoveArea(Vec2 offset);
    // The name by which triggers find the entity (see
    // Game::FindEntitiesByName); null for an entity without one.
    virtual const char* OwnName() const;
    // Runs once at level start, after every template is spawned: takes over
    // the live beams and actors of its area; by default nothing.
    virtual void Link(std::vector<Beam>& liveBeams, EntityList& entities);
    // Takes what its map record (the actor section) holds for its class
    // beyond the type, place and angle the loader has set: names, timings,
    // sizes. By default the record holds nothing more.
    virtual void ReadMapRecord(const ActorRecord& record);

    // Leaves every cell of `sectors` and empties the list.
    void LeaveSectors();
    // Lists the cell and enters it.
    void JoinSector(Sector* cell);
    // Enters every cell listed in `sectors` from index `first` on (cells a
    // query has just appended).
    void EnterListedSectors(std::size_t first);
    // Forgets every cell without touching them (the grid is going).
    void ForgetSectors();
    // The cell moved the entity from one place in its list to another.
    void MovedInSector(const Sector* cell, std::uint32_t from, std::uint32_t to);
    // Rebuilds the hull (BuildHull), places and rotates it through the
    // slots, and clears the dead flag.
    void ResetShapes();
    // Debugging view of the hull circles in the model's frame.
    void DrawShapes(DrawSink& sink) const;
    // A Damage that acts only while health > 0, so Die runs once.
    void DamageWhileAlive(float amount);

    // The token that EntityRef handles share.
    const std::shared_ptr<EntityLife>& Life();

protected:
    // Appends the circles of the named model of the current world (nothing
    // for a null name, without a world, models or such a model).
    static void AppendModelHull(const char* name, std::vector<HullCircle>& out);
    // The common start of every Spawn: pose and previous pose, then the hull
    // (which also clears the dead flag).
    void SpawnPose(float x, float y, float angle);
    // The common end of every Die: does nothing and answers false when the
    // entity is already dead; otherwise flags it dead, pays its points to the
    // player and answers true.
    bool MarkDead();
    // The start of every Update: the current pose becomes the previous pose.
    void SavePose();
    // The end of the update of an actor that moves: hull placed and rotated,
    // then re-registered in the grid.
    void Reregister();

private:
    std::shared_ptr<EntityLife> life;
};

template <typename T>
void EntityRef<T>::Set(T* entity)
{
    if (entity == nullptr)
        life.reset();
    else
        life = static_cast<Entity*>(entity)->Life();
}

// Radius of the one circle a debris piece gets as its hull.
constexpr float kDebrisHullRadius = 150.0f;

// The model whose hull a type takes (null when the type has none).
const char* HullModelName(EntityType type);

// The reaping predicate of an entity list's pass: a dead entity leaves the
// grid, is deleted, and true is answered; a live one is updated.
bool UpdateOrReapEntity(Entity* entity);
// Whether a platform drops what it carries: null, dead, or what its
// LeavesCarrier answers (an awake missile; the ship once it no longer
// stands, which also clears its carrier).
bool ShouldReleaseCarried(Entity* entity);
// The same for a platform's rider handle; a rider already deleted is dropped.
bool ShouldReleaseCarried(const EntityRef<>& rider);

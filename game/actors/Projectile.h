#pragma once

#include "Entity.h"
#include "EntityRef.h"
#include "HullCircle.h"
#include "Vec2.h"

#include <cstdint>
#include <list>
#include <vector>

class Entity;
class Sector;

// The base of every shot. Shots are not entities: they live in the Game's
// two shot lists, register in the cells' projectile lists and search for the
// actor they hit themselves.
class Projectile {
public:
    float life = 0.0f; // seconds
    float damage = 0.0f;
    Vec2 position;
    Vec2 previousPosition;
    Vec2 velocity; // per tick
    float angle = 0.0f; // degrees
    float previousAngle = 0.0f;
    bool dead = false;
    std::uint32_t drawStamp = 0;
    std::vector<Sector*> sectors; // non-owning
    std::vector<HullCircle> shapes;
    std::int32_t kind = 0; // 0 PlayerShot, 1 EnemyBullet, 2 Seeker
    // Only compared with a search result; a deleted owner reads null, so a
    // new actor at its address never matches.
    EntityRef<> owner;

    Projectile() = default;
    Projectile(const Projectile&) = delete;
    Projectile& operator=(const Projectile&) = delete;
    virtual ~Projectile() = default;

    virtual void Spawn(float x, float y, float vx, float vy, float angle) = 0; // 0
    virtual void Update() = 0;                                                 // 1
    virtual void Draw(float alpha) = 0;                                        // 2
    virtual bool HitsTerrain(Vec2* normal);                                    // 3
    virtual Entity* FindVictim();                                              // 4
    virtual void EnterSectors();                                               // 5

    // Actors every shot passes through: platforms, checkpoints, targets,
    // trigger zones, debris and scientists.
    static bool PassesThrough(EntityType type);

    // The kind's model hull appended, then placed and rotated.
    void ResetShapes();
    void PlaceShapes(float x, float y);
    void RotateShapes(float angle);
    // Leaves every cell (all occurrences) and empties the list.
    void LeaveSectors();

    // Seconds one update takes off the life.
    static constexpr float kTick = 0.02f;
    // No shot moves this far in one tick; the terrain test ignores a longer
    // (or non-numeric) motion rather than sample it.
    static constexpr float kLongestMove = 100000.0f;

protected:
    // The spawn every kind shares: the kind, both poses, a fresh hull, the
    // life and damage given, alive.
    void Launch(std::int32_t kindNumber, Vec2 at, Vec2 perTick, float degrees, float lifeSeconds,
                float damageDealt);
    // The steps the kinds' updates share. Expire answers whether the shot
    // expired in this update (it is flagged dead; the update goes on).
    bool Expire();
    // Move, then wrap at the world width (both positions move together).
    void MoveAndWrap();
    // The move alone: the position becomes the previous one and moves on.
    void Move();
    // The wrap alone; answers the shift applied to x (0, W or -W).
    float Wrap();
    // The sub-step terrain walk; on a hit answers true with the sub-step
    // point and the normal, and flags the shot dead.
    bool WalkTerrain(Vec2& point, Vec2& normal);
    // The walk with sparks thrown off the hit point along the normal.
    bool WalkTerrainWithSparks();
    // Leave and enter the grid with the hull where it stands.
    void Reregister();
    // The shared drawing with the given model's beams, mirrored.
    void DrawModel(const char* model, float alpha) const;
};

// Kind 0 a PlayerShot, 1 an EnemyBullet, 2 a Seeker; any other number: null.
Projectile* CreateProjectile(int kind);

// The remove-if predicate of both shot lists: a dead shot leaves the grid,
// is deleted and true is answered; a live one is updated.
bool UpdateOrReapProjectile(Projectile* projectile);
// Every shot leaves the grid and is deleted, in list order; the list ends empty.
void DeleteProjectiles(std::list<Projectile*>& list);
// One update-or-reap pass over the list; shots appended during the pass are
// updated in it too.
void PassProjectiles(std::list<Projectile*>& list);

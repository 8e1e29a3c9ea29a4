#pragma once

#include "ParticleRef.h"
#include "Entity.h"
#include "EntityRef.h"
#include "GameShip.h"

#include <cstdint>
#include <vector>

struct Beam;
class ThrustParticles;

// Where Player::Spawn puts the ship: position and angle (degrees).
struct RespawnPoint {
    float x = 0.0f;
    float y = 0.0f;
    float angle = 0.0f;
};

// The player's ship. Made once by the Game and never in Game::entities; its
// statistics (score, lives, next extra life) live here too.
class Player : public Entity, public GameShip {
public:
    Vec2 velocity; // per tick
    Vec2 camera;   // top-left of the view
    Vec2 previousCamera;
    std::int32_t score = 0;
    std::int32_t lives = 0;
    std::int32_t scientistsRescued = 0;
    std::int32_t nextExtraLife = 0;
    RespawnPoint respawnPoint;
    EntityRef<> currentCheckPoint;
    // The map template the current checkpoint was cloned from, so it stays
    // lit when the same map restarts; -1 none.
    std::int32_t currentCheckPointTemplate = -1;
    bool landed = false;
    EntityRef<> carrier;             // the platform the standing ship rides
    Beam* landedBeam = nullptr;      // in the level's live beams; valid for the level
    float legAngle = 0.0f;           // -90 retracted .. 0 extended
    bool nearGround = false;
    ParticleRef<ThrustParticles> thrustParticles; // the particle list owns it; reads null once deleted
    std::int32_t fireCooldown = 0;
    float zoom = 0.0f;
    std::int32_t spawnTimer = 0;     // ticks; hidden and immune while above 0
    float fuel = 0.0f;               // 0..300
    float hull = 0.0f;               // 0..100
    float spin = 0.0f;               // degrees per tick
    bool shieldOn = false;
    float shieldAngle = 0.0f;
    std::vector<HullCircle> shieldShapes;
    std::int32_t redShieldTimer = 0;
    std::int32_t hitCooldown = 0;
    bool dying = false;
    std::int32_t endTimer = 0;
    bool loopSoundsOn[2] = {false, false};
    std::int32_t hitsThisTick = 0;
    // Ticks since the terrain, and an actor, last touched the ship (counted
    // up to the hit cooldown): an impact sound marks where a touch begins,
    // and a touch within the hit cooldown of the last one goes on with it.
    std::int32_t ticksSinceTerrainTouch = kHitCooldownTicks;
    std::int32_t ticksSinceActorTouch = kHitCooldownTicks;

    // Every field zero (type -1); the new-game reset and the spawn give the
    // rest their values.
    Player();
    Player(const Player& other) = default;

    void Spawn(float x, float y, float angle) override;
    void Update() override;
    void Draw(float alpha) override;
    void Damage(float amount) override;
    bool OnContact(Entity* other) override;
    bool CollideShapes(const std::vector<HullCircle>& circles, Vec2* normalOut) override;
    void Die() override;
    Entity* Clone() const override;
    void PlaceShapes(float x, float y) override;
    void RotateShapes(float angle) override;
    // The "Player" hull, and the shield's circles from "PlayerShield".
    void BuildHull() override;
    // A platform drops the ship once it no longer stands; the ship then
    // forgets its carrier.
    bool LeavesCarrier() override;

    // The same test as CollideShapes against the shield hull.
    bool CollideShield(const std::vector<HullCircle>& circles, Vec2* normalOut) const;

    // The values of a new game: score 0, lives 3, no checkpoint or carrier,
    // gravity (0, 0.04), next extra life at 20000.
    void ResetStats() override;

    // What the game's passes ask of the ship (GameShip, PlayerSeams.cpp).
    Entity& Body() override { return *this; }
    Vec2 Camera() const override { return camera; }
    Vec2 PreviousCamera() const override { return previousCamera; }
    float Zoom() const override { return zoom; }
    bool Dying() const override { return dying; }
    std::int32_t DeathTicks() const override { return endTimer; }
    void LeaveLevel() override;
    void EnterLevel() override;
    void FinishLevelStart() override;
    void MeetClone(Entity& clone, std::int32_t templateIndex) override;
    void ForgetMap() override;
    ShipTally Tally() const override { return {score, lives, nextExtraLife}; }
    void SetTally(const ShipTally& tally) override;
    // Adds to the score, stopping at the int32 limits instead of overflowing.
    void AddScore(std::int64_t amount);
    // What a completed mission adds to the score: the bonus time plus ten
    // points per whole unit of hull and fuel and a hundred per scientist.
    std::int64_t LevelEndBonus(std::int32_t bonusTime) const;
    // Leaves the platform that carries the ship (its rider list forgets the
    // ship); the caller clears the fields.
    void ReleaseCarrier();

    // Fuel and hull keep whole hundredths, cut toward zero.
    static float Hundredths(float value);

    // Radius around the centre within which the ship registers in the grid.
    static constexpr float kSectorReach = 100.0f;
    static constexpr float kFullFuel = 300.0f;
    static constexpr float kFullHull = 100.0f;
    static constexpr std::int32_t kSpawnTicks = 200;
    static constexpr std::int32_t kHitCooldownTicks = 50;
    static constexpr std::int32_t kFireCooldownTicks = 7;
    static constexpr std::int32_t kExtraLifeStep = 20000;

private:
    // The steps of the tick, in the files named after them.
    void AwardExtraLife();                  // PlayerLevelEnd.cpp
    void RunLevelEnd();                     // PlayerLevelEnd.cpp
    void RunDeathSequence(Vec2 carrierMove); // PlayerDeath.cpp
    void Fly(Vec2 carrierMove, Vec2 f, Vec2 s); // PlayerFlight.cpp
    void Fire(Vec2 s);
    void FollowCamera(Vec2 carrierMove, float right, float left, float below, float above);
    void RegisterInGrid();
    void TerrainPass(Vec2 f, Vec2 s, float axesAngle); // PlayerTerrain.cpp
    void NearGroundPass();
    void ContactPass(Vec2 s);               // PlayerContacts.cpp
    void ThrowWreck();                      // PlayerDeath.cpp
    // The terrain events.
    void Crash(const Beam& beam, Vec2 hitPoint);
    void Scrape(const Beam& beam, Vec2 hitPoint);
    // seamOffset moves the ship next to a beam met across the world's seam.
    void Land(Beam& beam, float axesAngle, Vec2 seamOffset);
    void ImpactSound();
    // Counts a tick with or without a touch; true when this touch begins one.
    static bool TouchBegins(std::int32_t& ticksSinceTouch, bool touching);
};

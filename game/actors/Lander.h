#pragma once

#include "Entity.h"
#include "Scientist.h"

#include <cstdint>

class Sector;

// The abductor: wanders, picks a scientist below, swallows it and becomes a
// mutant.
class Lander : public Entity {
public:
    Vec2 velocity;
    std::int32_t fireTimer = 0;
    bool driftRight = false;
    bool abducting = false;
    bool carrying = false;  // a mutant
    bool mutating = false;
    std::int32_t mutateTicks = 0;
    float phase = 0.0f;      // radians
    EntityRef<Scientist> target;
    std::int32_t searchTimer = 0;
    std::int32_t ticks = 0;

    Lander();

    void Spawn(float x, float y, float angle) override;
    void Update() override;
    void Draw(float alpha) override;
    void Damage(float amount) override;
    void Die() override;
    Entity* Clone() const override;
    // A circle of radius 30 at the centre against the cells' beams: the
    // first beam met gives the normal.
    bool TerrainContact(Vec2* normalOut) const;
    static constexpr float kHullRadius = 30.0f; // the terrain test's one circle
    // Looks down for the ground and an unclaimed scientist near the column
    // above it; answers whether one was chosen (the search ends there).
    bool Search();
    // The tractor beam is drawn this tick.
    bool BeamShows() const;

    static constexpr std::int32_t kPoints = 125;
    static constexpr std::int32_t kMutantPoints = 150;
    static constexpr float kGroundSearch = 500.0f;
    static constexpr float kColumnRadius = 15.0f;
    static constexpr float kCaptureDistance = 35.0f;
    static constexpr float kBeamReach = 150.0f;

private:
    bool Choose(const Sector& cell, Vec2 ground);
    void Abduct();
    void Capture(Scientist& scientist);
};

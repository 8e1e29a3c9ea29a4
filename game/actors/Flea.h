#pragma once

#include "Beam.h"
#include "Entity.h"

#include <cstdint>

class Sector;

// A jumping creature that rests on a beam, shoots, and leaps.
class Flea : public Entity {
public:
    bool landed = false;
    Vec2 velocity;
    float spin = 0.0f;          // degrees per tick
    std::int32_t restTimer = 0;
    std::int32_t fireTimer = 0;
    EntityRef<> carrier;        // the platform carrying it
    Beam* landedBeam = nullptr;  // a live beam

    Flea();

    void Spawn(float x, float y, float angle) override;
    void Update() override;
    void Draw(float alpha) override;
    void Damage(float amount) override;
    void Die() override;
    Entity* Clone() const override;

    static constexpr std::int32_t kPoints = 200;
    static constexpr std::int32_t kRestTicks = 150;
    static constexpr std::int32_t kShotInterval = 50;
    static constexpr float kJumpSpin = 15.0f;
    // The one value of k at which the uprighting leaves the angle alone.
    static constexpr float kUprightStill = 0.1f;

private:
    // F, its right-hand side, and D, its down axis toward the beam.
    void Axes(Vec2& forward, Vec2& down) const;
    void Rest();
    void Jump();
    void Fly();
    void Land(Sector& cell, Beam& beam);
};

#pragma once

#include "Beam.h"
#include "Entity.h"

#include <cstdint>

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
};

#pragma once

#include "Beam.h"
#include "Entity.h"

#include <cstdint>

// One loose glowing line flying free after something broke.
class Debris : public Entity {
public:
    Beam beam;
    Vec2 velocity;
    float spin = 0.0f; // degrees per tick
    std::int32_t age = 0;
    bool splits = false;
    std::int32_t splitTimer = 0;
    bool slowShrink = false;
    bool waiting = false;
    std::int32_t waitTimer = 0;

    Debris();

    void Spawn(float x, float y, float angle) override;
    void Update() override;
    void Draw(float alpha) override;
    bool OnContact(Entity* other) override;
    void Die() override;
    Entity* Clone() const override;
    // One circle of kDebrisHullRadius.
    void BuildHull() override;

private:
    // Two halves from the midpoint, a flash and a small explosion sound.
    void Split();
};

#pragma once

#include "Entity.h"

#include <cstdint>

// A mine layer drifting sideways on a wave.
class Sweeper : public Entity {
public:
    Vec2 velocity;
    std::int32_t layTimer = 0;
    std::int32_t batchCount = 0;
    std::int32_t turnTimer = 0;
    bool driftRight = false;
    float phase = 0.0f; // radians

    Sweeper();

    void Spawn(float x, float y, float angle) override;
    void Update() override;
    void Draw(float alpha) override;
    void Damage(float amount) override;
    void Die() override;
    Entity* Clone() const override;
};

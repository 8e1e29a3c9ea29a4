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
    // A circle of radius 30 at the centre against the cells' beams: the
    // first beam met gives the normal.
    bool TerrainContact(Vec2* normalOut) const;
    static constexpr float kHullRadius = 30.0f; // the terrain test's one circle

    static constexpr std::int32_t kPoints = 300;
    static constexpr int kMineLimit = 50;
    static constexpr float kCeiling = 500.0f; // pushed down above this y

private:
    // One step of the laying cycle (only while fewer than 50 mines live).
    void Lay();
};

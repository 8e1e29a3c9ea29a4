#pragma once

#include "Entity.h"

#include <cstdint>

// A beacon that becomes the ship's respawn point when touched.
class CheckPoint : public Entity {
public:
    float animPhase = 0.0f;  // [0, 2): two frames
    Vec2 homePosition;       // where the respawn point is taken from
    float homeAngle = 0.0f;

    CheckPoint();

    void Spawn(float x, float y, float angle) override;
    void Update() override;
    void Draw(float alpha) override;
    void Damage(float amount) override;
    void Die() override;
    Entity* Clone() const override;
};

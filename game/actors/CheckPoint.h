#pragma once

#include "Entity.h"

#include <cstdint>

// A beacon that becomes the ship's respawn point when touched.
class CheckPoint : public Entity {
public:
    float animPhase = 0.0f;  // [0, 2): two frames
    Vec2 homePosition;       // where the respawn point is taken from
    float homeAngle = 0.0f;
    // Its place among the map's templates (set by the level start), so the
    // ship can find it again after a restart of the same map; -1 unknown.
    std::int32_t templateIndex = -1;

    CheckPoint();

    void Spawn(float x, float y, float angle) override;
    void Update() override;
    void Draw(float alpha) override;
    void Damage(float amount) override;
    bool OnContact(Entity* other) override;
    void Die() override;
    Entity* Clone() const override;
    void PostLoad() override;

private:
    // The ship's current checkpoint: drawn lit.
    bool IsCurrent() const;
};

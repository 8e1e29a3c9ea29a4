#pragma once

#include "Projectile.h"

// The ship's shot: flies straight for 1.5 s, stops at the terrain with
// sparks, deals 1 point to the first actor it touches that is not a
// platform, checkpoint, target, trigger zone, debris, scientist or the ship.
class PlayerShot : public Projectile {
public:
    void Spawn(float x, float y, float vx, float vy, float angle) override;
    void Update() override;
    void Draw(float alpha) override;
    Entity* FindVictim() override;

    static constexpr float kLife = 1.5f;
    static constexpr float kDamage = 1.0f;
};

#pragma once

#include "Projectile.h"

class Player;

// The enemies' plain shot: spins while it flies for 3.5 s and deals 30 to
// the ship. The raised shield ends it and sends a reflected copy, owned by
// the ship, back into the ship's shots; only such a copy harms actors, and a
// kill with it pays the actor's points once more.
class EnemyBullet : public Projectile {
public:
    bool rightOfPlayer = false; // spawned right of the ship: it spins the other way
    bool reflected = false;     // a copy made by the shield

    void Spawn(float x, float y, float vx, float vy, float angle) override;
    void Update() override;
    void Draw(float alpha) override;

    static constexpr float kLife = 3.5f;
    static constexpr float kDamage = 30.0f;
    static constexpr float kReflectedDamage = 5.0f;
    static constexpr float kSpin = 7.5f;
    static constexpr float kReflectedSpin = 17.5f;

private:
    // The shot ends with a puff and the hit sound.
    void End();
    void HitShip(Player& ship);
    void ReflectOffShield(Player& ship);
};

#pragma once

#include "Beam.h"
#include "Entity.h"

#include <cstdint>

class Player;

// The figure the player rescues; walks along its beam.
class Scientist : public Entity {
public:
    float animPhase = 0.0f;        // [0, 2): two frames
    Beam* surface = nullptr;       // the live beam it walks on; found after level start
    bool facing = false;           // toward the beam's end B
    std::int32_t walkTimer = 0;    // >= 100 walks, below stands and waves
    bool claimed = false;          // a lander has chosen it

    Scientist();

    void Spawn(float x, float y, float angle) override;
    void Update() override;
    void Draw(float alpha) override;
    void Damage(float amount) override;
    bool OnContact(Entity* other) override;
    // The rescue: counted and paid once.
    void Die() override;
    Entity* Clone() const override;
    // Finds the beam under it once the grid is built.
    void PostLoad() override;

private:
    bool ShipOnMyBeam() const;
    // Within 2 units of the end of the beam it walks toward.
    bool NearEndAhead() const;
    // Turns to the landed ship and is rescued when near enough.
    void MeetShip(Player& ship);
};

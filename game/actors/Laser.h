#pragma once

#include "Beam.h"
#include "Entity.h"
#include "EntityName.h"

#include <cstdint>

// A fixed emitter of a straight beam switched on and off by a timer or by
// activation.
class Laser : public Entity {
public:
    char name[kEntityNameBytes] = {};
    bool startsOn = false;
    bool on = false;
    float onTime = 0.0f;     // seconds; 0 or less: never switches off by itself
    float offTime = 0.0f;    // seconds; 0 or less: never switches on by itself
    float phaseTimer = 0.0f; // seconds in the current phase
    Beam beam;               // the beam of the last tick it was on
    float startDelay = 0.0f;  // extra length of the first phase
    std::int32_t onTicks = 0;
    EntityRef<> activator;   // told at every automatic phase change
    std::int32_t beamChannel = 0;
    bool beamSoundPlaying = false;

    Laser();

    void Spawn(float x, float y, float angle) override;
    void Update() override;
    void Draw(float alpha) override;
    void Damage(float amount) override;
    void Die() override;
    Entity* Clone() const override;
    const char* OwnName() const override { return name; }
};

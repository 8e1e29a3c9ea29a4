#pragma once

#include "ParticleRef.h"
#include "Entity.h"
#include "EntityName.h"

#include <cstdint>

class JetParticles;

// An air jet that blows and rests on a timer and pushes the ship along its
// axis.
class Emitter : public Entity {
public:
    char name[kEntityNameBytes] = {}; // nothing reads it
    bool startsOn = false;
    bool on = false;
    float onTime = 0.0f;     // seconds; 0 or less: never stops by itself
    float offTime = 0.0f;    // seconds; 0 or less: never starts by itself
    float phaseTimer = 0.0f;
    std::int32_t tickCount = 0; // ticks spent blowing
    ParticleRef<JetParticles> jet; // the particle list owns it; reads null once deleted
    std::int32_t airChannel = -1;
    bool airPlaying = false;

    Emitter();

    void Spawn(float x, float y, float angle) override;
    void Update() override;
    void Draw(float alpha) override;
    void Damage(float amount) override;
    void Die() override;
    Entity* Clone() const override;
    // Its record's fields: name, on and off times, whether it starts on.
    void ReadMapRecord(const ActorRecord& record) override;
    void Activate(Entity* source) override;

    // The push on the ship per blowing tick, along the jet.
    static constexpr float kPush = 0.05f;

private:
    void Blow(Vec2 u);
};

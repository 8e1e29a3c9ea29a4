#pragma once

#include "ParticleRef.h"
#include "Entity.h"

#include <cstdint>

class FuelStreamParticles;

// Refuels the ship through a stream of fuel particles until its store is empty.
class FuelPod : public Entity {
public:
    ParticleRef<FuelStreamParticles> stream; // the particle list owns it; reads null once deleted
    float fuelStore = 0.0f;               // emissions left
    std::int32_t soundChannel = 0;
    bool soundOn = false;

    FuelPod();

    void Spawn(float x, float y, float angle) override;
    void Update() override;
    void Draw(float alpha) override;
    void Damage(float amount) override;
    // Once, whether shot or emptied: bursts, 25 points, the hiss stopped and
    // the stream left without a pod.
    void Die() override;
    Entity* Clone() const override;

    // 25 units out of the pod's top.
    Vec2 Nozzle() const;

private:
    void StopHiss();
};

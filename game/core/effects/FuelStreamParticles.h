#pragma once

#include "EntityRef.h"
#include "ParticleKind.h"

#include <cstdint>

class FuelPod;

// A fuel pod's stream: while the ship is near and able, every second tick
// two particles leave the pod's nozzle and home on the ship; each delivers
// half a unit of fuel when its life ends. Never finishes by itself: the last
// particles of a dead pod still deliver until the list is cleared.
class FuelStreamParticles : public ParticleKind {
public:
    // The pod sets itself here right after making the stream. Reads null
    // once the pod is deleted; a pod flagged dead emits no more either.
    EntityRef<FuelPod> pod;
    std::int32_t tickCount = 0;

    FuelStreamParticles(float x, float y, float a, float b);

    // n particles 35 units out along (a, b), leaving at 5 units a tick; the
    // first of a call cyan-tinted, the others magenta-tinted.
    void Emit(float x, float y, float a, float b, std::int32_t n) override;
    void Update() override;

    // Ship within this distance of the nozzle: the pod pours.
    static constexpr float kReach = 100.0f;

private:
    void Pour(const ParticleWorld& world);
};

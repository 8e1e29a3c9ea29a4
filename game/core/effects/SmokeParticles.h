#pragma once

#include "ParticleKind.h"

// A cloud of 25 large orange squares (a seeker's launch, a lander), drifting
// in any direction and darkening as they fade.
class SmokeParticles : public ParticleKind {
public:
    SmokeParticles(float x, float y, float a, float b);

    // The direction is ignored.
    void Emit(float x, float y, float a, float b, std::int32_t count) override;
    void Update() override;
};

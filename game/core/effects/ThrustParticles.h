#pragma once

#include "ParticleKind.h"

// The ship's exhaust: yellow squares that redden, grow and fade. Made once at
// the ship's spawn and refilled by every thrust; never finishes by itself.
class ThrustParticles : public ParticleKind {
public:
    ThrustParticles(float x, float y, float a, float b);

    // count particles in a fan along (a, b); always, on screen or not.
    void Emit(float x, float y, float a, float b, std::int32_t count) override;
    void Update() override;
};

#pragma once

#include "ParticleKind.h"

#include <cstdint>

// Five white puffs at a muzzle or a shot's end, drifting in any direction and
// flickering out like sparks, without gravity.
class PuffParticles : public ParticleKind {
public:
    std::int32_t blinkCounter = 0;

    PuffParticles(float x, float y, float a, float b);

    // The direction is ignored.
    void Emit(float x, float y, float a, float b, std::int32_t count) override;
    void Update() override;
};

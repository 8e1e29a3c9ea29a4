#pragma once

#include "ExplosionParticles.h"

// The lander's implosion: the explosion's burst laid on a wide ring
// (radius count * 4) whose particles fly inward.
class LanderParticles : public ExplosionParticles {
public:
    LanderParticles(float x, float y, float a, float b);

    void Emit(float x, float y, float a, float b, std::int32_t n) override;
};

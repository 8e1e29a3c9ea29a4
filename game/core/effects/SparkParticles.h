#pragma once

#include "ParticleKind.h"

#include <cstdint>

// Five white sparks where a shot strikes: they fall, bounce off the terrain
// and flicker out in their last one and a half seconds.
class SparkParticles : public ParticleKind {
public:
    std::int32_t blinkCounter = 0;

    SparkParticles(float x, float y, float a, float b);

    void Emit(float x, float y, float a, float b, std::int32_t count) override;
    void Update() override;
};

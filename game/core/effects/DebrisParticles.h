#pragma once

#include "ParticleKind.h"

#include <cstdint>

// Three sparks a moving piece of debris sheds, in the debris' colour (set by
// the debris right after construction), drifting and flickering out.
class DebrisParticles : public ParticleKind {
public:
    std::int32_t blinkCounter = 0;
    float colour[3] = {0.0f, 0.0f, 0.0f};

    DebrisParticles(float x, float y, float a, float b);

    // The direction is ignored.
    void Emit(float x, float y, float a, float b, std::int32_t count) override;
    void Update() override;
};

#pragma once

#include "ParticleKind.h"

// An emitter's air jet: pale green squares blown along (a, b). Works only
// near the view; never finishes (the emitter keeps it until the level ends).
class JetParticles : public ParticleKind {
public:
    JetParticles(float x, float y, float a, float b);

    void Emit(float x, float y, float a, float b, std::int32_t count) override;
    void Update() override;
};

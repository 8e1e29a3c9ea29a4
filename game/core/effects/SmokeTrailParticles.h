#pragma once

#include "EntityRef.h"
#include "ParticleKind.h"

// A missile's exhaust smoke. Held open while its owner lives; once the owner
// is dead or deleted (or never set) it finishes when its last particle fades.
class SmokeTrailParticles : public ParticleKind {
public:
    EntityRef<> owner;

    SmokeTrailParticles(float x, float y, float a, float b);

    void Emit(float x, float y, float a, float b, std::int32_t count) override;
    void Update() override;
};

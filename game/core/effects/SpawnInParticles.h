#pragma once

#include "ParticleKind.h"

#include <cstdint>

class Timer;

// The ship's arrival: batches of cyan squares on a circle of 50 around the
// ship, each batch 45 degrees further round, swirled by the frame timer's
// running time and pulled in while the ship is still spawning.
class SpawnInParticles : public ParticleKind {
public:
    std::int32_t countdown = 0;
    std::int32_t swirlAngle = 0; // degrees

    // The timer (the game's frame timer) must outlive the system.
    SpawnInParticles(float x, float y, float a, float b, const Timer& frameTimer);

    // The direction is ignored.
    void Emit(float x, float y, float a, float b, std::int32_t count) override;
    void Update() override;

private:
    const Timer* timer;
};

#pragma once

#include "ParticleKind.h"

#include <cstdint>

// A burst: count particles leave a small ring around the point, fade from
// the start to the end colour and lay short-lived trail particles every
// third tick. Made, then filled by Start; waits frozen while far off screen.
class ExplosionParticles : public ParticleKind {
public:
    std::int32_t tickCount = 0;
    std::int32_t count = 0;
    float startColour[3] = {0.0f, 0.0f, 0.0f};
    float endColour[3] = {0.0f, 0.0f, 0.0f};

    ExplosionParticles(float x, float y, float a, float b);

    // Places the box, sets the colours and the count and emits count
    // particles through Emit. A count of 0 or less emits nothing.
    void Start(float x, float y, float a, float b, float r0, float g0, float b0, float r1,
               float g1, float b1, std::int32_t count);

    // n particles on a ring of radius count * 0.2, moving outward, spaced
    // 360 / count degrees (integer division) from straight below the point.
    // Only in the wide area; nothing without a positive count.
    void Emit(float x, float y, float a, float b, std::int32_t n) override;
    void Update() override;

protected:
    // The ring both kinds lay: radius, speed range (t := RF(1) + tLow, signed
    // by direction) and life range (RF(1) + lifeLow).
    void EmitRing(float x, float y, std::int32_t n, float radius, float direction, float tLow,
                  float lifeLow);
};

#pragma once

#include "Rect.h"

#include <cstddef>
#include <memory>
#include <vector>

class DrawSink;
class ParticleSystem;

// Shared between a system and every handle to it; the system clears it when
// it is deleted.
struct ParticleSystemLife {
    ParticleSystem* system = nullptr;
};

// The base of the particle kinds and of the ribbons: an effect that a
// ParticleList owns, updates once per tick and deletes once it reports
// itself finished (or when the list is cleared).
class ParticleSystem {
public:
    bool finished = false;
    bool onScreen = true;      // drawn only while set
    bool onScreenWide = false; // most kinds emit and update only while set
    Rect box;                  // the area the visibility tests look at

    ParticleSystem() = default;
    ParticleSystem(const ParticleSystem&) = delete;
    ParticleSystem& operator=(const ParticleSystem&) = delete;
    virtual ~ParticleSystem();

    // Advances one tick; sets finished when nothing is left to show.
    virtual void Update() = 0;
    // Particles add their quads' vertices to the batch the caller opened;
    // ribbons draw a strip of their own.
    virtual void Draw(DrawSink& sink, float alpha) const = 0;

    // onScreen := the box meets the view (1.25 views from the camera
    // corner), at any of the three wrap images.
    void UpdateVisibility();
    // onScreenWide := the same with a box 1.5 views large.
    void UpdateVisibilityWide();

    // The token that ParticleRef handles share.
    const std::shared_ptr<ParticleSystemLife>& Life();

private:
    std::shared_ptr<ParticleSystemLife> life;
};

// A system whose records (particles or ribbon points) sit in one contiguous
// array, removed by moving the last one into the freed slot.
template <typename Record>
class ParticleSystemOf : public ParticleSystem {
public:
    std::vector<Record> particles;

    // Moves the last record into p's slot and drops the last; a walk then
    // visits that slot again.
    void RemoveParticle(Record& p)
    {
        Record& last = particles.back();
        if (&p != &last)
            p = last;
        particles.pop_back();
    }
};

#pragma once

#include "ParticleSystem.h"
#include "Vec2.h"

class DrawSink;
class ParticleList;

// One point of a ribbon: the band runs from -width to +width along the
// normal at the position.
struct TrailPoint {
    Vec2 position;
    Vec2 normal;
    float colour[3] = {0.0f, 0.0f, 0.0f}; // falls by 0.02 a tick, unbounded
    float life = 0.0f;                    // seconds left
    float width = 0.0f;                   // half width
    float previousWidth = 0.0f;           // half width at the start of the tick
    bool dead = false;                    // to be erased by the trail
};

// The base of the ribbons (Trail, ShockRing): a row of points drawn as one
// textured quad strip, kept in the Game's ribbon list.
class Ribbon : public ParticleSystemOf<TrailPoint> {
public:
    static constexpr float kTick = 0.02f;

    // Trail: appends one point; ShockRing: builds the whole ring.
    virtual void Emit(float x, float y, float r, float g, float b) = 0;

    // One quad strip through the points (nothing with fewer than two), the
    // half widths blended between the previous and the current tick.
    void Draw(DrawSink& sink, float alpha) const override;
};

// Draws every ribbon of the list whose onScreen is set.
void DrawRibbons(const ParticleList& list, DrawSink& sink, float alpha);
// Deletes every ribbon and empties the list.
void ClearRibbons(ParticleList& list);

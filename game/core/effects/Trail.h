#pragma once

#include "Ribbons.h"

// The fading smoke ribbon behind a seeker or a missile: its creator adds a
// point every second tick; points live two seconds. Made with its first
// point; always drawn (no visibility test).
class Trail : public Ribbon {
public:
    Trail(float x, float y, float r, float g, float b);

    // Appends a point of half width 16, its normal across the segment from
    // the last point. A point on the last point's position copies its normal.
    void Emit(float x, float y, float r, float g, float b) override;
    // Ages the points; of each run of expired points only the newest stays
    // (it ties the live band to its end). Finished once no point is alive.
    void Update() override;

    // Moves every point (the creator crossed the world's seam).
    void Translate(float dx, float dy);
    // Erases the points flagged dead, keeping the order of the others.
    void RemoveDeadPoints();

    static constexpr float kPointLife = 2.0f;
    static constexpr float kHalfWidth = 16.0f;
};

bool IsDeadTrailPoint(const TrailPoint& point);

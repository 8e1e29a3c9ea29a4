#pragma once

#include "Beam.h"
#include "Sector.h"

// The beam a particle at (x, y) bounces off: the first beam of the cell
// within 1 unit of the point, the same beam Sector::PointOnBeam finds. Most
// particles are nowhere near a beam, so each beam's box (grown by a margin
// wider than the unit) is checked before the exact distance; no hit list is
// built. Null when none is near.
const Beam* ParticleBeamAt(const Sector& sector, float x, float y);

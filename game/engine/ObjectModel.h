#pragma once

#include "Beam.h"
#include "HullCircle.h"

#include <vector>

// A vector model: the beams that are drawn and the circles of its hull.
struct ObjectModel {
    std::vector<Beam> beams;
    std::vector<HullCircle> circles;
};

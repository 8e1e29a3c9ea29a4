#pragma once

#include "Beam.h"
#include "HullCircle.h"

#include <vector>

// Subtracts (dx, dy) from both ends of every beam and from the centre and the
// offset of every circle.
void OffsetModel(std::vector<Beam>& beams, std::vector<HullCircle>& circles, float dx, float dy);

// Multiplies both ends of every beam and the radius, centre and offset of
// every circle; normals and directions stay.
void ScaleModel(std::vector<Beam>& beams, std::vector<HullCircle>& circles, float factor);

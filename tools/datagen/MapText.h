// Words written into a map's terrain with the stroke font: every stroke
// becomes a thin closed outline (a rock), so the letters obey the terrain
// rules (normals facing open air, rock inside every outline).
#pragma once

#include "Vec2.h"

#include <string>
#include <vector>

namespace datagen {

// Half the thickness of a letter's stroke, in world units.
constexpr float kMapTextHalfThickness = 2.5f;

// The outlines of a word written with its top-left at topLeft, letters
// `height` high (the stroke grid is 6 high, 4 wide, with an advance of 6;
// '_' is a space). Each outline is closed (its last point is not repeated)
// and traced with the rock on its right hand: a stroke's outline runs out
// along one side and back along the other; a closed stroke (O) gives an
// outer ring and an inner one around its hole. A stroke that ends on another
// stops a small gap short of it, so no two outlines touch. On failure
// (letters too small for their strokes, outlines that would cross) returns
// false with the reason.
bool MapTextOutlines(Vec2 topLeft, float height, const std::string& word,
                     std::vector<std::vector<Vec2>>& outlines, std::string& error);

}  // namespace datagen

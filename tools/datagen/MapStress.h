// The benchmark map: a long, dense world built from a seed, so the sources
// need not list thousands of beams by hand.
#pragma once

#include "MapSource.h"

namespace datagen {

// Appends a world of at least recipe.beams terrain beams and recipe.actors
// actors (platforms, targets, lasers and trigger zones included) to map.
// The same recipe always gives the same map.
void BuildStressMap(const MapStressRecipe& recipe, MapContents& map);

}  // namespace datagen

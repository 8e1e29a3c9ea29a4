// Capital letters, digits and a few signs as strokes on a 4 x 6 grid, for
// titles that are drawn as vector models ("game_over", "hiscores").
#pragma once

#include "Vec2.h"

#include <utility>
#include <vector>

namespace datagen {

using Stroke = std::vector<Vec2>;  // a polyline in grid units, x 0..4, y 0..6 downward

// The strokes of one character; empty for a space or an unknown character.
const std::vector<Stroke>& StrokesOf(char c);

}  // namespace datagen

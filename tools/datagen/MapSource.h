// Readable map sources (data/maps/<Name>.txt) compiled into map contents.
// The syntax is described in data/README.md.
#pragma once

#include "MapWriter.h"

#include <cstdint>
#include <string>

namespace datagen {

// A procedurally built map (the benchmark map): terrain and actors come from
// a seed instead of from lines of the source.
struct MapStressRecipe {
    bool enabled = false;
    std::uint32_t seed = 1;
    int beams = 0;   // at least this many terrain beams
    int actors = 0;  // at least this many placed actors
};

struct MapSource {
    MapContents contents;
    MapStressRecipe stress;
};

// Parses the text of a map source. On failure returns false and sets error
// to "line N: what is wrong".
bool ParseMapSource(const std::string& text, MapSource& out, std::string& error);

// The unit direction (B - A) / |B - A| and the normal (d.y, -d.x) of a beam
// from A to B; floors drawn left to right so face up (y grows downward).
Beam MakeTerrainBeam(Vec2 a, Vec2 b, Rgb colourA, Rgb colourB);

}  // namespace datagen

// The readable model source (data/models/<Name>.model) compiled into the
// beams and hull circles of a model file. Documented in data/README.md.
#pragma once

#include "Beam.h"
#include "HullCircle.h"

#include <filesystem>
#include <string>
#include <vector>

namespace datagen {

struct ModelSource {
    std::vector<Beam> beams;
    std::vector<HullCircle> circles;  // offset and radius filled in
};

// Parses the text of a model source. `includeDir` is where "include" lines
// look for their files. On failure returns false and sets `error` to
// "<file>:<line>: <what>".
bool ParseModelSource(const std::string& text, const std::string& fileName,
                      const std::filesystem::path& includeDir, ModelSource& out, std::string& error);

// A beam from a to b with its unit direction (b - a) / |b - a| and normal
// (d.y, -d.x). The ends must differ.
Beam MakeBeam(Vec2 a, Vec2 b, Rgb colourA, Rgb colourB);

}  // namespace datagen

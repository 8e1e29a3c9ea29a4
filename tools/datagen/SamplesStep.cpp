#include "Steps.h"

namespace datagen {

bool GenerateSamples(const Paths&) { return true; }  // not generated yet

}  // namespace datagen

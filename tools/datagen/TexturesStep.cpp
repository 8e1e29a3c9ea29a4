#include "Steps.h"

namespace datagen {

bool GenerateTextures(const Paths&) { return true; }  // not generated yet

}  // namespace datagen

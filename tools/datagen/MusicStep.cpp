#include "Steps.h"

namespace datagen {

bool GenerateMusic(const Paths&) { return true; }  // not generated yet

}  // namespace datagen

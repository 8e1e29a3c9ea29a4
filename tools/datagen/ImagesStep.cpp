#include "Steps.h"

namespace datagen {

bool GenerateImages(const Paths&) { return true; }  // not generated yet

}  // namespace datagen

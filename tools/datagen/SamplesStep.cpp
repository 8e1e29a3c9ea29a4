// Samples: the recipes of data/sounds/sounds.txt become "Data/Sound/<file>",
// 16-bit PCM WAVE at 44.1 kHz.
#include "SoundSynth.h"
#include "SoundWav.h"
#include "Steps.h"

#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>

namespace datagen {

bool GenerateSamples(const Paths& paths)
{
    const std::filesystem::path source = paths.source / "sounds" / "sounds.txt";
    std::ifstream in(source, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "samples: cannot read %s\n", source.c_str());
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    std::vector<SoundRecipe> recipes;
    std::string error;
    if (!ParseSoundRecipes(text.str(), recipes, error)) {
        std::fprintf(stderr, "%s: %s\n", source.c_str(), error.c_str());
        return false;
    }
    const std::filesystem::path folder = paths.out / "Data" / "Sound";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    std::set<std::string> seen;
    for (const SoundRecipe& recipe : recipes) {
        if (!seen.insert(recipe.file).second || recipe.layers.empty()) {
            std::fprintf(stderr, "%s: %s is listed twice or has no layer\n", source.c_str(), recipe.file.c_str());
            return false;
        }
        const std::filesystem::path out = folder / recipe.file;
        if (!WriteBinaryFile(out.string(), EncodeWav(RenderSound(recipe)))) {
            std::fprintf(stderr, "samples: cannot write %s\n", out.c_str());
            return false;
        }
    }
    return true;
}

}  // namespace datagen

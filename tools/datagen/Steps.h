// The generator's steps: each reads its sources below `source` (the data/
// folder) and writes its files below `out` (the working directory the game
// runs in). A step returns false after printing what went wrong.
#pragma once

#include <filesystem>

namespace datagen {

struct Paths {
  std::filesystem::path source;  // data/
  std::filesystem::path out;     // the game's working directory
};

bool GenerateModels(const Paths& paths);    // Data/Objects/*.obj
bool GenerateTextures(const Paths& paths);  // Data/Gfx/*.png
bool GenerateFonts(const Paths& paths);     // Fonts.psd, Fonts2.psd, FontShadow.psd
bool GenerateImages(const Paths& paths);    // icon.bmp, splash.bmp
bool GenerateSamples(const Paths& paths);   // Data/Sound/*.wav
bool GenerateMusic(const Paths& paths);     // Data/Sound/*.mp3
bool GenerateMaps(const Paths& paths);      // Data/Maps/*.map, *.rota, *.rotb

}  // namespace datagen

// Usage: zelv_datagen <data source folder> <output folder>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "Steps.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s <data source folder> <output folder>\n", argv[0]);
    return 2;
  }
  datagen::Paths paths{argv[1], argv[2]};
  std::error_code ec;
  std::filesystem::create_directories(paths.out / "Data", ec);
  if (ec) {
    std::fprintf(stderr, "cannot create %s: %s\n", paths.out.c_str(), ec.message().c_str());
    return 1;
  }
  using Step = bool (*)(const datagen::Paths&);
  const Step steps[] = {datagen::GenerateModels,  datagen::GenerateTextures, datagen::GenerateFonts,
                        datagen::GenerateImages,  datagen::GenerateSamples,  datagen::GenerateMusic,
                        datagen::GenerateMaps};
  for (Step step : steps) {
    if (!step(paths)) return 1;
  }
  return 0;
}

#include "Steps.h"

#include "ModelFile.h"
#include "ModelNames.h"
#include "ModelSource.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

namespace datagen {
namespace {

bool CompileModel(const std::filesystem::path& source, const std::filesystem::path& target)
{
    std::ifstream in(source, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", source.string().c_str());
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    ModelSource model;
    std::string error;
    if (!ParseModelSource(text.str(), source.filename().string(), source.parent_path(), model, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return false;
    }
    if (model.beams.empty()) {
        std::fprintf(stderr, "%s: a model needs at least one segment\n", source.string().c_str());
        return false;
    }
    // The origin stays (0, 0): sources are authored around the actor's position.
    if (!WriteObjectModel(target.string(), Vec2{0, 0}, model.beams, model.circles)) {
        std::fprintf(stderr, "cannot write %s\n", target.string().c_str());
        return false;
    }
    return true;
}

}  // namespace

bool GenerateModels(const Paths& paths)
{
    const auto sourceDir = paths.source / "models";
    const auto targetDir = paths.out / "Data" / "Objects";
    std::error_code ec;
    std::filesystem::create_directories(targetDir, ec);
    // The game's 52 first, then any further model a map may use, sorted.
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(sourceDir, ec)) {
        if (entry.path().extension() == ".model") names.insert(entry.path().stem().string());
    }
    if (ec) {
        std::fprintf(stderr, "cannot list %s: %s\n", sourceDir.string().c_str(), ec.message().c_str());
        return false;
    }
    for (const ModelName& required : kModelNames) {
        if (names.count(required.name) == 0) {
            std::fprintf(stderr, "missing model source %s.model\n", required.name);
            return false;
        }
    }
    for (const std::string& name : names) {
        if (!CompileModel(sourceDir / (name + ".model"), targetDir / (name + ".obj"))) return false;
    }
    return true;
}

}  // namespace datagen

// Maps: every data/maps/<Name>.txt becomes "Data/Maps/<Name>.map"; every
// data/maps/<Pack>.pack (one map name a line) becomes the pack list
// "Data/Maps/<Pack>.rota" and its digest "Data/Maps/<Pack>.rotb".
#include "MapFile.h"
#include "MapSource.h"
#include "MapStress.h"
#include "MapWriter.h"
#include "Md5.h"
#include "Steps.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>
#include <vector>

namespace datagen {

namespace fs = std::filesystem;

namespace {

bool ReadText(const fs::path& path, std::string& out)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream text;
    text << in.rdbuf();
    out = text.str();
    return true;
}

bool WriteText(const fs::path& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    return static_cast<bool>(out);
}

std::vector<fs::path> SourcesWithExtension(const fs::path& folder, const char* extension)
{
    std::vector<fs::path> found;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        if (entry.is_regular_file() && entry.path().extension() == extension)
            found.push_back(entry.path());
    }
    std::sort(found.begin(), found.end());  // the listing order is not stable
    return found;
}

std::string Lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool CompileMap(const fs::path& source, const fs::path& outFolder)
{
    std::string text;
    std::string error;
    MapSource map;
    if (!ReadText(source, text)) {
        std::fprintf(stderr, "maps: cannot read %s\n", source.c_str());
        return false;
    }
    if (!ParseMapSource(text, map, error)) {
        std::fprintf(stderr, "%s: %s\n", source.c_str(), error.c_str());
        return false;
    }
    if (map.stress.enabled)
        BuildStressMap(map.stress, map.contents);
    for (const std::string& bad : OversizedMapNames(map.contents))
        std::fprintf(stderr, "%s: name longer than 15 characters: %s\n", source.c_str(), bad.c_str());
    // The game's own reader checks the bytes: a map it would refuse (beams
    // beyond the sector grid, a coordinate that overflowed) stops the build.
    const std::vector<std::uint8_t> bytes = EncodeMap(map.contents);
    MapFileContents decoded;
    if (!DecodeMapFile(bytes.data(), bytes.size(), decoded, error)) {
        std::fprintf(stderr, "%s: the game would refuse this map: %s", source.c_str(), error.c_str());
        return false;
    }
    const fs::path out = outFolder / (source.stem().string() + ".map");
    if (!WriteMapFile(out.string(), map.contents)) {
        std::fprintf(stderr, "maps: cannot write %s\n", out.c_str());
        return false;
    }
    return true;
}

bool CompilePack(const fs::path& source, const fs::path& outFolder, const std::set<std::string>& maps)
{
    const std::string pack = source.stem().string();
    if (Lower(pack) == "standard") {
        // The game accepts that pack name only with one fixed list.
        std::fprintf(stderr, "%s: a pack may not be called \"standard\"\n", source.c_str());
        return false;
    }
    std::string text;
    if (!ReadText(source, text)) {
        std::fprintf(stderr, "maps: cannot read %s\n", source.c_str());
        return false;
    }
    std::istringstream lines(text);
    std::string list;
    int count = 0;
    for (std::string line; std::getline(lines, line);) {
        line.erase(std::remove(line.begin(), line.end(), '\r'), line.end());
        const std::size_t hash = line.find('#');
        if (hash != std::string::npos)
            line.erase(hash);
        line.erase(0, line.find_first_not_of(" \t"));
        line.erase(line.find_last_not_of(" \t") + 1);
        if (line.empty())
            continue;
        if (maps.count(line) == 0) {
            std::fprintf(stderr, "%s: no map source for '%s'\n", source.c_str(), line.c_str());
            return false;
        }
        list += line + "\n";
        ++count;
    }
    if (count == 0) {
        std::fprintf(stderr, "%s: the pack lists no map\n", source.c_str());
        return false;
    }
    const fs::path rota = outFolder / (pack + ".rota");
    const fs::path rotb = outFolder / (pack + ".rotb");
    if (!WriteText(rota, list) || !WriteText(rotb, Md5Hex(list) + "\n")) {
        std::fprintf(stderr, "maps: cannot write the pack %s\n", pack.c_str());
        return false;
    }
    return true;
}

}  // namespace

bool GenerateMaps(const Paths& paths)
{
    const fs::path sources = paths.source / "maps";
    const fs::path outFolder = paths.out / "Data" / "Maps";
    std::error_code ec;
    fs::create_directories(outFolder, ec);
    if (ec) {
        std::fprintf(stderr, "maps: cannot create %s\n", outFolder.c_str());
        return false;
    }
    std::set<std::string> names;
    for (const fs::path& source : SourcesWithExtension(sources, ".txt")) {
        if (!CompileMap(source, outFolder))
            return false;
        names.insert(source.stem().string());
    }
    if (names.count("Splash") == 0) {
        std::fprintf(stderr, "maps: the title screen's map Splash.txt is missing in %s\n", sources.c_str());
        return false;
    }
    const std::vector<fs::path> packs = SourcesWithExtension(sources, ".pack");
    if (packs.empty()) {
        std::fprintf(stderr, "maps: no .pack file in %s\n", sources.c_str());
        return false;
    }
    for (const fs::path& pack : packs) {
        if (!CompilePack(pack, outFolder, names))
            return false;
    }
    return true;
}

}  // namespace datagen

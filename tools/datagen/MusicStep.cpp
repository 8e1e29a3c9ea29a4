// Music: every score of data/music/*.txt becomes the MP3 file it names in
// "Data/Sound" (two of the names hold a space).
#include "MusicMp3.h"
#include "MusicSynth.h"
#include "SoundWav.h"
#include "Steps.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>

namespace datagen {

bool GenerateMusic(const Paths& paths)
{
    namespace fs = std::filesystem;
    std::vector<fs::path> scores;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(paths.source / "music", ec))
        if (entry.is_regular_file() && entry.path().extension() == ".txt")
            scores.push_back(entry.path());
    std::sort(scores.begin(), scores.end());
    if (scores.empty()) {
        std::fprintf(stderr, "music: no score in %s\n", (paths.source / "music").c_str());
        return false;
    }
    const fs::path folder = paths.out / "Data" / "Sound";
    fs::create_directories(folder, ec);
    std::set<std::string> written;
    for (const fs::path& path : scores) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        MusicScore score;
        std::string error;
        if (!in || !ParseMusicScore(text.str(), score, error)) {
            std::fprintf(stderr, "%s: %s\n", path.c_str(), in ? error.c_str() : "cannot read");
            return false;
        }
        if (!written.insert(score.file).second) {
            std::fprintf(stderr, "%s: %s is written by two scores\n", path.c_str(), score.file.c_str());
            return false;
        }
        const std::vector<std::uint8_t> mp3 = EncodeMp3(RenderMusic(score));
        const fs::path out = folder / score.file;
        if (mp3.empty() || !WriteBinaryFile(out.string(), mp3)) {
            std::fprintf(stderr, "music: cannot encode or write %s\n", out.c_str());
            return false;
        }
    }
    return true;
}

}  // namespace datagen

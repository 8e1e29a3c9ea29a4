#include "MapPack.h"

#include "BinaryFile.h"
#include "DataFile.h"
#include "Md5.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace {

std::string MapsDir(const std::string& root)
{
    if (root.empty() || root == ".")
        return "Data/Maps";
    return root + "/Data/Maps";
}

std::string Lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

constexpr const char* kListExtension = ".rota";
constexpr std::size_t kListExtensionLength = 5;

// The "*.rota" file names of the folder, hidden ones included, ordered
// ignoring case (ties by the exact bytes, so the order is total).
std::vector<std::string> ListPackFiles(const std::string& dir)
{
    std::vector<std::string> names;
    std::error_code error;
    std::filesystem::directory_iterator it(dir, error), end;
    for (; !error && it != end; it.increment(error)) {
        std::error_code typeError;
        if (!it->is_regular_file(typeError))
            continue;
        const std::string name = it->path().filename().string();
        if (name.size() >= kListExtensionLength &&
            name.compare(name.size() - kListExtensionLength, kListExtensionLength, kListExtension) == 0)
            names.push_back(name);
    }
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const std::string la = Lower(a), lb = Lower(b);
        return la != lb ? la < lb : a < b;
    });
    return names;
}

void StripLineEnd(std::string& line)
{
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.pop_back();
}

} // namespace

bool IsPlainMapsFileName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find_first_of("/\\") == std::string::npos;
}

std::string PackListPath(const std::string& root, const std::string& packName)
{
    return MapsDir(root) + "/" + packName + ".rota";
}

std::string PackDigestPath(const std::string& root, const std::string& packName)
{
    return MapsDir(root) + "/" + packName + ".rotb";
}

PackScan ScanMapPacks(const std::string& root, Log& log)
{
    PackScan scan;
    log.Write("Scanning for map packs:\n");
    const std::vector<std::string> files = ListPackFiles(MapsDir(root));
    for (const std::string& file : files) {
        const std::string name = file.substr(0, file.size() - kListExtensionLength);
        const std::string listPath = PackListPath(root, name);
        // Checked before hashing: a sparse list of terabytes would take hours.
        const bool listRefused = CheckDataFile(listPath, kPackListSizeCap, log) == DataFileState::Refused;
        char listDigest[kMd5HexSize] = {};
        if (!listRefused)
            Md5HexOfFile(listPath.c_str(), listDigest, log);

        if (NamesEqual(name.c_str(), "standard") &&
            (listRefused || std::strcmp(listDigest, kStandardPackDigest) != 0)) {
            scan.quit = true;
            scan.quitReason = "Pack '" + name + "' failed its check";
            return scan;
        }
        if (listRefused)
            continue;
        log.Write("Found: ");
        log.Write(file);
        log.Write("\n");

        const std::string digestPath = PackDigestPath(root, name);
        const DataFileState digestState = CheckDataFile(digestPath, kPackDigestSizeCap, log);
        BinaryFile digestFile;
        // A refused file is never opened (a pipe would block): it is damaged.
        if (digestState != DataFileState::Refused && !digestFile.Open(digestPath, "rt")) {
            log.Write("Integrity file not found!\n");
            continue;
        }
        const char* line = digestState == DataFileState::Readable ? digestFile.ReadLine() : nullptr;
        if (line == nullptr) {
            log.Write("Integrity file damaged!\n");
            continue;
        }
        const std::string stored(line, std::min<std::size_t>(std::strlen(line), kMd5HexSize - 1));
        if (stored != listDigest) {
            log.Write("File failed integrity test!\n");
            continue;
        }
        scan.packNames.push_back(name);
    }
    if (scan.packNames.empty()) {
        log.Write("No Packs Found!\n");
        log.Write("\n");
        scan.quit = true;
        scan.quitReason = "No usable map pack in " + MapsDir(root);
    }
    return scan;
}

std::vector<std::string> ReadPackList(const std::string& root, const std::string& packName, Log& log)
{
    std::vector<std::string> maps;
    // Pack names come from the folder listing or from the saved game: a name
    // that is not a plain file name ("../x", "a/b") names no pack of Data/Maps.
    if (!IsPlainMapsFileName(packName))
        return maps;
    const std::string path = PackListPath(root, packName);
    BinaryFile file;
    if (CheckDataFile(path, kPackListSizeCap, log) == DataFileState::Refused || !file.Open(path, "rt"))
        return maps;
    while (const char* line = file.ReadLine()) {
        std::string name(line);
        StripLineEnd(name);
        maps.push_back(std::move(name));
    }
    return maps;
}

// Map packs: the input is split at its first 0x01 byte into a pack list and
// its integrity file (no 0x01: the list alone, the integrity file missing).
// The scan must keep the pack exactly when the integrity line starts with the
// list's digest; the list reads as lines without line ends.
#include "FuzzScratch.h"

#include "Log.h"
#include "MapPack.h"
#include "Md5.h"

#include <cstring>
#include <filesystem>
#include <sstream>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string& root = FuzzScratchDir();
    static const bool prepared = [&root] { return std::filesystem::create_directories(root + "/Data/Maps"); }();
    (void)prepared;
    const std::string list = root + "/Data/Maps/Fuzz.rota";
    const std::string digest = root + "/Data/Maps/Fuzz.rotb";
    const auto* split = static_cast<const std::uint8_t*>(std::memchr(data, 1, size));
    const std::size_t listSize = split ? static_cast<std::size_t>(split - data) : size;
    FuzzWriteFile(list, data, listSize);
    std::filesystem::remove(digest);
    if (split != nullptr)
        FuzzWriteFile(digest, split + 1, size - listSize - 1);

    std::ostringstream console;
    Log log("/dev/null", console);
    log.SetEnabled(true);
    const PackScan scan = ScanMapPacks(root, log);
    const std::string expected = Md5Hex(std::string(reinterpret_cast<const char*>(data), listSize));
    const bool intact = split != nullptr && size - listSize - 1 >= 32 &&
                        std::memchr(split + 1, '\n', 32) == nullptr && std::memchr(split + 1, 0, 32) == nullptr &&
                        std::memcmp(split + 1, expected.data(), 32) == 0;
    FUZZ_CHECK(scan.packNames.size() == (intact ? 1u : 0u));
    FUZZ_CHECK(scan.quit == !intact);

    std::size_t total = 0;
    for (const std::string& map : ReadPackList(root, "Fuzz")) {
        FUZZ_CHECK(map.size() <= 255 && map.find('\n') == std::string::npos);
        total += map.size();
    }
    FUZZ_CHECK(total <= listSize);
    return 0;
}

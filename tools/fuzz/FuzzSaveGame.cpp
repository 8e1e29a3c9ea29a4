// Saved games: the decoder and LoadSaveGameInto over a scratch root holding a
// "Default" and an "Other" pack. A refusal changes nothing; a load leaves a
// map index inside the pack's list and terminated names.
#include "FuzzScratch.h"

#include "Log.h"
#include "SaveGame.h"

#include <cstring>
#include <filesystem>
#include <sstream>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    SaveGameRecord record;
    if (DecodeSaveGame(data, size, record)) {
        FUZZ_CHECK(record.packName[kPackNameBytes - 1] == '\0' && record.mapName[kGameMapNameBytes - 1] == '\0');
        SaveDigestsMatch(record);
    } else {
        FUZZ_CHECK(size < static_cast<std::size_t>(kSaveGameBytes));
    }

    const std::string& root = FuzzScratchDir();
    static const bool prepared = [&root] {
        std::filesystem::create_directories(root + "/Data/Maps");
        const std::string lists[2] = {"Splash\nLevel1\nLevel2\n", "M1\nM2\nM3\nM4\nM5\n"};
        FuzzWriteFile(root + "/Data/Maps/Default.rota", reinterpret_cast<const std::uint8_t*>(lists[0].data()),
                      lists[0].size());
        FuzzWriteFile(root + "/Data/Maps/Other.rota", reinterpret_cast<const std::uint8_t*>(lists[1].data()),
                      lists[1].size());
        return true;
    }();
    (void)prepared;
    FuzzWriteFile(SaveGamePath(root), data, size);

    char packName[kPackNameBytes] = "Default";
    std::vector<std::string> packMaps = {"Splash", "Level1", "Level2"};
    std::int32_t mapIndex = 1, score = 5, lives = 3, nextExtraLife = 20000;
    char mapName[kGameMapNameBytes] = "Level1";
    SaveGameTarget target{packName, packMaps, mapIndex, mapName, score, lives, nextExtraLife};
    std::ostringstream console;
    Log log("/dev/null", console);
    log.SetEnabled(true);
    console.str("");
    switch (LoadSaveGameInto(root, target, log)) {
    case SaveLoadResult::Refused:
        FUZZ_CHECK(console.str() == "Corrupt Variables in save state!\n");
        FUZZ_CHECK(std::strcmp(packName, "Default") == 0 && mapIndex == 1 && score == 5 && lives == 3 &&
                   nextExtraLife == 20000 && std::strcmp(mapName, "Level1") == 0 && packMaps.size() == 3);
        break;
    case SaveLoadResult::MissingPack:
        FUZZ_CHECK(std::strcmp(packName, "Default") == 0 && packMaps.size() == 3 && mapIndex == 1 && score == 5);
        break;
    case SaveLoadResult::Loaded:
        FUZZ_CHECK(mapIndex >= 0 && static_cast<std::size_t>(mapIndex) < packMaps.size());
        FUZZ_CHECK(std::memchr(packName, 0, sizeof packName) && std::memchr(mapName, 0, sizeof mapName));
        FUZZ_CHECK(nextExtraLife >= score);
        break;
    }
    return 0;
}

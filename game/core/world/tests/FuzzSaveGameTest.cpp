// Seeded mutations of valid saved games against LoadSaveGameInto: a refused
// file logs its line and changes nothing, a file of a missing pack only
// switches to "Default", and a loaded one restores exactly its checked
// fields. Deterministic: a failing iteration is reproduced by its number.
#include "Md5.h"
#include "SaveGame.h"
#include "support/MapTestDir.h"
#include "testing/Mutator.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

const std::vector<std::string> kDefaultMaps = {"Splash", "Level1", "Level2"};
const std::vector<std::string> kOtherMaps = {"M1", "M2", "M3", "M4", "M5"};

// The game's state a saved game may replace.
struct State {
    char packName[kPackNameBytes] = "Default";
    std::vector<std::string> packMaps = kDefaultMaps;
    std::int32_t mapIndex = 0;
    char mapName[kGameMapNameBytes] = "Splash";
    std::int32_t score = 7;
    std::int32_t lives = 2;
    std::int32_t nextExtraLife = 20000;

    SaveGameTarget Target() { return {packName, packMaps, mapIndex, mapName, score, lives, nextExtraLife}; }

    bool operator==(const State& o) const
    {
        return std::memcmp(packName, o.packName, sizeof packName) == 0 && packMaps == o.packMaps &&
               mapIndex == o.mapIndex && std::memcmp(mapName, o.mapName, sizeof mapName) == 0 &&
               score == o.score && lives == o.lives && nextExtraLife == o.nextExtraLife;
    }
};

std::int32_t Int32At(const std::vector<std::uint8_t>& bytes, std::size_t at)
{
    std::int32_t v;
    std::memcpy(&v, &bytes[at], 4);
    return v;
}

// A fixed text field as the game keeps it: its bytes with the last forced to zero.
template <std::size_t N>
void Field(char (&out)[N], const std::vector<std::uint8_t>& bytes, std::size_t at)
{
    std::memcpy(out, &bytes[at], N);
    out[N - 1] = '\0';
}

bool DigestHolds(const std::vector<std::uint8_t>& bytes, std::size_t at, std::int32_t value)
{
    const std::string hex = Md5Hex(std::to_string(value));
    return std::memcmp(&bytes[at], hex.data(), 32) == 0;
}

bool SameIgnoringCase(const char* a, const char* b)
{
    for (; *a != '\0' && *b != '\0'; ++a, ++b) {
        if (std::tolower(static_cast<unsigned char>(*a)) != std::tolower(static_cast<unsigned char>(*b)))
            return false;
    }
    return *a == *b;
}

// The smallest of old, old + 20000, old + 40000, ... not below the score,
// at most INT_MAX.
std::int32_t NextExtraLife(std::int32_t old, std::int32_t score)
{
    long long next = old;
    while (next < score)
        next += kExtraLifeStep;
    return static_cast<std::int32_t>(std::min<long long>(next, INT_MAX));
}

enum class Outcome { Refused, MissingPack, Loaded };

// What the file must do to the state, from the bytes and the pack files the
// fixture wrote.
Outcome Expect(const std::vector<std::uint8_t>& bytes, const std::map<std::string, std::vector<std::string>>& packs,
               State& state)
{
    if (bytes.size() < static_cast<std::size_t>(kSaveGameBytes))
        return Outcome::Refused;
    char pack[kPackNameBytes];
    Field(pack, bytes, kSavePackNameOffset);
    const bool samePack = SameIgnoringCase(pack, state.packName);
    const auto found = packs.find(pack);
    const std::vector<std::string> maps =
        samePack ? state.packMaps : found != packs.end() ? found->second : std::vector<std::string>{};
    if (!samePack && maps.empty()) {
        std::strcpy(state.packName, "Default");
        state.packMaps = packs.at("Default");
        return Outcome::MissingPack;
    }
    const std::int32_t index = Int32At(bytes, kSaveMapIndexOffset);
    const std::int32_t score = Int32At(bytes, kSaveScoreOffset);
    const std::int32_t lives = Int32At(bytes, kSaveLivesOffset);
    char map[kGameMapNameBytes];
    Field(map, bytes, kSaveMapNameOffset);
    const std::string mapName = map;
    const bool plainMapName = !mapName.empty() && mapName != "." && mapName != ".." &&
                              mapName.find_first_of("/\\") == std::string::npos;
    if (!DigestHolds(bytes, kSaveScoreDigestOffset, score) || !DigestHolds(bytes, kSaveLivesDigestOffset, lives) ||
        index < 0 || static_cast<std::size_t>(index) >= maps.size() || !plainMapName)
        return Outcome::Refused;
    if (!samePack) {
        std::memcpy(state.packName, pack, sizeof pack);
        state.packMaps = maps;
    }
    state.mapIndex = index;
    std::memcpy(state.mapName, map, sizeof map);
    state.score = score;
    state.lives = lives;
    state.nextExtraLife = NextExtraLife(state.nextExtraLife, score);
    return Outcome::Loaded;
}

std::string ListText(const std::vector<std::string>& maps)
{
    std::string text;
    for (const std::string& m : maps)
        text += m + "\n";
    return text;
}

std::vector<std::uint8_t> Save(const char* pack, std::int32_t index, const char* map, std::int32_t score,
                               std::int32_t lives)
{
    const auto bytes = EncodeSaveGame(pack, index, map, score, lives);
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

TEST(FuzzSaveGameTest, MutatedSavesAreRefusedWholeOrLoadOnlyTheirCheckedFields)
{
    MapTestDir dir;
    CapturedLog log(dir);
    const std::map<std::string, std::vector<std::string>> packs = {{"Default", kDefaultMaps},
                                                                    {"Other", kOtherMaps}};
    for (const auto& [name, maps] : packs)
        dir.WriteText("Data/Maps/" + name + ".rota", ListText(maps));

    const std::vector<std::vector<std::uint8_t>> seeds = {
        Save("Default", 1, "Level1", 12345, 3),
        Save("Other", 4, "M5", 2147480000, 1), // the extra-life threshold near its top
        Save("Gone", 0, "Lost", 0, 0),          // a pack that is not there
        Save("default", 2, std::string(63, 'n').c_str(), -20000, -1),
    };
    MutationHints hints;
    hints.countOffsets = {kSaveMapIndexOffset, kSaveScoreOffset, kSaveLivesOffset};
    Mutator mutator(0x73617665u);
    int outcomes[3] = {};
    for (int iteration = 0; iteration < 4000; ++iteration) {
        std::vector<std::uint8_t> bytes = seeds[static_cast<std::size_t>(iteration) % seeds.size()];
        // Half the iterations keep the digests whole so the later checks are reached.
        if (iteration % 2 == 0) {
            mutator.Mutate(bytes, hints);
        } else {
            const std::size_t at = mutator.Pick(kSaveScoreOffset);
            bytes[at] = static_cast<std::uint8_t>(mutator.Pick(256));
        }
        dir.WriteBytes("Data/SaveGame.sav", bytes);

        State state;
        State expected;
        const Outcome outcome = Expect(bytes, packs, expected);
        SaveGameTarget target = state.Target();
        log.Clear();
        const SaveLoadResult result = LoadSaveGameInto(dir.Root(), target, log.Get());
        ++outcomes[static_cast<int>(outcome)];

        switch (outcome) {
        case Outcome::Refused:
            ASSERT_EQ(result, SaveLoadResult::Refused) << "iteration " << iteration;
            ASSERT_EQ(log.Text(), "Corrupt Variables in save state!\n") << "iteration " << iteration;
            break;
        case Outcome::MissingPack:
            ASSERT_EQ(result, SaveLoadResult::MissingPack) << "iteration " << iteration;
            ASSERT_EQ(log.Text(), "") << "iteration " << iteration;
            break;
        case Outcome::Loaded:
            ASSERT_EQ(result, SaveLoadResult::Loaded) << "iteration " << iteration;
            ASSERT_EQ(log.Text(), "") << "iteration " << iteration;
            ASSERT_GE(state.mapIndex, 0);
            ASSERT_LT(static_cast<std::size_t>(state.mapIndex), state.packMaps.size());
            ASSERT_GE(state.nextExtraLife, std::min(state.score, INT_MAX)) << "iteration " << iteration;
            break;
        }
        // Refused leaves the state exactly as it was (expected is untouched then).
        ASSERT_TRUE(state == expected) << "iteration " << iteration;
        ASSERT_LT(std::strlen(state.packName), sizeof state.packName);
        ASSERT_LT(std::strlen(state.mapName), sizeof state.mapName);
    }
    EXPECT_GT(outcomes[static_cast<int>(Outcome::Refused)], 400);
    EXPECT_GT(outcomes[static_cast<int>(Outcome::MissingPack)], 400);
    EXPECT_GT(outcomes[static_cast<int>(Outcome::Loaded)], 400);
}

} // namespace

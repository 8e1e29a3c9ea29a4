#include "Game.h"
#include "Player.h"
#include "SaveGame.h"
#include "support/MapTestDir.h"
#include "testing/FailingFileSteps.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>
#include <memory>

namespace {

std::string FieldText(const std::vector<std::uint8_t>& bytes, int offset, int size)
{
    const char* at = reinterpret_cast<const char*>(&bytes[static_cast<std::size_t>(offset)]);
    return std::string(at, strnlen(at, static_cast<std::size_t>(size)));
}

std::int32_t FieldInt(const std::vector<std::uint8_t>& bytes, int offset)
{
    std::int32_t v;
    std::memcpy(&v, &bytes[static_cast<std::size_t>(offset)], 4);
    return v;
}

void WriteSave(const MapTestDir& dir, const std::array<std::uint8_t, kSaveGameBytes>& bytes)
{
    ASSERT_TRUE(WriteFileReplacing(SaveGamePath(dir.Root()), bytes.data(), bytes.size()));
}

// The game state a saved game restores, with recognisable old values.
struct GameState {
    char packName[kPackNameBytes] = "Default";
    std::vector<std::string> packMaps{"one", "two", "three"};
    std::int32_t mapIndex = 0;
    char mapName[kGameMapNameBytes] = "one";
    std::int32_t score = 123;
    std::int32_t lives = 2;
    std::int32_t nextExtraLife = 20000;

    SaveGameTarget Target()
    {
        return SaveGameTarget{packName, packMaps, mapIndex, mapName, score, lives, nextExtraLife};
    }
    bool Unchanged() const
    {
        return std::strcmp(packName, "Default") == 0 && packMaps.size() == 3 && mapIndex == 0 &&
               std::strcmp(mapName, "one") == 0 && score == 123 && lives == 2 && nextExtraLife == 20000;
    }
};

struct SaveFixture : ::testing::Test {
    MapTestDir dir;
    CapturedLog log{dir};
    GameState state;

    SaveFixture() { dir.WriteText("Data/Maps/Default.rota", "one\ntwo\nthree\n"); }

    SaveLoadResult Load()
    {
        SaveGameTarget target = state.Target();
        return LoadSaveGameInto(dir.Root(), target, log.Get());
    }
    std::vector<std::uint8_t> FileBytes() const { return dir.ReadBytes("Data/SaveGame.sav"); }

    // A game in the fixture's folder on its pack, at that map with that tally.
    std::unique_ptr<Game> GameAt(std::int32_t mapIndex, const char* mapName, std::int32_t score, std::int32_t lives)
    {
        auto game = std::make_unique<Game>();
        game->dataRoot = dir.Root();
        game->LoadMapPack();
        game->mapIndex = mapIndex;
        std::snprintf(game->mapName, sizeof game->mapName, "%s", mapName);
        game->player->score = score;
        game->player->lives = lives;
        return game;
    }
};

TEST_F(SaveFixture, FieldsSitAtTheirOffsets)
{
    WriteSave(dir, EncodeSaveGame("Default", 2, "three", 0, 3));
    std::vector<std::uint8_t> bytes = FileBytes();
    ASSERT_EQ(bytes.size(), 398u);
    EXPECT_EQ(FieldText(bytes, 0, 256), "Default");
    EXPECT_EQ(FieldInt(bytes, 256), 2);
    EXPECT_EQ(FieldText(bytes, 260, 64), "three");
    EXPECT_EQ(FieldInt(bytes, 324), 0);
    EXPECT_EQ(FieldText(bytes, 328, 33), Md5Hex(std::string("0")));
    EXPECT_EQ(bytes[360], 0);
    EXPECT_EQ(FieldInt(bytes, 361), 3);
    EXPECT_EQ(FieldText(bytes, 365, 33), Md5Hex(std::string("3")));
    EXPECT_EQ(bytes[397], 0);

    WriteSave(dir, EncodeSaveGame("Default", 0, "one", -150, 1));
    bytes = FileBytes();
    EXPECT_EQ(FieldInt(bytes, 324), -150);
    EXPECT_EQ(FieldText(bytes, 328, 33), Md5Hex(std::string("-150")));
}

TEST_F(SaveFixture, LoadRestoresEveryFieldAndRaisesTheExtraLife)
{
    WriteSave(dir, EncodeSaveGame("DEFAULT", 2, "three", 65000, 4));
    EXPECT_EQ(Load(), SaveLoadResult::Loaded);
    // Only the case differs: no pack switch, the current name stays.
    EXPECT_STREQ(state.packName, "Default");
    EXPECT_EQ(state.mapIndex, 2);
    EXPECT_STREQ(state.mapName, "three");
    EXPECT_EQ(state.score, 65000);
    EXPECT_EQ(state.lives, 4);
    EXPECT_EQ(state.nextExtraLife, 80000);
    EXPECT_EQ(log.Text(), "");

    state.nextExtraLife = 20000;
    WriteSave(dir, EncodeSaveGame("Default", 0, "one", 40000, 1));
    EXPECT_EQ(Load(), SaveLoadResult::Loaded);
    EXPECT_EQ(state.nextExtraLife, 40000);
}

TEST_F(SaveFixture, SavedPackOtherThanTheCurrentOneIsSwitchedTo)
{
    dir.WriteText("Data/Maps/Bonus.rota", "b1\nb2\n");
    WriteSave(dir, EncodeSaveGame("Bonus", 1, "b2", 10, 3));
    EXPECT_EQ(Load(), SaveLoadResult::Loaded);
    EXPECT_STREQ(state.packName, "Bonus");
    EXPECT_EQ(state.packMaps, (std::vector<std::string>{"b1", "b2"}));
    EXPECT_EQ(state.mapIndex, 1);
}

TEST_F(SaveFixture, MissingPackFallsBackToDefault)
{
    std::strcpy(state.packName, "Other");
    state.packMaps = {"x"};
    WriteSave(dir, EncodeSaveGame("Gone", 1, "two", 500, 1));
    EXPECT_EQ(Load(), SaveLoadResult::MissingPack);
    EXPECT_STREQ(state.packName, "Default");
    EXPECT_EQ(state.packMaps, (std::vector<std::string>{"one", "two", "three"}));
    EXPECT_EQ(state.mapIndex, 0);
    EXPECT_STREQ(state.mapName, "one");
    EXPECT_EQ(state.score, 123);
    EXPECT_EQ(state.lives, 2);
}

TEST_F(SaveFixture, DamagedSavesAreRefusedBeforeAnythingChanges)
{
    const auto good = EncodeSaveGame("Default", 1, "two", 5000, 3);
    struct Case {
        const char* what;
        void (*spoil)(std::vector<std::uint8_t>&);
    };
    const Case cases[] = {
        {"score changed", [](std::vector<std::uint8_t>& b) { b[324] ^= 1; }},
        {"lives changed", [](std::vector<std::uint8_t>& b) { b[361] = 99; }},
        {"score digest changed", [](std::vector<std::uint8_t>& b) { b[330] = b[330] == 'a' ? 'b' : 'a'; }},
        {"digest in capitals",
         [](std::vector<std::uint8_t>& b) {
             for (int i = 365; i < 397; ++i)
                 b[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(std::toupper(b[static_cast<std::size_t>(i)]));
         }},
        {"map index past the list", [](std::vector<std::uint8_t>& b) { b[256] = 3; }},
        {"negative map index", [](std::vector<std::uint8_t>& b) { b[259] = 0x80; }},
        // The map name is loaded as "Data/Maps/<name>.map": it must stay a
        // plain file name, as the pack name must.
        {"map name leaving the maps folder",
         [](std::vector<std::uint8_t>& b) { std::memcpy(&b[260], "../two", 7); }},
        {"map name in a subfolder", [](std::vector<std::uint8_t>& b) { std::memcpy(&b[260], "a\\two", 6); }},
        {"empty map name", [](std::vector<std::uint8_t>& b) { b[260] = 0; }},
        {"one byte short", [](std::vector<std::uint8_t>& b) { b.pop_back(); }},
        {"empty", [](std::vector<std::uint8_t>& b) { b.clear(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::uint8_t> bytes(good.begin(), good.end());
        c.spoil(bytes);
        dir.WriteBytes("Data/SaveGame.sav", bytes);
        log.Clear();
        EXPECT_EQ(Load(), SaveLoadResult::Refused);
        EXPECT_EQ(log.Text(), "Corrupt Variables in save state!\n");
        EXPECT_TRUE(state.Unchanged());
    }

    std::filesystem::remove(dir.Path("Data/SaveGame.sav"));
    log.Clear();
    EXPECT_FALSE(SaveGameExists(dir.Root()));
    EXPECT_EQ(Load(), SaveLoadResult::Refused);
    EXPECT_EQ(log.Text(), "");
}

// What is no save-sized file is refused unread: its line in the log, the
// state untouched, the file left where it is.
TEST_F(SaveFixture, NonFilesAndOversizedSavesAreRefusedUnread)
{
    const auto good = EncodeSaveGame("Default", 1, "two", 5000, 3);
    const std::filesystem::path path = dir.Path("Data/SaveGame.sav");
    const struct {
        const char* what;
        std::uintmax_t size; // 0: a directory
        const char* reasonPart;
    } cases[] = {{"directory", 0, "is a directory"},
                 {"a good save padded past the cap", kSaveGameSizeCap + 1, "holds 4097 bytes"},
                 {"terabyte", std::uintmax_t{1} << 40, "holds 1099511627776 bytes"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(path);
        if (c.size == 0) {
            std::filesystem::create_directory(path);
        } else {
            dir.WriteBytes("Data/SaveGame.sav", std::vector<std::uint8_t>(good.begin(), good.end()));
            std::filesystem::resize_file(path, c.size);
        }
        log.Clear();
        EXPECT_EQ(Load(), SaveLoadResult::Refused);
        EXPECT_EQ(log.Text().rfind("Refused " + path.string() + ": " + c.reasonPart, 0), 0u) << log.Text();
        EXPECT_TRUE(state.Unchanged());
        EXPECT_TRUE(std::filesystem::exists(path));
        EXPECT_FALSE(SaveGameExists(dir.Root()));
    }
    std::filesystem::remove_all(path);
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    EXPECT_FALSE(SaveGameExists(dir.Root())); // answered without opening the pipe
    EXPECT_EQ(Load(), SaveLoadResult::Refused);
    std::filesystem::remove(path);
    dir.WriteBytes("Data/SaveGame.sav", std::vector<std::uint8_t>(good.begin(), good.end()));

    // At the cap a good save still loads: the bytes after its record mean nothing.
    std::filesystem::resize_file(path, kSaveGameSizeCap);
    EXPECT_EQ(Load(), SaveLoadResult::Loaded);
}

TEST(SaveGameRecord, TextFieldsAreAlwaysTerminated)
{
    std::vector<std::uint8_t> bytes(kSaveGameBytes, 'x');
    SaveGameRecord record;
    ASSERT_TRUE(DecodeSaveGame(bytes.data(), bytes.size(), record));
    EXPECT_EQ(std::strlen(record.packName), 255u);
    EXPECT_EQ(std::strlen(record.mapName), 63u);
    EXPECT_EQ(std::strlen(record.scoreDigest), 32u);
    EXPECT_EQ(std::strlen(record.livesDigest), 32u);
    EXPECT_FALSE(SaveDigestsMatch(record));
    EXPECT_FALSE(DecodeSaveGame(bytes.data(), 397, record));
    EXPECT_FALSE(DecodeSaveGame(nullptr, 398, record));
}

TEST(SaveGameRecord, ExtraLifeThresholdRisesInSteps)
{
    const std::int32_t max = std::numeric_limits<std::int32_t>::max();
    const std::int32_t min = std::numeric_limits<std::int32_t>::min();
    struct Case {
        std::int32_t next, score, expected;
    };
    const Case cases[] = {
        {20000, 65000, 80000}, {20000, 40000, 40000}, {100000, 5, 100000}, {20000, -50, 20000},
        {0, 1, 20000},         {0, max, max},         {max, max, max},     {min, 0, 16352},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RaiseNextExtraLife(c.next, c.score), c.expected) << c.next << " " << c.score;
}

// A save the player made read-only is kept, with one log line saying why;
// writable again, the next save goes through and leaves no temporary.
TEST_F(SaveFixture, FailedWriteKeepsThePreviousSave)
{
    WriteSave(dir, EncodeSaveGame("Default", 1, "two", 777, 3));
    const std::vector<std::uint8_t> before = FileBytes();
    const std::string path = SaveGamePath(dir.Root());
    const std::unique_ptr<Game> gamePtr = GameAt(2, "three", 888, 2);
    Game& game = *gamePtr;

    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    log.Clear();
    game.SaveGame(log.Get());
    EXPECT_EQ(FileBytes(), before);
    EXPECT_EQ(log.Text(), "Could not save the game to " + path + " (" + kReadOnlyFileReason +
                              "): the previous save is kept\n");

    ASSERT_EQ(chmod(path.c_str(), 0644), 0);
    log.Clear();
    game.SaveGame(log.Get());
    EXPECT_EQ(log.Text(), "");
    EXPECT_EQ(FieldInt(FileBytes(), 324), 888);
    EXPECT_TRUE(TemporariesBeside(path).empty());
    EXPECT_TRUE(SaveGameExists(dir.Root()));
}

TEST_F(SaveFixture, GameSavesAndRestoresItsOwnState)
{
    const std::unique_ptr<Game> gamePtr = GameAt(1, "two", 45000, 5);
    Game& game = *gamePtr;
    game.player->nextExtraLife = 20000;
    game.SaveGame();
    ASSERT_TRUE(SaveGameExists(dir.Root()));

    game.mapIndex = 0;
    std::strcpy(game.mapName, "one");
    game.player->score = 0;
    game.player->lives = 1;
    EXPECT_EQ(game.LoadSaveGame(log.Get()), 1);
    EXPECT_EQ(game.mapIndex, 1);
    EXPECT_STREQ(game.mapName, "two");
    EXPECT_EQ(game.player->score, 45000);
    EXPECT_EQ(game.player->lives, 5);
    EXPECT_EQ(game.player->nextExtraLife, 60000);

    WriteSave(dir, EncodeSaveGame("Vanished", 0, "v", 1, 1));
    EXPECT_EQ(game.LoadSaveGame(log.Get()), -1);
    EXPECT_STREQ(game.packName, "Default");
    WriteSave(dir, EncodeSaveGame("Default", 7, "two", 1, 1));
    EXPECT_EQ(game.LoadSaveGame(log.Get()), 0);
}

} // namespace

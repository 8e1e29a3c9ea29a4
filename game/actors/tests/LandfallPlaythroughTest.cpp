// The first map of the "Default" pack flown from spawn to tally by a
// recorded run, with the real models and maps: every log line with its tick
// and the final statistics are compared with a reviewed golden file.
// ZELV_UPDATE_GOLDEN=1 rewrites the golden instead.
#include "DemoGame.h"
#include "Game.h"
#include "Generator.h"
#include "InputRecorder.h"
#include "InputScript.h"
#include "Player.h"
#include "Random.h"
#include "SaveGame.h"
#include "testing/HeadlessHost.h"
#include "support/MapTestDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>

namespace {

const std::filesystem::path kFolder = std::filesystem::path(__FILE__).parent_path() / "playthrough";

std::string ReadText(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Standard output (where the game's log goes) into a string while it lives.
class CoutCapture {
public:
    CoutCapture() : saved(std::cout.rdbuf(text.rdbuf())) {}
    ~CoutCapture() { std::cout.rdbuf(saved); }
    CoutCapture(const CoutCapture&) = delete;
    CoutCapture& operator=(const CoutCapture&) = delete;
    // The complete lines written since the last call.
    std::vector<std::string> TakeLines()
    {
        pending += text.str();
        text.str("");
        std::vector<std::string> lines;
        std::size_t start = 0;
        for (std::size_t end; (end = pending.find('\n', start)) != std::string::npos; start = end + 1)
            lines.push_back(pending.substr(start, end - start));
        pending.erase(0, start);
        return lines;
    }

private:
    std::ostringstream text;
    std::streambuf* saved;
    std::string pending;
};

struct Outcome {
    std::string golden;        // log lines with ticks, then the final statistics
    std::string recording;     // what the recorder wrote while it played
    std::int64_t tally = -1;   // the score paid at the map change
    std::int64_t expectedTally = -2;
    int rescuedAtTally = -1;
    bool generatorDestroyed = false;
    bool saved = false;
    float nearestTurret = 1e9f; // the ship's closest approach to a turret
};

// Plays the script on a fresh game: pack "Default" of the demo data, seed 1000.
Outcome Play(const std::string& scriptText)
{
    Outcome result;
    HeadlessHost host{7};
    MapTestDir dir;
    auto gamePtr = std::make_unique<Game>(host);
    Game& game = *gamePtr;
    PrepareDemoGame(game, dir, {"Landfall", "Caverns"});
    std::snprintf(game.packName, sizeof game.packName, "%s", "Default");
    InputScript script;
    std::string error;
    EXPECT_TRUE(ParseInputScript(scriptText, script, error)) << error;
    game.inputScript = std::make_unique<InputScriptPlayer>(std::move(script));
    std::ostringstream recorded;
    InputRecorder recorder(recorded);
    game.inputRecorder = &recorder;

    Log::Instance().SetEnabled(true);
    CoutCapture log;
    std::ostringstream golden;
    const auto takeLog = [&](long tick) {
        for (const std::string& line : log.TakeLines())
            golden << tick << ": " << line << '\n';
    };
    EXPECT_TRUE(game.NewGameOnMap(game.inputScript->Script().map));
    takeLog(0);
    Player& ship = *game.player;
    for (long tick = 1; !game.inputScript->Finished() && tick < 1000000; ++tick) {
        for (Entity* e : game.entities) {
            if (auto* g = dynamic_cast<Generator*>(e))
                result.generatorDestroyed = result.generatorDestroyed || g->destroyed;
            if (e->type == EntityTypes::BlueTurret && game.mapName == std::string("Landfall")) {
                const float dx = std::remainder(e->position.x - ship.position.x, game.WorldWidth());
                result.nearestTurret = std::min(result.nearestTurret, std::hypot(dx, e->position.y - ship.position.y));
            }
        }
        const std::string map = game.mapName;
        const std::int64_t score = ship.score;
        const std::int64_t kept = static_cast<std::int64_t>(std::trunc(ship.hull)) + 10 * ship.scientistsRescued +
                                  static_cast<std::int64_t>(std::trunc(ship.fuel));
        const std::int64_t expected = game.bonusTime + 10 * kept;
        const int rescued = ship.scientistsRescued;
        game.RunTick();
        takeLog(tick);
        if (map != game.mapName && result.tally < 0) {
            result.tally = ship.score - score;
            result.expectedTally = expected;
            result.rescuedAtTally = rescued;
        }
    }
    recorder.Finish();
    game.inputRecorder = nullptr;
    golden << "score " << ship.score << "\nlives " << ship.lives << "\nhull " << ship.hull << "\nfuel " << ship.fuel
           << "\nrescued " << ship.scientistsRescued << "\nmap " << game.mapName << '\n';
    result.golden = golden.str();
    result.recording = recorded.str();

    const std::string saveBytes = ReadText(SaveGamePath(dir.Root()));
    SaveGameRecord save;
    result.saved = DecodeSaveGame(reinterpret_cast<const std::uint8_t*>(saveBytes.data()), saveBytes.size(), save) &&
                   std::string(save.mapName) == "Caverns" && save.score == ship.score;
    return result;
}

TEST(LandfallPlaythrough, WinsTheFirstMapAsTheGoldenRecords)
{
    const std::string script = ReadText(kFolder / "Landfall.script");
    ASSERT_FALSE(script.empty());
    const Outcome first = Play(script);
    const Outcome second = Play(script);
    EXPECT_EQ(first.golden, second.golden) << "two runs in one process differ";

    EXPECT_TRUE(first.generatorDestroyed);
    EXPECT_GT(first.nearestTurret, 500.0f) << "the route keeps clear of the turrets";
    EXPECT_EQ(first.rescuedAtTally, 1);
    EXPECT_EQ(first.tally, first.expectedTally);
    EXPECT_NE(first.golden.find("Loaded map Caverns.map"), std::string::npos);
    EXPECT_TRUE(first.saved) << "the game is saved on Caverns with the final score";

    const std::filesystem::path goldenPath = kFolder / "Landfall.golden";
    const char* update = std::getenv("ZELV_UPDATE_GOLDEN");
    if (update != nullptr && std::string(update) == "1") {
        std::ofstream(goldenPath, std::ios::binary) << first.golden;
        GTEST_SKIP() << "golden rewritten: " << goldenPath;
    }
    EXPECT_EQ(first.golden, ReadText(goldenPath));

    // What the recorder wrote while the run played replays to the same run.
    const Outcome replayed = Play(first.recording);
    EXPECT_EQ(replayed.golden, first.golden);
}

} // namespace

// The ship's bookkeeping: extra lives and the end of a level at the top of
// the map (aborted, or completed with a tally and the next map).
#include "Player.h"

#include "Fade.h"
#include "Game.h"

#include <cmath>
#include <limits>
#include <memory>

namespace {

constexpr std::int32_t kLastThreshold = std::numeric_limits<std::int32_t>::max();

void PlayCentred(Game& game, SampleId id)
{
    const int channel = game.audio.PlaySample(game.resources.Sample(id), false);
    game.audio.SetChannelPosition(channel, 0, 0);
}

// Loads the map at mapIndex or, when it fails, the ones after it; false when
// none is left.
bool LoadNextPlayableMap(Game& game)
{
    while (game.mapIndex >= 0 && static_cast<std::size_t>(game.mapIndex) < game.packMaps.size()) {
        if (game.LoadMap(game.packMaps[static_cast<std::size_t>(game.mapIndex)].c_str()))
            return true;
        game.mapIndex += 1;
    }
    return false;
}

} // namespace

void Player::AwardExtraLife()
{
    // The threshold stops at the int32 limit and is never paid there, so a
    // score at the limit does not give a life every tick.
    if (score < nextExtraLife || nextExtraLife == kLastThreshold)
        return;
    const std::int64_t next = std::int64_t{nextExtraLife} + kExtraLifeStep;
    nextExtraLife = next > kLastThreshold ? kLastThreshold : static_cast<std::int32_t>(next);
    lives += 1;
    if (theGame != nullptr)
        PlayCentred(*theGame, SampleId::ExtraLife);
}

std::int64_t Player::LevelEndBonus(std::int32_t bonusTime) const
{
    const std::int64_t kept = static_cast<std::int64_t>(std::trunc(hull)) + 10 * std::int64_t{scientistsRescued} +
                              static_cast<std::int64_t>(std::trunc(fuel));
    return std::int64_t{bonusTime} + 10 * kept;
}

void Player::RunLevelEnd()
{
    Game& game = *theGame;
    Game::MissionState& mission = game.missionState;
    if (!game.selfDestruct.running && !mission.aborted) {
        mission.aborted = true;
        endTimer = 300;
        game.audio.FadeOutMusic(1000);
    } else if (game.selfDestruct.running && !mission.aborted && !mission.completed) {
        mission.completed = true;
        endTimer = 700;
        game.audio.FadeOutMusic(1000);
    }
    endTimer -= 1;
    if (mission.completed) {
        if (endTimer >= 200 && endTimer <= 350 && endTimer % 10 == 0)
            PlayCentred(game, SampleId::ui1);
        if (endTimer >= 450 && endTimer <= 650 && endTimer % 50 == 0)
            PlayCentred(game, SampleId::ui2);
    }
    if (endTimer == 100)
        game.fades.push_back(std::make_shared<Fade>(Fade::Black(0.0f, 1.0f, 2.0f, 0)));
    if (endTimer < 1) {
        if (mission.completed) {
            AddScore(LevelEndBonus(game.bonusTime));
            game.mapIndex += 1;
            // A map that fails to load is skipped: the tally is paid once and
            // the pack goes on with the next map that loads.
            if (!LoadNextPlayableMap(game)) {
                game.EnterPackEnd();
                return;
            }
        }
        game.StartLevel();
    }
    angle += 7.0f;
    shieldOn = false;
}

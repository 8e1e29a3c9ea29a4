#include "PositionedSound.h"

#include "Audio.h"
#include "Entity.h"
#include "Game.h"
#include "GameShip.h"
#include "MathUtil.h"
#include "Random.h"

#include <algorithm>

SoundPlacement ComputeSoundPlacement(float x, float y, const WrapFrame& frame)
{
    if (x == frame.player.x && y == frame.player.y)
        return {};
    const Vec2 nearest = NearestPlayerPosition(x, y, frame);
    const float d = Distance(x, y, nearest.x, nearest.y);
    const Vec2 u = DirectionToPlayer(x, y, frame);
    // The angle term saturates at 255 pixels: beyond it the angle would run
    // past 270 (or below 90) and swing the sound to the other side.
    const float sideDistance = std::min(d, 255.0f);
    SoundPlacement placement;
    placement.angle = static_cast<int>(sideDistance * 0.003921569f * u.x * 90.0f + 180.0f);
    placement.distance = static_cast<int>(d * 0.55f);
    return placement;
}

void PlaceSound(Audio& audio, int channel, float x, float y, const WrapFrame& frame)
{
    if (channel < 0)
        return;
    const SoundPlacement placement = ComputeSoundPlacement(x, y, frame);
    audio.SetChannelPosition(channel, placement.angle, placement.distance);
}

// ---- The game's positioned sounds ----------------------------------------


namespace {

WrapFrame ShipFrame(const Game& game)
{
    WrapFrame frame;
    if (GameShip* ship = game.Ship())
        frame.player = ship->Body().position;
    frame.worldWidth = game.WorldWidth();
    return frame;
}

void PlayOneOf(Game& game, const SampleId* family, int count, float x, float y)
{
    const SampleId id = family[Random() % count];
    const int channel = game.audio.PlaySample(game.resources.Sample(id), false);
    game.PositionSound(channel, x, y);
}

} // namespace

void Game::PositionSound(int channel, float x, float y) { PlaceSound(audio, channel, x, y, ShipFrame(*this)); }

void Game::PlaySmallExplosionAt(float x, float y)
{
    static const SampleId family[] = {SampleId::ExplosionSmall1, SampleId::ExplosionSmall2};
    PlayOneOf(*this, family, 2, x, y);
}

void Game::PlayMediumExplosionAt(float x, float y)
{
    static const SampleId family[] = {SampleId::ExplosionMed1, SampleId::ExplosionMed2, SampleId::ExplosionMed3};
    PlayOneOf(*this, family, 3, x, y);
}

void Game::PlayBigExplosionAt(float x, float y)
{
    static const SampleId family[] = {SampleId::ExplosionBig1, SampleId::ExplosionBig2, SampleId::ExplosionBig3};
    PlayOneOf(*this, family, 3, x, y);
}

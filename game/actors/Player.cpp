#include "Player.h"

#include "ActorDraw.h"
#include "Fade.h"
#include "Game.h"
#include "HullPlacement.h"
#include "Log.h"
#include "MathUtil.h"
#include "Mover.h"
#include "Riders.h"
#include "Rotator.h"
#include "SpawnInParticles.h"
#include "ThrustParticles.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

namespace {

// The ship's body and both legs, as flying.
void DrawFlyingShip(DrawSink& sink, WorldDrawState& state, float legAngle, float brightness)
{
    const ObjectModel* body = FindActorModel("Player_Fly");
    const ObjectModel* leg = FindActorModel("Player_Leg");
    if (body != nullptr)
        DrawObjectFaded(sink, body->beams, false, brightness);
    if (leg == nullptr)
        return;
    PushPose(state, {11.0f, 6.0f}, legAngle);
    DrawObjectFaded(sink, leg->beams, false, brightness);
    state.PopMatrix();
    PushPose(state, {-11.0f, 6.0f}, -legAngle);
    DrawObjectFaded(sink, leg->beams, true, brightness);
    state.PopMatrix();
}

} // namespace

Player::Player() { type = EntityTypes::Player; }

float Player::Hundredths(float value) { return std::trunc(value * 100.0f) / 100.0f; }

void Player::Spawn(float, float, float)
{
    // The ship always appears at its respawn point.
    position = previousPosition = {respawnPoint.x, respawnPoint.y};
    angle = previousAngle = respawnPoint.angle;
    ResetShapes();
    velocity = {};
    const Vec2 centre = theGame != nullptr ? theGame->screenCentre : Vec2{};
    camera = previousCamera = position - centre;
    Log::Instance().Write("Player Spawned!\n");
    if (theGame != nullptr)
        thrustParticles =
            theGame->particles.Add(std::make_unique<ThrustParticles>(position.x, position.y, 0.0f, 0.0f));
    fireCooldown = 0;
    zoom = 2.0f;
    if (theGame != nullptr)
        theGame->particles.Add(
            std::make_unique<SpawnInParticles>(position.x, position.y, 0.0f, 0.0f, theGame->frameTimer));
    spawnTimer = kSpawnTicks;
    dying = false;
    if (theGame != nullptr)
        theGame->fades.push_back(std::make_shared<Fade>(Fade::Black(1.0f, 0.0f, 1.0f, 0)));
    scientistsRescued = 0;
    redShieldTimer = 0;
    fuel = kFullFuel;
    hull = kFullHull;
    spin = 0.0f;
    shieldOn = false;
    shieldAngle = 0.0f;
    loopSoundsOn[0] = loopSoundsOn[1] = false;
    if (theGame != nullptr) {
        Game& game = *theGame;
        // The two reserved channels carry the loops, silent until used.
        game.audio.PlaySampleOn(0, game.resources.Sample(SampleId::Engine), true);
        game.audio.PlaySampleOn(1, game.resources.Sample(SampleId::PlayerShield), true);
        game.audio.SetChannelVolume(0, 0);
        game.audio.SetChannelVolume(1, 0);
        const int channel = game.audio.PlaySample(game.resources.Sample(SampleId::Teleport), false);
        game.audio.SetChannelPosition(channel, 0, 0);
    }
    legAngle = -90.0f;
    nearGround = false;
    if (theGame != nullptr && theGame->mode == GameMode::Play) {
        Game& game = *theGame;
        game.audio.FreeMusic(game.music[1]);
        game.audio.LoadMusic("Data/Sound/VovadiVivuz.mp3", game.music[1]);
        game.audio.PlayMusic(game.music[1], true);
    }
    hitCooldown = 0;
    hitsThisTick = 0;
}

void Player::Draw(float alpha)
{
    const ActorCanvas canvas = CurrentCanvas();
    if (!canvas || dying || spawnTimer > 0)
        return;
    DrawSink& sink = *canvas.sink;
    WorldDrawState& state = *canvas.state;
    const float a = Lerp(angle, previousAngle, alpha);
    const Vec2 p = Lerp2(position, previousPosition, alpha);
    PushPose(state, p, a);
    const Game::MissionState& mission = theGame->missionState;
    if (!mission.aborted && !mission.completed) {
        const bool blink = hitCooldown > 0 && hitCooldown % 5 == 0;
        const float brightness = blink ? 0.5f : 1.0f;
        if (landed) {
            if (const ObjectModel* standing = FindActorModel("Player"))
                DrawObjectFaded(sink, standing->beams, false, brightness);
        } else {
            DrawFlyingShip(sink, state, legAngle, brightness);
        }
    } else {
        const float t = static_cast<float>((mission.completed ? 700 : 300) - endTimer);
        DrawFlyingShip(sink, state, legAngle, Interpolate(1.0f, 0.0f, 0.0f, 50.0f, t));
    }
    state.PopMatrix();

    if (!shieldOn)
        return;
    const ObjectModel* segment = FindActorModel(redShieldTimer > 0 ? "RedShield" : "PlayerShield");
    if (segment == nullptr)
        return;
    for (float half : {0.0f, 180.0f}) {
        for (int k = 10; k >= 6; --k) {
            const float i = 90.0f + 15.0f * static_cast<float>(k - 6);
            PushPose(state, p, shieldAngle + i + half);
            DrawObjectFaded(sink, segment->beams, true, 0.1f * static_cast<float>(k));
            state.PopMatrix();
        }
    }
}

// The ship is never solid to what it touches.
bool Player::OnContact(Entity*) { return false; }

Entity* Player::Clone() const { return new Player(*this); }

void Player::BuildHull()
{
    shieldShapes.clear();
    Entity::BuildHull();
    AppendModelHull("PlayerShield", shieldShapes);
}

bool Player::LeavesCarrier()
{
    if (landed)
        return false;
    carrier = nullptr;
    return true;
}

void Player::PlaceShapes(float x, float y)
{
    PlaceHull(shapes, x, y);
    PlaceHull(shieldShapes, x, y);
}

void Player::RotateShapes(float degrees)
{
    RotateHull(shapes, position, degrees);
    RotateHull(shieldShapes, position, degrees);
}

void Player::ResetStats()
{
    score = 0;
    lives = 3;
    currentCheckPoint = nullptr;
    currentCheckPointTemplate = -1;
    carrier = nullptr;
    if (theGame != nullptr)
        theGame->gravity = {0.0f, 0.04f};
    fireCooldown = 0;
    nextExtraLife = kExtraLifeStep;
}

void Player::AddScore(std::int64_t amount)
{
    const std::int64_t sum = std::int64_t{score} + amount;
    score = static_cast<std::int32_t>(std::clamp<std::int64_t>(
        sum, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

void Player::ReleaseCarrier()
{
    RemoveRider(carrier.Get(), this);
}

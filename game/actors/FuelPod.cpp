#include "FuelPod.h"

#include "ActorDraw.h"
#include "FuelStreamParticles.h"
#include "Game.h"
#include "Log.h"
#include "MathUtil.h"
#include "Player.h"
#include "WrapFrame.h"
#include "Wreckage.h"

#include <memory>

namespace {

constexpr float kNozzleOut = 25.0f;
constexpr float kEmissions = 100.0f;

} // namespace

FuelPod::FuelPod()
{
    type = EntityTypes::FuelPod;
}

Vec2 FuelPod::Nozzle() const
{
    Vec2 forward;
    Vec2 side;
    AngleToVectors(angle - 90.0f, forward, side);
    return position + kNozzleOut * forward;
}

void FuelPod::Spawn(float x, float y, float angle)
{
    SpawnPose(x, y, angle);
    Log::Instance().Write("FuelPod Spawned!\n");
    health = 3.0f;
    stream = nullptr;
    if (theGame != nullptr) {
        auto made = std::make_unique<FuelStreamParticles>(x, y, 0.0f, 0.0f);
        made->pod = this;
        stream = made.get();
        theGame->particles.Add(std::move(made));
    }
    fuelStore = kEmissions;
    soundOn = false;
    points = 25;
}

void FuelPod::Update()
{
    SavePose();
    if (theGame == nullptr || theGame->player == nullptr)
        return;
    Game& game = *theGame;
    const Player& ship = *game.player;
    const Vec2 nozzle = Nozzle();
    const Vec2 target = NearestPlayerPosition(nozzle.x, nozzle.y, {ship.position, game.WorldWidth()});
    if (!(Distance(nozzle.x, nozzle.y, target.x, target.y) < FuelStreamParticles::kReach)) {
        StopHiss();
    } else if (!ship.dying && ship.spawnTimer == 0 && !soundOn) {
        soundOn = true;
        soundChannel = game.audio.PlaySample(game.resources.Sample(SampleId::FuelPod), true);
        game.PositionSound(soundChannel, position.x, position.y);
    }
    if (dead)
        StopHiss();
}

void FuelPod::StopHiss()
{
    if (!soundOn)
        return;
    soundOn = false;
    if (theGame != nullptr)
        theGame->audio.HaltChannel(soundChannel);
}

void FuelPod::Draw(float alpha)
{
    DrawModelPose(*this, "FuelPod", alpha);
}

void FuelPod::Damage(float amount)
{
    DamageWhileAlive(amount);
}

// Once, whether shot or emptied (also both in one tick).
void FuelPod::Die()
{
    if (dead)
        return;
    Vec2 forward;
    Vec2 side;
    AngleToVectors(angle, forward, side);
    const Vec2 top = position - kNozzleOut * side;
    AddExplosion(top, 1.0f, 0.3f, 1.0f, 40);
    AddExplosion(top, 0.0f, 0.7f, 1.0f, 30);
    AddShockRing(top, Rgb{1.0f, 0.0f, 1.0f}, 40.0f);
    MarkDead(); // pays the 25 points
    if (theGame != nullptr)
        theGame->PlayBigExplosionAt(position.x, position.y);
    StopHiss();
    if (FuelStreamParticles* mine = stream.Get())
        mine->pod = nullptr;
}

Entity* FuelPod::Clone() const
{
    return new FuelPod(*this);
}

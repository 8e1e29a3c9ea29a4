#include "Emitter.h"

#include "ActorAxis.h"
#include "ActorDraw.h"
#include "Game.h"
#include "JetParticles.h"
#include "Log.h"
#include "MapData.h"
#include "MathUtil.h"
#include "Player.h"
#include "ResourceTables.h"
#include "WrapFrame.h"

#include <cstring>
#include <memory>


Emitter::Emitter()
{
    type = EntityTypes::Emitter;
}

void Emitter::Spawn(float x, float y, float a)
{
    SpawnPose(x, y, a);
    Log::Instance().Write("Emiter Spawned!\n");
    on = startsOn;
    phaseTimer = 0.0f;
    tickCount = 0;
    airPlaying = false;
    jet = nullptr;
    if (theGame == nullptr)
        return;
    const Vec2 u = ActorAxis(angle);
    const Vec2 at = position - 5.0f * u;
    jet = theGame->particles.Add(std::make_unique<JetParticles>(at.x, at.y, -u.x, -u.y));
}

void Emitter::Update()
{
    SavePose();
    phaseTimer += SimulationStep();
    if ((on && onTime > 0.0f && phaseTimer >= onTime) || (!on && offTime > 0.0f && phaseTimer >= offTime)) {
        on = !on;
        phaseTimer = 0.0f;
    }
    if (JetParticles* particles = jet.Get())
        particles->box.SetCentre(position.x, position.y);
    if (!on) {
        if (airPlaying && theGame != nullptr)
            theGame->audio.HaltChannel(airChannel);
        airPlaying = false;
        return;
    }
    Blow(ActorAxis(angle));
}

void Emitter::Blow(Vec2 u)
{
    ++tickCount;
    if (tickCount % 2 == 0) {
        if (JetParticles* particles = jet.Get()) {
            const Vec2 at = position - 15.0f * u;
            particles->Emit(at.x, at.y, -u.x, -u.y, 5);
        }
    }
    if (theGame == nullptr || theGame->player == nullptr)
        return;
    Game& game = *theGame;
    Player& ship = *game.player;
    if (!ship.dying) {
        const WrapFrame frame{ship.position, game.WorldWidth()};
        for (int d = 10; d <= 100; d += 10) {
            const Vec2 q = position - static_cast<float>(d) * u;
            const Vec2 p = NearestPlayerPosition(q.x, q.y, frame);
            if (Length(q - p) < 0.5f * static_cast<float>(d)) {
                ship.velocity -= kPush * u;
                if (ship.landed) {
                    ship.landed = false;
                    ship.landedBeam = nullptr;
                    ship.carrier = nullptr;
                }
                break;
            }
        }
    }
    if (!airPlaying) {
        airPlaying = true;
        airChannel = game.audio.PlaySample(game.resources.Sample(SampleId::Air), true);
    }
    game.PositionSound(airChannel, position.x, position.y);
}

void Emitter::Draw(float alpha)
{
    DrawModelPose(*this, "ParticleEmitter", alpha);
}

// Indestructible.
void Emitter::Damage(float) {}

// It never dies by itself.
void Emitter::Die() {}

Entity* Emitter::Clone() const
{
    return new Emitter(*this);
}

void Emitter::Activate(Entity*)
{
    on = !on;
    phaseTimer = 0.0f;
}

void Emitter::ReadMapRecord(const ActorRecord& record)
{
    std::memcpy(name, record.name, sizeof name);
    onTime = record.onTime;
    offTime = record.offTime;
    startsOn = record.startsOn;
}

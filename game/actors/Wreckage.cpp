#include "Wreckage.h"

#include "ActorDraw.h"
#include "Debris.h"
#include "EntityFactory.h"
#include "ExplosionParticles.h"
#include "Game.h"
#include "ShockRing.h"

#include <memory>

void AddExplosion(Vec2 at, float r, float g, float b, std::int32_t count)
{
    if (theGame == nullptr)
        return;
    auto burst = std::make_unique<ExplosionParticles>(at.x, at.y, 0.0f, 0.0f);
    burst->Start(at.x, at.y, 0.0f, 0.0f, r, g, b, 0.0f, 0.0f, 0.0f, count);
    theGame->particles.Add(std::move(burst));
}

void AddShockRing(Vec2 at)
{
    AddShockRing(at, Rgb{1.0f, 0.75f, 0.0f}, 40.0f);
}

void AddShockRing(Vec2 at, Rgb colour, float speed)
{
    if (theGame == nullptr)
        return;
    auto ring = std::make_unique<ShockRing>(at.x, at.y, colour.r, colour.g, colour.b);
    ring->speed = speed;
    ring->Emit(at.x, at.y, colour.r, colour.g, colour.b);
    theGame->ribbons.Add(std::move(ring));
}

void BreakIntoDebris(const char* modelName, Vec2 at, Vec2 baseVelocity, float pull)
{
    const ObjectModel* model = FindActorModel(modelName);
    if (model == nullptr)
        return;
    for (const Beam& source : model->beams) {
        Entity* made = CreateEntity(EntityTypes::Debris);
        if (made == nullptr)
            continue;
        auto* piece = static_cast<Debris*>(made);
        piece->beam = source;
        piece->beam.a += at;
        piece->beam.b += at;
        piece->Spawn(piece->beam.a.x, piece->beam.a.y, 0.0f);
        piece->waiting = false;
        piece->slowShrink = true;
        const Vec2 middle = 0.5f * (piece->beam.a + piece->beam.b);
        piece->velocity = baseVelocity + pull * (at - middle);
        theGame->entities.Append(piece);
    }
}

#include "Wreckage.h"

#include "ActorDraw.h"
#include "Debris.h"
#include "EntityFactory.h"
#include "ExplosionParticles.h"
#include "Game.h"
#include "MathUtil.h"
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
    BreakIntoDebris(
        modelName, [at](Vec2 e) { return e + at; },
        [at, baseVelocity, pull](Vec2 middle) { return baseVelocity + pull * (at - middle); }, false);
}

void BreakIntoDebris(const char* modelName, const std::function<Vec2(Vec2)>& place,
                     const std::function<Vec2(Vec2)>& velocityAt, bool turned)
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
        piece->beam.a = place(source.a);
        piece->beam.b = place(source.b);
        if (turned) {
            const Vec2 along = piece->beam.b - piece->beam.a;
            piece->beam.direction = Normalize(along.x, along.y);
            piece->beam.normal = {piece->beam.direction.y, -piece->beam.direction.x};
        }
        piece->Spawn(piece->beam.a.x, piece->beam.a.y, 0.0f);
        piece->waiting = false;
        piece->slowShrink = true;
        piece->velocity = velocityAt(0.5f * (piece->beam.a + piece->beam.b));
        theGame->entities.Append(piece);
    }
}

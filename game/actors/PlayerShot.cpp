#include "PlayerShot.h"

#include "Entity.h"
#include "Game.h"
#include "PuffParticles.h"
#include "Sector.h"

#include <memory>

namespace {

void PlayHitSound(Vec2 at)
{
    if (theGame == nullptr)
        return;
    const int channel = theGame->audio.PlaySample(theGame->resources.Sample(SampleId::Hitsound1), false);
    theGame->PositionSound(channel, at.x, at.y);
}

void Puff(Vec2 at)
{
    if (theGame != nullptr)
        theGame->particles.Add(std::make_unique<PuffParticles>(at.x, at.y, 0.0f, 0.0f));
    PlayHitSound(at);
}

} // namespace

void PlayerShot::Spawn(float x, float y, float vx, float vy, float degrees)
{
    Launch(0, {x, y}, {vx, vy}, degrees, kLife, kDamage);
}

void PlayerShot::Update()
{
    if (Expire())
        Puff(position);
    MoveAndWrap();
    if (WalkTerrainWithSparks())
        PlayHitSound(position);
    if (!dead) {
        if (Entity* victim = FindVictim()) {
            victim->Damage(damage);
            dead = true;
            Puff(position);
        }
    }
    Reregister();
}

void PlayerShot::Draw(float alpha) { DrawModel("PlayerBullet01", alpha); }

Entity* PlayerShot::FindVictim()
{
    for (Sector* sector : sectors) {
        // A contact test may change the cell's lists: the walk allows it.
        for (Entity* entity : sector->Entities()) {
            Vec2 normal;
            // The ship is never this kind's victim, shielded or not.
            if (entity->CollideShapes(shapes, &normal) && !PassesThrough(entity->type) &&
                entity->type != EntityTypes::Player)
                return entity;
        }
    }
    return nullptr;
}

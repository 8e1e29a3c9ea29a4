#include "PlayerDebris.h"

#include "ActorDraw.h"
#include "Game.h"
#include "Log.h"
#include "MathUtil.h"
#include "Random.h"
#include "Sector.h"
#include "Wreckage.h"

PlayerDebris::PlayerDebris()
{
    type = EntityTypes::PlayerDebrisFirst;
}

void PlayerDebris::Spawn(float x, float y, float angle)
{
    SpawnPose(x, y, angle);
    Log::Instance().Write("PlayerDebris Spawned!\n");
    health = RandomFloat(1.5f) + 1.0f;
    smokeCounter = 0;
    spin = RandomFloat(30.0f) - 15.0f;
}

void PlayerDebris::Update()
{
    health -= 0.02f;
    if (health <= 0.0f)
        Die();
    const Vec2 gravity = theGame != nullptr ? theGame->gravity : Vec2{};
    previousPosition = position;
    velocity += gravity;
    position += velocity;
    velocity = velocity * 0.995f;
    previousAngle = angle;
    angle += spin;
    spin *= 0.9995f;
    Reregister();

    std::vector<BeamHit> hits;
    for (std::size_t s = 0; s < sectors.size(); ++s) {
        for (const HullCircle& circle : shapes) {
            hits.clear();
            if (sectors[s]->CollideCircle(circle, hits))
                Die();
        }
    }

    smokeCounter += 1;
    if (smokeCounter % 15 == 0)
        AddExplosion(position, 1.0f, 0.25f, 0.0f, 10);
}

void PlayerDebris::Draw(float alpha)
{
    const ActorCanvas canvas = CurrentCanvas();
    const char* name = HullModelName(type);
    const ObjectModel* model = type >= EntityTypes::PlayerDebrisFirst && type <= EntityTypes::PlayerDebrisLast
                                   ? FindActorModel(name)
                                   : nullptr;
    if (!canvas || model == nullptr)
        return;
    PushPose(*canvas.state, Lerp2(position, previousPosition, alpha), Lerp(angle, previousAngle, alpha));
    DrawObject(*canvas.sink, model->beams, false);
    canvas.state->PopMatrix();
}

// Indestructible: its life runs only by time and by touching the terrain.
void PlayerDebris::Damage(float) {}

void PlayerDebris::Die()
{
    if (dead)
        return;
    AddExplosion(position, 1.0f, 0.75f, 0.0f, 35);
    AddShockRing(position);
    dead = true;
    if (type >= EntityTypes::PlayerDebrisFirst && type <= EntityTypes::PlayerDebrisLast)
        BreakIntoDebris(HullModelName(type), position, {}, 0.125f);
    if (theGame != nullptr)
        theGame->PlayBigExplosionAt(position.x, position.y);
}

Entity* PlayerDebris::Clone() const
{
    return new PlayerDebris(*this);
}

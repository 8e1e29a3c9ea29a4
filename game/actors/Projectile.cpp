#include "Projectile.h"

#include "ActorDraw.h"
#include "EnemyBullet.h"
#include "Entity.h"
#include "Game.h"
#include "HullPlacement.h"
#include "MathUtil.h"
#include "Player.h"
#include "PlayerShot.h"
#include "Sector.h"
#include "SectorGrid.h"
#include "Seeker.h"
#include "SparkParticles.h"

#include <cmath>
#include <memory>

namespace {

const char* HullModelOf(std::int32_t kind)
{
    switch (kind) {
    case 0: return "PlayerBullet01";
    case 1: return "EnemyBullet01";
    case 2: return "Seeker";
    default: return nullptr;
    }
}

} // namespace

bool Projectile::PassesThrough(EntityType type)
{
    switch (type) {
    case EntityTypes::Rotator:
    case EntityTypes::Mover:
    case EntityTypes::CheckPoint:
    case EntityTypes::TriggerAction:
    case EntityTypes::Target:
    case EntityTypes::Debris:
    case EntityTypes::Scientist: return true;
    default: return false;
    }
}

void Projectile::ResetShapes()
{
    if (const ObjectModel* model = FindActorModel(HullModelOf(kind)))
        shapes.insert(shapes.end(), model->circles.begin(), model->circles.end());
    PlaceShapes(position.x, position.y);
    RotateShapes(angle);
}

void Projectile::PlaceShapes(float x, float y) { PlaceHull(shapes, x, y); }

void Projectile::RotateShapes(float degrees) { RotateHull(shapes, position, degrees); }

void Projectile::EnterSectors()
{
    if (theGame == nullptr)
        return;
    for (const HullCircle& circle : shapes)
        theGame->sectorGrid.SectorsForCircle(circle, sectors);
    for (Sector* sector : sectors)
        sector->projectiles.push_back(this);
}

void Projectile::LeaveSectors()
{
    for (Sector* sector : sectors)
        sector->RemoveProjectile(this);
    sectors.clear();
}

bool Projectile::HitsTerrain(Vec2* normal)
{
    // Without a hull there is no radius to test with.
    if (sectors.empty() || shapes.empty() || normal == nullptr)
        return false;
    const Vec2 d = previousPosition - position;
    const float length = Length(d);
    // A motion that is not a number or beyond any world samples nothing.
    if (!(length < kLongestMove))
        return false;
    const int steps = static_cast<int>(length + 1.0f);
    const Vec2 u = length > 0.0f ? d * (1.0f / length) : Vec2{};
    const float radius = shapes.front().radius;

    std::vector<BeamHit> hits;
    bool hit = false;
    Vec2 firstNormal;
    for (Sector* sector : sectors) {
        for (int i = 0; i < steps; ++i) {
            const Vec2 c = position + u * static_cast<float>(i);
            hits.clear();
            if (!sector->CollideCircle(HullCircle(radius, c.x, c.y), hits))
                continue;
            for (const BeamHit& h : hits) {
                if (!hit)
                    firstNormal = h.beam->normal;
                hit = true;
                *normal += h.beam->normal;
            }
        }
    }
    if (!hit)
        return false;
    const float sum = Length(*normal);
    // Opposite normals cancel: the first beam met gives the direction.
    *normal = sum > 0.0f ? *normal * (1.0f / sum) : firstNormal;
    return true;
}

Entity* Projectile::FindVictim()
{
    for (Sector* sector : sectors) {
        for (Entity* entity : sector->Entities()) {
            Vec2 normal;
            if (entity->type == EntityTypes::Player) {
                auto* ship = static_cast<Player*>(entity);
                if (ship->shieldOn) {
                    if (ship->dying)
                        return nullptr;
                    if (ship->CollideShield(shapes, &normal))
                        return ship;
                }
            }
            if (!entity->CollideShapes(shapes, &normal))
                continue;
            if (PassesThrough(entity->type))
                continue;
            if (entity->type == EntityTypes::Player && static_cast<Player*>(entity)->dying)
                return nullptr;
            return entity;
        }
    }
    return nullptr;
}

void Projectile::Launch(std::int32_t kindNumber, Vec2 at, Vec2 perTick, float degrees, float lifeSeconds,
                        float damageDealt)
{
    kind = kindNumber;
    position = previousPosition = at;
    velocity = perTick;
    angle = previousAngle = degrees;
    ResetShapes();
    life = lifeSeconds;
    damage = damageDealt;
    dead = false;
}

bool Projectile::Expire()
{
    life -= kTick;
    if (life <= 0.0f) {
        dead = true;
        return true;
    }
    return false;
}

void Projectile::MoveAndWrap()
{
    Move();
    Wrap();
}

void Projectile::Move()
{
    previousPosition = position;
    position += velocity;
}

float Projectile::Wrap()
{
    const float w = theGame != nullptr ? theGame->WorldWidth() : 0.0f;
    float shift = 0.0f;
    if (position.x < 0.0f) {
        position.x += w;
        previousPosition.x += w;
        shift += w;
    }
    if (position.x >= w) {
        position.x -= w;
        previousPosition.x -= w;
        shift -= w;
    }
    return shift;
}

bool Projectile::WalkTerrainWithSparks()
{
    Vec2 point;
    Vec2 normal;
    if (!WalkTerrain(point, normal))
        return false;
    if (theGame != nullptr)
        theGame->particles.Add(
            std::make_unique<SparkParticles>(point.x + normal.x, point.y + normal.y, normal.x, normal.y));
    return true;
}

bool Projectile::WalkTerrain(Vec2& point, Vec2& normal)
{
    const Vec2 d = position - previousPosition;
    const float moved = Length(d);
    if (!(moved < kLongestMove))
        return false;
    const int n = static_cast<int>(moved / 3.0f + 1.0f);
    if (n < 2)
        return false; // below 3 units: no terrain test
    // The test looks at the whole segment back to the previous position and
    // takes only the first radius from the hull, so every sub-step would give
    // the same answer: a hit shows at the first one or never. One test
    // stands for the walk; the hull ends where the walk would leave it.
    PlaceShapes(previousPosition.x, previousPosition.y);
    normal = {};
    if (HitsTerrain(&normal)) {
        point = previousPosition;
        dead = true;
        return true;
    }
    const Vec2 step{d.x / static_cast<float>(n), d.y / static_cast<float>(n)};
    const Vec2 last = previousPosition + step * static_cast<float>(n - 2);
    PlaceShapes(last.x, last.y);
    return false;
}

void Projectile::Reregister()
{
    LeaveSectors();
    EnterSectors();
}

void Projectile::DrawModel(const char* name, float alpha) const
{
    const ActorCanvas canvas = CurrentCanvas();
    const ObjectModel* model = FindActorModel(name);
    if (!canvas || model == nullptr)
        return;
    PushPose(*canvas.state, Lerp2(position, previousPosition, alpha), Lerp(angle, previousAngle, alpha));
    DrawObject(*canvas.sink, model->beams, true);
    canvas.state->PopMatrix();
}

Projectile* CreateProjectile(int kind)
{
    switch (kind) {
    case 0: return new PlayerShot();
    case 1: return new EnemyBullet();
    case 2: return new Seeker();
    default: return nullptr;
    }
}

bool UpdateOrReapProjectile(Projectile* projectile)
{
    if (projectile == nullptr)
        return true;
    if (projectile->dead) {
        projectile->LeaveSectors();
        delete projectile;
        return true;
    }
    projectile->Update();
    return false;
}

void DeleteProjectiles(std::list<Projectile*>& list)
{
    for (Projectile* shot : list) {
        shot->LeaveSectors();
        delete shot;
    }
    list.clear();
}

void PassProjectiles(std::list<Projectile*>& list)
{
    for (auto it = list.begin(); it != list.end();) {
        if (UpdateOrReapProjectile(*it))
            it = list.erase(it);
        else
            ++it;
    }
}

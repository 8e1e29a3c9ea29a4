#include "Entity.h"

#include "Collision.h"
#include "DrawSink.h"
#include "EntityWorld.h"
#include "HullPlacement.h"
#include "MathUtil.h"
#include "ModelSource.h"
#include "ObjectModel.h"
#include "Sector.h"
#include "SectorGrid.h"

#include <cmath>

Entity::Entity(const Entity& other)
    : drawStamp(other.drawStamp),
      dead(other.dead),
      type(other.type),
      health(other.health),
      position(other.position),
      previousPosition(other.previousPosition),
      angle(other.angle),
      previousAngle(other.previousAngle),
      sectors(other.sectors),
      sectorSlots(other.sectors.size(), kNoSlot),
      shapes(other.shapes),
      points(other.points)
{
    // `life` is not copied: handles to the original keep naming the original.
}

Entity::~Entity()
{
    if (life)
        life->entity = nullptr;
}

const std::shared_ptr<EntityLife>& Entity::Life()
{
    if (!life) {
        life = std::make_shared<EntityLife>();
        life->entity = this;
    }
    return life;
}

void Entity::Damage(float amount)
{
    health -= amount;
    if (health <= 0.0f)
        Die();
}

void Entity::DamageWhileAlive(float amount)
{
    if (!(health > 0.0f))
        return;
    health -= amount;
    if (health <= 0.0f)
        Die();
}

bool Entity::OnContact(Entity*) { return true; }

bool Entity::CollideShapes(const std::vector<HullCircle>& circles, Vec2* normalOut)
{
    for (const HullCircle& given : circles) {
        for (const HullCircle& own : shapes) {
            if (!CirclesOverlap(given, own))
                continue;
            const float dx = own.x - given.x;
            const float dy = own.y - given.y;
            const float length = std::sqrt(dx * dx + dy * dy);
            if (normalOut != nullptr) {
                // Coincident centres have no direction between them: (0, 0).
                *normalOut = length > 0.0f ? Vec2{dx / length, dy / length} : Vec2{};
            }
            return true;
        }
    }
    return false;
}

void Entity::EnterSectors()
{
    if (theWorld == nullptr)
        return;
    const std::size_t first = sectors.size();
    for (const HullCircle& circle : shapes)
        theWorld->Grid().SectorsForCircle(circle, sectors);
    EnterListedSectors(first);
}

void Entity::JoinSector(Sector* cell)
{
    sectorSlots.resize(sectors.size(), kNoSlot);
    sectors.push_back(cell);
    sectorSlots.push_back(cell->AddEntity(this));
}

void Entity::EnterListedSectors(std::size_t first)
{
    sectorSlots.resize(first < sectors.size() ? first : sectors.size(), kNoSlot);
    sectorSlots.resize(sectors.size(), kNoSlot);
    for (std::size_t i = first; i < sectors.size(); ++i)
        sectorSlots[i] = sectors[i]->AddEntity(this);
}

void Entity::ForgetSectors()
{
    sectors.clear();
    sectorSlots.clear();
}

void Entity::MovedInSector(const Sector* cell, std::uint32_t from, std::uint32_t to)
{
    for (std::size_t i = 0; i < sectors.size() && i < sectorSlots.size(); ++i)
        if (sectors[i] == cell && sectorSlots[i] == from) {
            sectorSlots[i] = to;
            return;
        }
}

void Entity::PlaceShapes(float x, float y) { PlaceHull(shapes, x, y); }

void Entity::RotateShapes(float degrees) { RotateHull(shapes, position, degrees); }

void Entity::PostLoad() {}

void Entity::Activate(Entity*) {}

void Entity::BuildHull() { AppendModelHull(HullModelName(type), shapes); }

bool Entity::LeavesCarrier() { return false; }

void Entity::MoveArea(Vec2) {}

const char* Entity::OwnName() const { return nullptr; }

void Entity::ReadMapRecord(const ActorRecord&) {}

void Entity::Link(std::vector<Beam>&, EntityList&) {}

void Entity::LeaveSectors()
{
    for (std::size_t i = 0; i < sectors.size(); ++i)
        sectors[i]->RemoveEntity(this, i < sectorSlots.size() ? sectorSlots[i] : kNoSlot);
    ForgetSectors();
}

const char* HullModelName(EntityType type)
{
    static const char* const trees[] = {"Tree01", "Tree02", "Tree03", "Tree04", "Tree05", "Tree06"};
    switch (type) {
    case EntityTypes::Player: return "Player";
    case EntityTypes::BlueTurret: return "BlueTurret";
    case EntityTypes::RedTurret: return "RedTurret";
    case EntityTypes::BlueTank: return "BlueTank_01";
    case EntityTypes::FuelPod: return "FuelPod";
    case EntityTypes::Scientist: return "Scientist_01";
    case EntityTypes::Generator: return "Generator";
    case EntityTypes::Switch: return "Button01";
    case EntityTypes::Laser: return "Laser";
    case EntityTypes::CheckPoint: return "CheckPoint01";
    case EntityTypes::Emitter: return "ParticleEmitter";
    case EntityTypes::Mine: return "Mine";
    case EntityTypes::Missile: return "Missile";
    case EntityTypes::Lander: return "Lander";
    case EntityTypes::Flea: return "Flea";
    case EntityTypes::Sweeper: return "MineLayer";
    case EntityTypes::SuperTurret: return "SuperTurret";
    case EntityTypes::Station: return "Station"; // "Station2" shares its hull
    default: break;
    }
    if (type >= EntityTypes::TreeFirst && type <= EntityTypes::TreeLast)
        return trees[type - EntityTypes::TreeFirst];
    if (type >= EntityTypes::PlayerDebrisFirst && type <= EntityTypes::PlayerDebrisLast) {
        static const char* const wreck[] = {"BrokenShip1", "BrokenShip2", "BrokenShip3", "BrokenShip4",
                                            "BrokenShip5", "BrokenShip6", "BrokenShip7"};
        return wreck[type - EntityTypes::PlayerDebrisFirst];
    }
    return nullptr;
}

void Entity::AppendModelHull(const char* name, std::vector<HullCircle>& out)
{
    if (name == nullptr || theWorld == nullptr)
        return;
    const ModelSource* models = theWorld->Models();
    if (models == nullptr)
        return;
    if (const ObjectModel* model = models->FindModel(name))
        out.insert(out.end(), model->circles.begin(), model->circles.end());
}

void Entity::ResetShapes()
{
    shapes.clear();
    BuildHull();
    PlaceShapes(position.x, position.y);
    RotateShapes(angle);
    dead = false;
}

void Entity::DrawShapes(DrawSink& sink) const
{
    // The circles in the model's own frame, rotated with the entity.
    Vec2 u;
    Vec2 v;
    AngleToVectors(angle, u, v);
    sink.Colour(0.0f, 1.0f, 0.0f);
    for (const HullCircle& c : shapes) {
        const float x = position.x + u.x * c.offsetX + v.x * c.offsetY;
        const float y = position.y + u.y * c.offsetX + v.y * c.offsetY;
        DrawCircle(sink, HullCircle(c.radius, x, y), 15);
    }
}

void Entity::SpawnPose(float x, float y, float degrees)
{
    position = previousPosition = {x, y};
    angle = previousAngle = degrees;
    ResetShapes();
}

bool Entity::MarkDead()
{
    if (dead)
        return false;
    dead = true;
    if (theWorld != nullptr)
        theWorld->PayPoints(points);
    return true;
}

void Entity::SavePose()
{
    previousPosition = position;
    previousAngle = angle;
}

void Entity::Reregister()
{
    PlaceShapes(position.x, position.y);
    RotateShapes(angle);
    LeaveSectors();
    EnterSectors();
}

bool UpdateOrReapEntity(Entity* entity)
{
    if (entity == nullptr)
        return true;
    if (entity->dead) {
        entity->LeaveSectors();
        delete entity;
        return true;
    }
    entity->Update();
    return false;
}

bool ShouldReleaseCarried(Entity* entity)
{
    if (entity == nullptr || entity->dead)
        return true;
    return entity->LeavesCarrier();
}

bool ShouldReleaseCarried(const EntityRef<>& rider)
{
    Entity* entity = rider.Get();
    return entity == nullptr || ShouldReleaseCarried(entity);
}

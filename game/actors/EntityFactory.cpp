#include "EntityFactory.h"

#include "BlueTank.h"
#include "BlueTurret.h"
#include "Brick.h"
#include "CheckPoint.h"
#include "Debris.h"
#include "Emitter.h"
#include "Flea.h"
#include "FuelPod.h"
#include "Generator.h"
#include "Lander.h"
#include "Laser.h"
#include "Log.h"
#include "Mine.h"
#include "Missile.h"
#include "Mover.h"
#include "PlayerDebris.h"
#include "RedTurret.h"
#include "Rotator.h"
#include "Scientist.h"
#include "Station.h"
#include "SuperTurret.h"
#include "Sweeper.h"
#include "Switch.h"
#include "Target.h"
#include "Tree.h"
#include "TriggerAction.h"

#include <cstring>

namespace {
template <typename T>
Entity* Make(Log& log, const char* line)
{
    if (line != nullptr)
        log.Write(line);
    return new T();
}

Entity* Construct(EntityType id, Log& log)
{
    namespace E = EntityTypes;
    if (id >= E::TreeFirst && id <= E::TreeLast)
        return Make<Tree>(log, "Created Tree.\n");
    if (id >= E::PlayerDebrisFirst && id <= E::PlayerDebrisLast)
        return Make<PlayerDebris>(log, "Created Player Debris.\n");
    switch (id) {
    case E::BlueTurret: return Make<BlueTurret>(log, "Created BlueTurret.\n");
    case E::RedTurret: return Make<RedTurret>(log, "Created RedTurret.\n");
    case E::BlueTank: return Make<BlueTank>(log, "Created BlueTank.\n");
    case E::FuelPod: return Make<FuelPod>(log, "Created Fuelpod.\n");
    case E::Scientist: return Make<Scientist>(log, "Created Scientist.\n");
    case E::Generator: return Make<Generator>(log, "Created Generator.\n");
    case E::Switch: return Make<Switch>(log, "Created Switch.\n");
    case E::Laser: return Make<Laser>(log, "Created Laser.\n");
    case E::CheckPoint: return Make<CheckPoint>(log, "Created CheckPoint.\n");
    case E::Emitter: return Make<Emitter>(log, "Created TriggerAction.\n");
    case E::Brick: return Make<Brick>(log, "Created Bricks.\n");
    case E::Mine: return Make<Mine>(log, "Created Mine.\n");
    case E::Missile: return Make<Missile>(log, "Created Missile.\n");
    case E::Lander: return Make<Lander>(log, "Created Lander.\n");
    case E::Flea: return Make<Flea>(log, "Created Flea.\n");
    case E::Sweeper: return Make<Sweeper>(log, "Created Sweeper.\n");
    case E::SuperTurret: return Make<SuperTurret>(log, "Created SuperTurret.\n");
    case E::Station: return Make<Station>(log, nullptr);
    case E::Rotator: return Make<Rotator>(log, "Created Rotator.\n");
    case E::Mover: return Make<Mover>(log, "Created Mover.\n");
    case E::Target: return Make<Target>(log, "Created Target.\n");
    case E::TriggerAction: return Make<TriggerAction>(log, "Created TriggerAction.\n");
    case E::Debris: return Make<Debris>(log, nullptr);
    default: return nullptr;
    }
}
} // namespace

Entity* CreateEntity(EntityType id, Log& log)
{
    Entity* entity = Construct(id, log);
    if (entity != nullptr)
        entity->type = id;
    return entity;
}

Entity* CreateEntity(EntityType id) { return CreateEntity(id, Log::Instance()); }

namespace {
// The class that CreateEntity makes for the type, placed; null when it
// makes none.
template <typename T>
T* Placed(EntityType id, float x, float y, float angle, Log& log)
{
    Entity* entity = CreateEntity(id, log);
    if (entity == nullptr) {
        log.Write("Failed to Create entity!\n");
        return nullptr;
    }
    entity->position = {x, y};
    entity->angle = angle;
    // The switch above makes exactly this class for this type.
    return static_cast<T*>(entity);
}
} // namespace

Entity* CreateActorTemplate(const ActorRecord& record, Log& log)
{
    Entity* entity = Placed<Entity>(record.type, record.x, record.y, record.angle, log);
    if (entity != nullptr)
        entity->ReadMapRecord(record);
    return entity;
}

Entity* CreateTargetTemplate(const TargetRecord& record, Log& log)
{
    Target* target = Placed<Target>(EntityTypes::Target, record.x, record.y, 0.0f, log);
    if (target != nullptr) {
        target->point = {record.x, record.y};
        std::memcpy(target->name, record.name, sizeof target->name);
    }
    return target;
}

Entity* CreateRotatorTemplate(const RotatorDef& def, Log& log)
{
    Rotator* rotator = Placed<Rotator>(EntityTypes::Rotator, def.area.x, def.area.y, 0.0f, log);
    if (rotator != nullptr)
        rotator->def = def;
    return rotator;
}

Entity* CreateMoverTemplate(const MoverDef& def, Log& log)
{
    Mover* mover = Placed<Mover>(EntityTypes::Mover, def.area.centre.x, def.area.centre.y, 0.0f, log);
    if (mover != nullptr)
        mover->def = def;
    return mover;
}

Entity* CreateTriggerTemplate(const TriggerDef& def, Log& log)
{
    TriggerAction* trigger =
        Placed<TriggerAction>(EntityTypes::TriggerAction, def.area.centre.x, def.area.centre.y, 0.0f, log);
    if (trigger != nullptr)
        trigger->def = def;
    return trigger;
}

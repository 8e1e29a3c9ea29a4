#include "MapLoader.h"

#include "Brick.h"
#include "Emitter.h"
#include "Entity.h"
#include "EntityFactory.h"
#include "Laser.h"
#include "Log.h"
#include "Mover.h"
#include "Rotator.h"
#include "Switch.h"
#include "Target.h"
#include "TriggerAction.h"

#include <cstring>

namespace {

static_assert(kEntityNameBytes == kMapNameFieldBytes, "actor names are map name fields");

// A new template of the type, or null (logged) when the type has no class.
Entity* Make(EntityType type, float x, float y, float angle, Log& log)
{
    Entity* entity = CreateEntity(type, log);
    if (entity == nullptr) {
        log.Write("Failed to Create entity!\n");
        return nullptr;
    }
    entity->type = type;
    entity->position = {x, y};
    entity->angle = angle;
    return entity;
}

void StoreActorFields(Entity& entity, const ActorRecord& record)
{
    // The factory makes these classes for these types; the casts check it.
    switch (record.type) {
    case kTypeSwitch:
        if (auto* sw = dynamic_cast<Switch*>(&entity))
            std::memcpy(sw->name, record.name, sizeof sw->name);
        break;
    case kTypeLaser:
        if (auto* laser = dynamic_cast<Laser*>(&entity)) {
            std::memcpy(laser->name, record.name, sizeof laser->name);
            laser->onTime = record.onTime;
            laser->offTime = record.offTime;
            laser->startDelay = record.startDelay;
            laser->startsOn = record.startsOn;
        }
        break;
    case kTypeEmitter:
        if (auto* emitter = dynamic_cast<Emitter*>(&entity)) {
            std::memcpy(emitter->name, record.name, sizeof emitter->name);
            emitter->onTime = record.onTime;
            emitter->offTime = record.offTime;
            emitter->startsOn = record.startsOn;
        }
        break;
    case kTypeBrick:
        if (auto* brick = dynamic_cast<Brick*>(&entity)) {
            brick->halfWidth = record.halfWidth;
            brick->halfHeight = record.halfHeight;
        }
        break;
    default:
        break;
    }
}

} // namespace

void BuildEntityTemplates(const MapFileContents& contents, std::vector<std::unique_ptr<Entity>>& templates,
                          Log& log)
{
    for (const ActorRecord& record : contents.actors) {
        std::unique_ptr<Entity> entity(Make(record.type, record.x, record.y, record.angle, log));
        if (!entity)
            continue;
        StoreActorFields(*entity, record);
        templates.push_back(std::move(entity));
    }
    for (const TargetRecord& record : contents.targets) {
        std::unique_ptr<Entity> entity(Make(kTypeTarget, record.x, record.y, 0.0f, log));
        if (auto* target = dynamic_cast<Target*>(entity.get())) {
            target->point = {record.x, record.y};
            std::memcpy(target->name, record.name, sizeof target->name);
            templates.push_back(std::move(entity));
        }
    }
    for (const RotatorDef& def : contents.rotators) {
        std::unique_ptr<Entity> entity(Make(kTypeRotator, def.area.x, def.area.y, 0.0f, log));
        if (auto* rotator = dynamic_cast<Rotator*>(entity.get())) {
            rotator->def = def;
            templates.push_back(std::move(entity));
        }
    }
    for (const MoverDef& def : contents.movers) {
        std::unique_ptr<Entity> entity(Make(kTypeMover, def.area.centre.x, def.area.centre.y, 0.0f, log));
        if (auto* mover = dynamic_cast<Mover*>(entity.get())) {
            mover->def = def;
            templates.push_back(std::move(entity));
        }
    }
    for (const TriggerDef& def : contents.triggers) {
        std::unique_ptr<Entity> entity(Make(kTypeTriggerAction, def.area.centre.x, def.area.centre.y, 0.0f, log));
        if (auto* trigger = dynamic_cast<TriggerAction*>(entity.get())) {
            trigger->def = def;
            templates.push_back(std::move(entity));
        }
    }
}

bool MapSavesGame(const char* name)
{
    return !NamesEqual(name, "splash") && !NamesEqual(name, "home");
}

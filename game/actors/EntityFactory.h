#pragma once

#include "Entity.h"
#include "MapData.h"

class Log;

// A new, unspawned actor of the type's class, owned by the caller, or null
// for a type without a class (below 0, 21, 23, 26..99, 104..999, above 1007).
// "Created <word>.\n" goes to the log before the object is made (the station
// and debris are silent; null writes nothing).
Entity* CreateEntity(EntityType id);
Entity* CreateEntity(EntityType id, Log& log);

// A template of the map's actor section: CreateEntity's actor at the place and
// angle, holding its record's fields (Entity::ReadMapRecord). Null, with
// "Failed to Create entity!\n" in the log, for a type without a class.
Entity* CreateActorTemplate(const ActorRecord& record, Log& log);

// Templates of the target, rotating platform, moving platform and trigger
// zone sections: the section's class at the record's place (angle 0), holding
// the record. A target's point is its place.
Entity* CreateTargetTemplate(const TargetRecord& record, Log& log);
Entity* CreateRotatorTemplate(const RotatorDef& def, Log& log);
Entity* CreateMoverTemplate(const MoverDef& def, Log& log);
Entity* CreateTriggerTemplate(const TriggerDef& def, Log& log);

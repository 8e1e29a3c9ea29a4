#pragma once

#include "Entity.h"

class Log;

// A new, unspawned actor of the type's class, owned by the caller, or null
// for a type without a class (below 0, 21, 23, 26..99, 104..999, above 1007).
// "Created <word>.\n" goes to the log before the object is made (the station
// and debris are silent; null writes nothing).
Entity* CreateEntity(EntityType id);
Entity* CreateEntity(EntityType id, Log& log);

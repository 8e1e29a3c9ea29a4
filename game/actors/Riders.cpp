#include "Riders.h"

#include "Mover.h"
#include "Rotator.h"

#include <algorithm>
#include <vector>

void RemoveRider(Entity* platform, const Entity* rider)
{
    if (platform == nullptr)
        return;
    std::vector<EntityRef<>>* riders = nullptr;
    if (platform->type == EntityTypes::Rotator)
        riders = &static_cast<Rotator*>(platform)->carriedActors;
    else if (platform->type == EntityTypes::Mover)
        riders = &static_cast<Mover*>(platform)->carriedActors;
    if (riders == nullptr)
        return;
    riders->erase(std::remove_if(riders->begin(), riders->end(),
                                 [rider](const EntityRef<>& r) { return r.Get() == rider; }),
                  riders->end());
}

#include "EntityList.h"

#include "Entity.h"
#include "EntityWorld.h"
#include "SectorGrid.h"

EntityList::~EntityList() { DeleteAll(); }

void EntityList::Append(Entity* entity)
{
    if (entity != nullptr)
        items.push_back(entity);
}

void EntityList::Pass()
{
    // No cell's list is walked between passes: the gaps that leaving
    // entities left close here.
    if (theWorld != nullptr)
        theWorld->Grid().CloseGaps();
    // std::list keeps every other element (and end()) valid across push_back
    // and the erase of the current one, so appended entities are reached.
    for (auto it = items.begin(); it != items.end();) {
        if (UpdateOrReapEntity(*it))
            it = items.erase(it);
        else
            ++it;
    }
}

void EntityList::DeleteAll()
{
    while (!items.empty()) {
        Entity* entity = items.front();
        items.pop_front();
        entity->LeaveSectors();
        delete entity;
    }
}

void DeleteEntities(EntityList& list) { list.DeleteAll(); }

#include "EntityList.h"

#include "Entity.h"
#include "EntityWorld.h"
#include "SectorGrid.h"

#include <algorithm>
#include <cctype>

namespace {

// The key under which NamesEqual's names meet: each letter in lower case.
std::string NameKey(const char* name)
{
    std::string key;
    for (; *name != '\0'; ++name)
        key.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(*name))));
    return key;
}

} // namespace

EntityList::~EntityList() { DeleteAll(); }

void EntityList::Append(Entity* entity)
{
    if (entity == nullptr)
        return;
    items.push_back(entity);
    if (const char* own = entity->OwnName()) {
        std::string key = NameKey(own);
        named[key].push_back(entity);
        nameKeys.emplace(entity, std::move(key));
    }
}

bool EntityList::FindNamed(const char* name, std::vector<Entity*>& found) const
{
    if (name == nullptr)
        return false;
    const auto bucket = named.find(NameKey(name));
    if (bucket == named.end() || bucket->second.empty())
        return false;
    found.insert(found.end(), bucket->second.begin(), bucket->second.end());
    return true;
}

void EntityList::ForgetName(const Entity* entity)
{
    const auto key = nameKeys.find(entity);
    if (key == nameKeys.end())
        return;
    const auto bucket = named.find(key->second);
    if (bucket != named.end()) {
        std::vector<Entity*>& list = bucket->second;
        list.erase(std::find(list.begin(), list.end(), entity));
        if (list.empty())
            named.erase(bucket);
    }
    nameKeys.erase(key);
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
        const Entity* entity = *it;
        if (UpdateOrReapEntity(*it)) {
            ForgetName(entity);
            it = items.erase(it);
        } else {
            ++it;
        }
    }
}

void EntityList::DeleteAll()
{
    named.clear();
    nameKeys.clear();
    while (!items.empty()) {
        Entity* entity = items.front();
        items.pop_front();
        entity->LeaveSectors();
        delete entity;
    }
}

void DeleteEntities(EntityList& list) { list.DeleteAll(); }

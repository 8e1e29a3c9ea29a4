#pragma once

#include <cstddef>
#include <list>
#include <string>
#include <unordered_map>
#include <vector>

class Entity;

// An owning list of entities. Elements keep their addresses while the list
// changes, and Pass() walks it so that entities appended during the walk
// (mines, debris, wreck pieces) are updated in the same pass, while dead ones
// are deleted and unlinked one at a time.
class EntityList {
public:
    using Storage = std::list<Entity*>;
    using iterator = Storage::iterator;
    using const_iterator = Storage::const_iterator;

    EntityList() = default;
    EntityList(const EntityList&) = delete;
    EntityList& operator=(const EntityList&) = delete;
    ~EntityList();

    // Takes ownership; null is ignored.
    void Append(Entity* entity);
    // One update-or-reap pass (UpdateOrReapEntity) over every element,
    // including those appended while it runs.
    void Pass();
    // Every entity leaves its cells and is deleted, in list order; the list
    // ends empty (entities an entity's destructor might append go too).
    void DeleteAll();

    std::size_t Size() const { return items.size(); }
    bool Empty() const { return items.empty(); }
    iterator begin() { return items.begin(); }
    iterator end() { return items.end(); }
    const_iterator begin() const { return items.begin(); }
    const_iterator end() const { return items.end(); }
    Entity* Front() const { return items.empty() ? nullptr : items.front(); }

    // Appends the entities whose own name (Entity::OwnName, fixed before
    // they join the list) equals name, ignoring case, in list order; false
    // when there is none. A switch looks its targets up every time it is
    // pressed, so this costs no walk of the whole list.
    bool FindNamed(const char* name, std::vector<Entity*>& found) const;

private:
    // The entity leaves the name index (by address: it may be deleted).
    void ForgetName(const Entity* entity);

    Storage items;
    // The named entities by their name in lower case, each in list order,
    // and each one's key.
    std::unordered_map<std::string, std::vector<Entity*>> named;
    std::unordered_map<const Entity*, std::string> nameKeys;
};

// DeleteAll as the free function the level code names.
void DeleteEntities(EntityList& list);

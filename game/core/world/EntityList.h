#pragma once

#include <cstddef>
#include <list>

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

private:
    Storage items;
};

// DeleteAll as the free function the level code names.
void DeleteEntities(EntityList& list);

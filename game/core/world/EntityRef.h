#pragma once

#include <cstddef>
#include <memory>

class Entity;

// Shared between an entity and every handle to it; the entity clears it when
// it is destroyed.
struct EntityLife {
    Entity* entity = nullptr;
};

// A non-owning reference to an actor that reads as null once the actor has
// been deleted: a lander's target, a platform's riders, the current
// checkpoint, a shot's owner. It does not look at the dead flag; use
// GetLive() where a dead-but-not-yet-deleted actor must be skipped too.
template <typename T = Entity>
class EntityRef {
public:
    EntityRef() = default;
    EntityRef(std::nullptr_t) {}
    EntityRef(T* entity) { Set(entity); }

    EntityRef& operator=(std::nullptr_t)
    {
        life.reset();
        return *this;
    }
    EntityRef& operator=(T* entity)
    {
        Set(entity);
        return *this;
    }

    T* Get() const { return life ? static_cast<T*>(life->entity) : nullptr; }
    // Null also while the actor is flagged dead.
    T* GetLive() const
    {
        T* e = Get();
        return (e != nullptr && !e->dead) ? e : nullptr;
    }
    T* operator->() const { return Get(); }
    explicit operator bool() const { return Get() != nullptr; }
    void Reset() { life.reset(); }

    friend bool operator==(const EntityRef& ref, const T* p) { return ref.Get() == p; }
    friend bool operator!=(const EntityRef& ref, const T* p) { return ref.Get() != p; }

private:
    void Set(T* entity);

    std::shared_ptr<EntityLife> life;
};

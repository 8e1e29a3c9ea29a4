#pragma once

#include "ParticleSystem.h"

#include <cstddef>
#include <memory>

// A non-owning reference to a system in a ParticleList that reads as null
// once the list has deleted it (a level clear or a screen entry empties the
// list while the owners may keep running). Owners skip a null system.
template <typename T>
class ParticleRef {
public:
    ParticleRef() = default;
    ParticleRef(std::nullptr_t) {}
    ParticleRef(T* system) { Set(system); }

    ParticleRef& operator=(std::nullptr_t)
    {
        life.reset();
        return *this;
    }
    ParticleRef& operator=(T* system)
    {
        Set(system);
        return *this;
    }

    T* Get() const { return life ? static_cast<T*>(life->system) : nullptr; }
    T* operator->() const { return Get(); }
    explicit operator bool() const { return Get() != nullptr; }
    void Reset() { life.reset(); }

private:
    void Set(T* system)
    {
        if (system == nullptr)
            life.reset();
        else
            life = system->Life();
    }

    std::shared_ptr<ParticleSystemLife> life;
};

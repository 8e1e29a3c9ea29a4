#pragma once

#include "ParticleSystem.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

class DrawSink;

// The owning list of particle systems (the Game keeps one for the particle
// kinds and one for the ribbons). Systems appended during an update pass
// (a fuel pod dying inside its stream's update makes an explosion) are
// updated in the same pass.
class ParticleList {
public:
    ParticleList();
    ~ParticleList();
    ParticleList(const ParticleList&) = delete;
    ParticleList& operator=(const ParticleList&) = delete;

    // Takes ownership and answers the system for the creator's handle.
    template <typename T>
    T* Add(std::unique_ptr<T> system)
    {
        T* raw = system.get();
        Append(std::move(system));
        return raw;
    }
    void Append(std::unique_ptr<ParticleSystem> system);

    // Every system in order: updated, and deleted once finished.
    void Update();
    // Every system whose onScreen is set, in order.
    void Draw(DrawSink& sink, float alpha) const;
    // Deletes every system, finished or not (also from inside an update:
    // the pass then ends).
    void Clear();

    std::size_t Size() const { return systems.size(); }
    bool Empty() const { return systems.empty(); }
    ParticleSystem* At(std::size_t index) const { return systems[index].get(); }

private:
    std::vector<std::unique_ptr<ParticleSystem>> systems;
    std::uint32_t clears = 0; // lets an update pass notice a Clear inside it
};

// Updates the system; when it is then finished, deletes it (nulling the
// pointer) and answers true.
bool UpdateOrReapParticleSystem(std::unique_ptr<ParticleSystem>& system);

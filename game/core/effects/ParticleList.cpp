#include "ParticleList.h"

#include "DrawSink.h"

#include <utility>

ParticleList::ParticleList() = default;

ParticleList::~ParticleList()
{
    Clear();
}

void ParticleList::Append(std::unique_ptr<ParticleSystem> system)
{
    if (system)
        systems.push_back(std::move(system));
}

bool UpdateOrReapParticleSystem(std::unique_ptr<ParticleSystem>& system)
{
    system->Update();
    if (!system->finished)
        return false;
    system.reset();
    return true;
}

void ParticleList::Update()
{
    // Walk by index and compact in place: an update may append to this list
    // (so the vector may move; the system being updated is held outside it
    // meanwhile), and appended systems are walked in the same pass.
    const std::uint32_t pass = clears;
    std::size_t kept = 0;
    for (std::size_t i = 0; i < systems.size(); ++i) {
        std::unique_ptr<ParticleSystem> system = std::move(systems[i]);
        if (!system)
            continue;
        const bool reaped = UpdateOrReapParticleSystem(system);
        if (clears != pass)
            return; // cleared from inside an update: the held system goes too
        if (!reaped)
            systems[kept++] = std::move(system);
    }
    if (clears == pass)
        systems.resize(kept);
}

void ParticleList::Draw(DrawSink& sink, float alpha) const
{
    // A slot is empty only while its system runs its update.
    for (const std::unique_ptr<ParticleSystem>& system : systems)
        if (system && system->onScreen)
            system->Draw(sink, alpha);
}

void ParticleList::Clear()
{
    ++clears;
    // Deleted one by one from the back, so a handle never sees a half-built
    // list.
    while (!systems.empty())
        systems.pop_back();
}

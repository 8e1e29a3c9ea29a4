#pragma once

// Small generated levels for the map's mechanisms: a frame of beams from
// (0, 1000) to (3000, 3000) (so the grid build moves nothing), the actors
// given, the level started as the game starts one.
#include "ShipFixture.h"

#include "Emitter.h"
#include "Laser.h"
#include "Mover.h"
#include "Rotator.h"
#include "Switch.h"
#include "Target.h"
#include "TriggerAction.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <memory>
#include <string>
#include <vector>

// An actor found by name that counts the activations it receives and, at
// each, whether a watched platform was active then.
class NamedProbe : public Entity {
public:
    struct Record {
        int activations = 0;
        std::vector<Entity*> sources;
        std::function<void()> watch; // runs at each activation
    };
    std::shared_ptr<Record> record = std::make_shared<Record>();
    std::string ownName;

    explicit NamedProbe(const char* name) : ownName(name) { type = EntityTypes::Target; }
    void Spawn(float x, float y, float a) override { SpawnPose(x, y, a); }
    void Update() override { SavePose(); }
    void Draw(float) override {}
    void Die() override { MarkDead(); }
    Entity* Clone() const override { return new NamedProbe(*this); }
    void Activate(Entity* source) override
    {
        ++record->activations;
        record->sources.push_back(source);
        if (record->watch)
            record->watch();
    }
    const char* OwnName() const override { return ownName.c_str(); }
};

inline void SetName(char (&field)[16], const char* name)
{
    std::memset(field, 0, sizeof field);
    std::strncpy(field, name, sizeof field - 1);
}

struct PlatformFixture : ShipFixture {
    // Update passes of StartLevel after the spawn (the warm-up).
    static constexpr int kWarmUpUpdates = 2;

    std::vector<std::unique_ptr<Entity>> templates;

    PlatformFixture()
    {
        models.models["Button01"].circles = {HullCircle(8.0f, 0, 0)};
        models.models["Button02"].circles = {HullCircle(8.0f, 0, 0)};
        models.models["Laser"].circles = {HullCircle(6.0f, 0, 0)};
        models.models["Laser"].beams = {MakeBeam({-4, 0}, {4, 0})};
        models.models["ParticleEmitter"].circles = {HullCircle(6.0f, 0, 0)};
    }

    template <typename T>
    T& Add(T* actor, Vec2 at, float angle = 0.0f)
    {
        actor->position = actor->previousPosition = at;
        actor->angle = actor->previousAngle = angle;
        templates.emplace_back(actor);
        return *actor;
    }

    Target& AddTarget(const char* name, Vec2 at)
    {
        auto* t = new Target();
        SetName(t->name, name);
        return Add(t, at);
    }

    // The frame beams, then the extra beams (live beam indices 4 onward).
    // Without the closed frame only a floor at y 3000 and a mark at (0, 1000)
    // bound the level: above the floor lies open sky.
    void Start(const std::vector<Beam>& extra = {}, bool closed = true)
    {
        std::vector<Beam> beams = {MakeBeam({0, 1000}, {3000, 1000}), MakeBeam({3000, 1000}, {3000, 3000}),
                                   MakeBeam({3000, 3000}, {0, 3000}), MakeBeam({0, 3000}, {0, 1000})};
        if (!closed)
            beams = {MakeBeam({0, 1000}, {1, 1000}), MakeBeam({3000, 3000}, {0, 3000}), MakeBeam({0, 3000}, {0, 2999}),
                     MakeBeam({3000, 2999}, {3000, 3000})};
        beams.insert(beams.end(), extra.begin(), extra.end());
        game.map.entityTemplates = std::move(templates);
        templates.clear();
        StartLevelOf(beams);
        host.audio.calls.clear();
    }

    template <typename T>
    T& Live(int nth = 0)
    {
        for (Entity* e : game.entities) {
            if (auto* t = dynamic_cast<T*>(e)) {
                if (nth-- == 0)
                    return *t;
            }
        }
        throw std::runtime_error("no such live actor");
    }

    // The live actor of that own name.
    Entity* Named(const char* name)
    {
        for (Entity* e : game.entities)
            if (e->OwnName() != nullptr && NamesEqual(e->OwnName(), name))
                return e;
        return nullptr;
    }

    Beam& LiveBeam(int extraIndex) { return game.map.liveBeams[4 + static_cast<std::size_t>(extraIndex)]; }

    void Pass(int times = 1)
    {
        for (int i = 0; i < times; ++i)
            game.entities.Pass();
    }

    // The ship standing still on a live beam at p, the spawn over.
    void StandShipOn(Beam& beam, Vec2 p)
    {
        PlaceShip(p, 0.0f);
        ship.landed = true;
        ship.landedBeam = &beam;
        ship.carrier = nullptr;
    }

    int PlaysLooped(SampleId id) const
    {
        const std::string call = "PlayChannelTimed(-1,chunk#" + std::to_string(Index(id)) + ",-1,-1)";
        return static_cast<int>(std::count(host.audio.calls.begin(), host.audio.calls.end(), call));
    }

    bool LogHas(const std::string& text, const std::string& line) const
    {
        return text.find(line) != std::string::npos;
    }
    static int Count(const std::string& text, const std::string& line)
    {
        int n = 0;
        for (std::size_t at = text.find(line); at != std::string::npos; at = text.find(line, at + 1))
            ++n;
        return n;
    }
};

// The game's log as the actors write it: enabled, its console captured.
struct ActorLog {
    ActorLog()
    {
        Log::Instance().SetEnabled(true);
        testing::internal::CaptureStdout();
    }
    std::string Text() { return testing::internal::GetCapturedStdout(); }
};

// The direction's clockwise turn on screen from straight down, in degrees.
inline float TurnFromDown(Vec2 direction)
{
    return std::atan2(-direction.x, direction.y) * 57.29578f;
}

// Ticks until a float timer that starts at `start` and adds the step each
// tick first reaches `limit`, summed as the game sums it.
inline int TicksToReach(float start, float limit, float step = 0.02f)
{
    int n = 0;
    for (float t = start; t < limit; t += step)
        ++n;
    return n;
}

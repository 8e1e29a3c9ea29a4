#pragma once

// The ship's headless game with small stand-in models for the mission's
// actors, and helpers to place an actor of any type in a flat level.
#include "ShipFixture.h"

#include "EntityFactory.h"
#include "ExplosionParticles.h"
#include "Projectile.h"
#include "ShockRing.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

struct MissionFixture : ShipFixture {
    MissionFixture()
    {
        ObjectModel& generator = models.models["Generator"];
        generator.beams = {MakeBeam({-10, 0}, {10, 0}), MakeBeam({10, 0}, {0, -20}), MakeBeam({0, -20}, {-10, 0})};
        generator.circles = {HullCircle(12.0f, 0, 0)};
        // The four frames told apart by colour; right of the centre, so a
        // mirrored frame lies left of it.
        const std::pair<const char*, Rgb> frames[] = {{"Scientist_01", {1, 0, 0}},
                                                      {"Scientist_02", {0, 1, 0}},
                                                      {"Scientist_03", {0, 0, 1}},
                                                      {"Scientist_04", {1, 1, 0}}};
        for (const auto& [name, colour] : frames) {
            models.models[name].beams = {MakeBeam({2, -3}, {2, 3}, colour)};
            models.models[name].circles = {HullCircle(3.0f, 0, 0)};
        }
        models.models["FuelPod"].beams = {MakeBeam({-5, 0}, {5, 0})};
        models.models["FuelPod"].circles = {HullCircle(8.0f, 0, 0)};
        for (const char* name : {"Tree01", "Tree02", "Tree03", "Tree04", "Tree05", "Tree06", "CheckPoint01",
                                 "CheckPoint02", "CheckPoint03", "CheckPoint04", "Station", "Station2"}) {
            models.models[name].beams = {MakeBeam({0, 0}, {0, -8})};
            models.models[name].circles = {HullCircle(6.0f, 0, 0)};
        }
        StartFlatLevel(4000.0f, 10); // floor at y 1000
        DeleteEntities(game.entities);
        game.particles.Clear();
        game.ribbons.Clear();
        game.generatorCount = 0;
        game.scientistCount = 0;
        host.audio.calls.clear();
    }

    // An actor made by the factory, spawned at p and appended to the level.
    template <typename T>
    T* Place(EntityType type, Vec2 p, float angle = 0.0f)
    {
        auto* actor = static_cast<T*>(CreateEntity(type));
        actor->Spawn(p.x, p.y, angle);
        actor->EnterSectors();
        game.entities.Append(actor);
        return actor;
    }

    template <typename T>
    std::vector<const T*> Systems(const ParticleList& list) const
    {
        return SystemsOf<T>(list);
    }

    // The vertices an entity draws in a world draw of its own.
    std::vector<RecordingDrawSink::RecordedVertex> DrawOnce(Entity& e)
    {
        sink.vertices.clear();
        game.drawSink = &sink;
        game.drawState = &state;
        e.Draw(1.0f);
        game.drawSink = nullptr;
        game.drawState = nullptr;
        return sink.vertices;
    }

    // The actor a player shot standing at `at` finds.
    Entity* ShotVictimAt(Vec2 at)
    {
        std::unique_ptr<Projectile> shot(CreateProjectile(0));
        shot->owner = &ship;
        shot->Spawn(at.x, at.y, 0.0f, 0.0f, 90.0f);
        shot->EnterSectors();
        Entity* victim = shot->FindVictim();
        shot->LeaveSectors();
        return victim;
    }

    int Calls(const std::string& call) const
    {
        return static_cast<int>(std::count(host.audio.calls.begin(), host.audio.calls.end(), call));
    }
};

// What the game's own log writes to standard output while it lives.
struct GameLogText {
    GameLogText()
    {
        Log::Instance().SetEnabled(true);
        testing::internal::CaptureStdout();
    }
    std::string Text() { return testing::internal::GetCapturedStdout(); }
};

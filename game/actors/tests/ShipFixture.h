#pragma once

// A headless game for the ship's tests: sounds recorded, seed 1000, fake
// models with the demo data's hull of the ship, levels built from beams.
#include "../../core/play/tests/PlayModeFixture.h"
#include "../../core/play/tests/WorldFixture.h"

#include "InputState.h"
#include "Log.h"
#include "MathUtil.h"
#include "Player.h"
#include "Projectile.h"
#include "ResourceTables.h"

#include <algorithm>
#include <string>
#include <vector>

// A beam from a to b with its direction and normal (d.y, -d.x).
inline Beam MakeBeam(Vec2 a, Vec2 b, Rgb colour = {1.0f, 1.0f, 1.0f})
{
    Beam beam;
    beam.a = a;
    beam.b = b;
    beam.direction = Normalize(b.x - a.x, b.y - a.y);
    beam.normal = {beam.direction.y, -beam.direction.x};
    beam.colourA = beam.colourB = colour;
    return beam;
}

// An actor of any type that records what is done to it and stays put; its
// records outlive it.
class ProbeActor : public Entity {
public:
    struct Record {
        int contacts = 0;
        int dies = 0;
        float damage = 0.0f;
        int damageCalls = 0;
    };
    std::shared_ptr<Record> record = std::make_shared<Record>();
    bool solid = true;

    ProbeActor(EntityType kind, float radius)
    {
        type = kind;
        shapes = {HullCircle(radius, 0.0f, 0.0f)};
    }
    void Spawn(float x, float y, float a) override
    {
        position = previousPosition = {x, y};
        angle = previousAngle = a;
        PlaceShapes(x, y);
    }
    void Update() override {}
    void Draw(float) override {}
    void Damage(float amount) override
    {
        record->damage += amount;
        ++record->damageCalls;
    }
    bool OnContact(Entity*) override
    {
        ++record->contacts;
        return solid;
    }
    void Die() override
    {
        ++record->dies;
        MarkDead();
    }
    Entity* Clone() const override { return new ProbeActor(*this); }
};

// The systems of one kind in a particle or ribbon list, in list order.
template <typename T>
std::vector<const T*> SystemsOf(const ParticleList& list)
{
    std::vector<const T*> found;
    for (std::size_t i = 0; i < list.Size(); ++i)
        if (const auto* s = dynamic_cast<const T*>(list.At(i)))
            found.push_back(s);
    return found;
}

struct ShipFixture : PlayFixture {
    FakeModels models;
    Player& ship;

    ShipFixture() : ship(*game.player)
    {
        // The demo ship's hull: feet 13 below the centre reach the ground.
        ObjectModel& body = models.models["Player"];
        body.circles = {HullCircle(6.05f, 0, 0, 0, -10.45f), HullCircle(12.1f, 0, 0, 0, 2.2f)};
        body.beams = {MakeBeam({-5, -10}, {5, -10}), MakeBeam({5, -10}, {5, 10}), MakeBeam({5, 10}, {-5, -10})};
        models.models["Player_Fly"].beams = {MakeBeam({-5, 0}, {5, 0})};
        models.models["Player_Leg"].beams = {MakeBeam({0, 0}, {0, 4})};
        models.models["PlayerShield"].beams = {MakeBeam({0, -10}, {2, -10})};
        models.models["PlayerShield"].circles = {HullCircle(10.45f, 0, 0)};
        models.models["RedShield"].beams = {MakeBeam({0, -10}, {2, -10}, {1, 0, 0})};
        models.models["PlayerBullet01"].beams = {MakeBeam({0, -1}, {0, 1})};
        models.models["PlayerBullet01"].circles = {HullCircle(0.8f, 0, 0)};
        for (int i = 1; i <= 7; ++i) {
            ObjectModel& piece = models.models["BrokenShip" + std::to_string(i)];
            piece.beams = {MakeBeam({0, 0}, {6, 0}), MakeBeam({6, 0}, {6, 6})};
            piece.circles = {HullCircle(4, 0, 0)};
        }
        game.models = &models;
        LoadFakeSamples();
        ship.ResetStats();
        game.mode = GameMode::Play;
    }

    // A level of the given beams (the build moves them so they start at
    // x 0 and y 1000) with the ship spawned at (0, 400).
    void StartLevelOf(const std::vector<Beam>& beams)
    {
        game.map.mapBeams = beams;
        ship.respawnPoint = RespawnPoint{0.0f, 400.0f, 0.0f};
        game.StartLevel();
        game.bonusTime = 9999;
    }

    // The ship in flight at p, the spawn time over.
    void PlaceShip(Vec2 p, float angle, Vec2 velocity = {})
    {
        ship.position = ship.previousPosition = p;
        ship.angle = ship.previousAngle = angle;
        ship.velocity = velocity;
        ship.spawnTimer = 0;
        ship.landed = false;
        ship.landedBeam = nullptr;
        ship.PlaceShapes(p.x, p.y);
        ship.RotateShapes(angle);
        ship.LeaveSectors();
        ship.EnterSectors();
    }

    void Press(ButtonIndex b) { game.input.Button(b).key.Set(true); }
    void Release(ButtonIndex b) { game.input.Button(b).key.Set(false); }

    // One update of the ship alone, then the buttons' edges, as a tick does.
    void ShipTick()
    {
        ship.Update();
        game.input.AdvanceButtons();
    }

    int Plays(SampleId id) const
    {
        const std::string call = "PlayChannelTimed(-1,chunk#" + std::to_string(Index(id)) + ",0,-1)";
        return static_cast<int>(std::count(host.audio.calls.begin(), host.audio.calls.end(), call));
    }

    // A probe actor of the type and hull radius at `at`, in the grid and the entity list.
    ProbeActor* AddProbe(EntityType type, Vec2 at, float radius = 3.0f)
    {
        auto* probe = new ProbeActor(type, radius);
        probe->Spawn(at.x, at.y, 0.0f);
        probe->EnterSectors();
        game.entities.Append(probe);
        return probe;
    }

    template <typename T>
    int CountEntities() const
    {
        int n = 0;
        for (Entity* e : game.entities)
            n += dynamic_cast<T*>(e) != nullptr ? 1 : 0;
        return n;
    }
};

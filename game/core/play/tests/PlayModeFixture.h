#pragma once

// A Game for play-mode tests: no window, sound recorded, the render state
// recorded, a level built straight from beams, seed 1000.
#include "testing/HeadlessHost.h"
#include "testing/RecordingAudioBackend.h"
#include "testing/RecordingDrawSink.h"
#include "testing/RecordingWorldState.h"
#include "Clock.h"
#include "Entity.h"
#include "Game.h"
#include "GameHost.h"
#include "Player.h"
#include "Random.h"
#include "TextInputMode.h"
#include "TextureLoader.h"
#include "WorldDrawState.h"

#include <SDL.h>

#include <memory>
#include <string>
#include <vector>

using PlayTestHost = HeadlessHost;

// An actor that counts what is done to it (in a record that outlives it:
// the list deletes a dead actor) and stays where it was put.
class CountingActor : public Entity {
public:
    struct Counts {
        int dies = 0;
        int draws = 0;
        int updates = 0;
    };
    std::shared_ptr<Counts> counts = std::make_shared<Counts>();

    CountingActor() { type = 0; }
    void Spawn(float x, float y, float a) override { SpawnPose(x, y, a); }
    void Update() override { ++counts->updates; }
    void Draw(float) override { ++counts->draws; }
    void Die() override
    {
        ++counts->dies;
        MarkDead();
    }
    Entity* Clone() const override { return new CountingActor(*this); }
};

struct PlayFixture {
    PlayTestHost host;
    std::unique_ptr<Game> gamePtr;
    Game& game;
    RecordingDrawSink sink;
    RecordingWorldState state;

    PlayFixture() : gamePtr(std::make_unique<Game>(host)), game(*gamePtr)
    {
        SeedRandom(1000);
        game.viewWidth = 640;
        game.viewHeight = 480;
        game.windowWidth = 640;
        game.windowHeight = 480;
        game.UpdateScreenSize();
    }

    // A level of horizontal beams 400 units apart from x 0 to width at y
    // 1000 (after the build's shift), started as the game starts one.
    void StartFlatLevel(float width, int beams)
    {
        game.map.mapBeams.clear();
        const float step = width / static_cast<float>(beams);
        for (int i = 0; i < beams; ++i) {
            Beam beam;
            beam.a = {step * static_cast<float>(i), 0.0f};
            beam.b = {step * static_cast<float>(i + 1), 0.0f};
            beam.direction = {1, 0};
            beam.normal = {0, -1};
            game.map.mapBeams.push_back(beam);
        }
        game.player->respawnPoint = RespawnPoint{0.0f, 400.0f, 0.0f}; // as the map load sets it
        game.StartLevel();
        game.bonusTime = 9999; // as the map load sets it
    }

    // Puts the camera so the view's top-left is at (x, y), as last tick too.
    void PlaceCamera(float x, float y)
    {
        game.player->camera = game.player->previousCamera = {x, y};
    }

    // Chunks the recording backend hands out for every sample slot.
    void LoadFakeSamples()
    {
        for (Mix_Chunk*& sample : game.resources.samples)
            sample = host.audio.LoadWav("fake.wav");
    }

    int CallsStartingWith(const std::string& prefix) const
    {
        int n = 0;
        for (const std::string& call : host.audio.calls)
            n += call.rfind(prefix, 0) == 0 ? 1 : 0;
        return n;
    }
};

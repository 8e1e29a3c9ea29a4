#include "Game.h"

#include "Entity.h"
#include "GameShip.h"
#include "Log.h"
#include "MapFile.h"
#include "MapLoader.h"
#include "Projectile.h"
#include "Ribbons.h"

#include <cstdio>
#include <string>

namespace {

void LogFailure(Log& log, const std::string& name, const std::string& reason)
{
    log.Write("Failed to load map ");
    log.Write(name);
    log.Write(".map\n");
    log.Write(reason);
}

} // namespace

bool Game::LoadMap(const char* name, Log& log)
{
    if (loadingSink != nullptr && loadingState != nullptr)
        DrawPleaseWait(0, *loadingSink, *loadingState);
    // A copy first: the name may be mapName itself (a saved game loads so).
    const std::string wanted = name != nullptr ? name : "";
    if (wanted.size() >= static_cast<std::size_t>(kGameMapNameBytes)) {
        LogFailure(log, wanted, LogFormat("The map name is longer than %i characters\n", kGameMapNameBytes - 1));
        return false;
    }

    // Everything is read and checked before the loaded map is touched, so a
    // damaged file leaves the previous map playable.
    MapFileContents contents;
    std::string reason;
    if (!ReadMapFile(MapFilePath(dataRoot, wanted), contents, reason)) {
        LogFailure(log, wanted, reason);
        return false;
    }
    std::vector<std::unique_ptr<Entity>> templates;
    BuildEntityTemplates(contents, templates, log);

    map.mapBeams = std::move(contents.beams);
    map.entityTemplates = std::move(templates);
    std::snprintf(mapName, sizeof mapName, "%s", wanted.c_str());

    log.Write("Loaded map ");
    log.Write(wanted);
    log.Write(".map\n");
    Ship()->ForgetMap();
    bonusTime = 9999;
    if (MapSavesGame(wanted.c_str()))
        SaveGame(log);
    return true;
}

void Game::ClearLevel(Log& log)
{
    log.Write("Clearing ents\n");
    DeleteEntities(entities);
    log.Write("Clearing weapons\n");
    DeleteProjectiles(playerShots);
    DeleteProjectiles(enemyShots);
    log.Write("Clearing beams\n");
    ClearRibbons(ribbons);
    log.Write("Clearing particles\n");
    particles.Clear();
    log.Write("Clearing sectors\n");
    sectorGrid.Clear(log);
    audio.HaltAllChannels();
    scorePopups.clear();
}

void Game::StartLevel(Log& log)
{
    // The ship lets go of the old level first, and counts as spawning from
    // here on, so nothing that waits for it (fleas, landers, missiles)
    // starts during the warm-up updates.
    GameShip& ship = *Ship();
    ship.LeaveLevel();

    // Actors and the grid point into the live beams: they go first.
    ClearLevel(log);
    map.liveBeams.clear();

    generatorCount = 0;
    scientistCount = 0;
    selfDestruct = SelfDestruct{};
    simulationStep = 0.02f;
    tickLength = 0.02f;
    shakeOffset = {};
    mineCount = 0;
    missionState = MissionState{};

    map.liveBeams = map.mapBeams;
    if (!map.entityTemplates.empty()) {
        for (std::size_t i = 0; i < map.entityTemplates.size(); ++i) {
            const Entity& source = *map.entityTemplates[i];
            Entity* clone = source.Clone();
            clone->Spawn(source.position.x, source.position.y, source.angle);
            ship.MeetClone(*clone, static_cast<std::int32_t>(i));
            entities.Append(clone);
        }
        for (Entity* entity : entities)
            entity->Link(map.liveBeams, entities);
    }

    sectorGrid.Build(map.liveBeams, entities);
    for (int image = 0; image < 3; ++image) {
        visibleSectors[image].clear();
        activeSectors[image].clear();
    }
    log.Writef("Total MapBeams:%i\n", static_cast<int>(map.liveBeams.size()));

    // Warm-up: every actor updates once, learns the built level, updates
    // again beside the ship.
    entities.Pass();
    for (Entity* entity : entities)
        entity->PostLoad();
    FillStarLayers();

    ship.EnterLevel();
    ship.Body().Update();
    entities.Pass();
    ship.Body().Update();

    ship.FinishLevelStart();
    parallaxOffset = {-ship.Camera().x, -ship.Camera().y};
}

#pragma once

#include "EntityList.h"
#include "Log.h"
#include "MapData.h"
#include "MapPack.h"
#include "SectorGrid.h"
#include "Vec2.h"

#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <vector>

class Entity;
class Player;
class ModelSource;

// The screen modes of the game.
enum class GameMode : int {
    Play = 0,
    Title = 1,
    HiScores = 2,
    GameOver = 3,
    ContinuePrompt = 4,
    PackEnd = 5,
    Credits = 6,
};

// The one owner of the game's state. Everything reaches it through theGame.
// This is the world's part of it; the main loop, screens, effects, menus,
// input and resources join it as they are written.
class Game {
public:
    // Builds the members and sets theGame; starts nothing (no video, audio or
    // resources) and makes the player.
    Game();
    ~Game();
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    // ---- Timing and view ------------------------------------------------
    Vec2 screenSize{640.0f, 480.0f}; // virtual screen (swapped when turned)
    Vec2 screenCentre{320.0f, 240.0f};
    float tickLength = 0.02f;       // real seconds a tick consumes
    float savedTickLength = 0.02f;  // kept by the pause menu
    int tickCount = 0;              // ticks since the current screen began
    std::uint32_t frameStamp = 0;   // incremented by every world draw
    GameMode mode = GameMode::Title;

    // ---- Level ------------------------------------------------------------
    char mapName[kGameMapNameBytes] = {};
    MapData map;             // map beams, templates (owning) and live beams
    EntityList entities;     // live actors (owning); the player is not here
    SectorGrid sectorGrid;   // non-owning pointers into the level
    std::vector<Sector*> visibleSectors[3]; // per wrap image -W, 0, +W
    std::vector<Sector*> activeSectors[3];
    std::unique_ptr<Player> player;
    Vec2 gravity;            // per tick; the new-game reset sets (0, 0.04)

    // ---- Level state --------------------------------------------------------
    struct SelfDestruct {
        bool running = false;
        float secondsLeft = 0.0f;
        int lastWholeSecond = 0;
        float flashTimer = 0.0f;
        bool detonated = false;
        bool detonationDone = false;
        int flashColour = 0;
    };
    struct MissionState {
        bool aborted = false;
        bool completed = false;
        bool leavingOrbit = false;
    };
    int generatorCount = 0;
    SelfDestruct selfDestruct;
    int scientistCount = 0;
    int bonusTime = 0;
    int mineCount = 0;
    MissionState missionState;
    Vec2 shakeOffset;
    Vec2 parallaxOffset;
    Vec2 previousParallaxOffset;

    // ---- Resources ------------------------------------------------------
    // Models by name for hulls; null leaves every hull empty.
    const ModelSource* models = nullptr;

    // ---- Map, pack and save state ------------------------------------------
    // The folder that holds "Data" (maps, packs, the saved game); "." is the
    // working directory. Tests point it at a scratch tree.
    std::string dataRoot = ".";
    std::vector<std::string> packNames; // intact packs, sorted ignoring case
    int selectedPack = 0;
    char packName[kPackNameBytes] = "Default";
    std::vector<std::string> packMaps;  // the current pack's map names
    std::int32_t mapIndex = 0;          // position in packMaps
    bool quitRequested = false;         // no usable pack: end after start-up

    // Reads "Data/Maps/<name>.map" into map.mapBeams and map.entityTemplates.
    // A damaged or missing file fails (logged with a reason) and keeps the
    // map loaded before; a name of 64 characters or more is refused. On
    // success the ship's respawn point is (0, 400), the bonus time 9999, and
    // the game is saved unless the map is "splash" or "home".
    bool LoadMap(const char* name, Log& log = Log::Instance());
    // Turns the loaded map into a running level (also a restart).
    void StartLevel(Log& log = Log::Instance());
    // Deletes the live actors and empties the grid.
    void ClearLevel(Log& log = Log::Instance());
    void ScanMapPacks(Log& log = Log::Instance());
    void LoadMapPack();
    void SaveGame();
    // 1 loaded, 0 refused, -1 the saved pack is missing.
    int LoadSaveGame(Log& log = Log::Instance());

    // ---- Later: projectile lists, particles, ribbons, fades, menus, stars,
    // input, fonts, audio, front end -----------------------------------------

    // Appends every live rotator, mover, target and laser whose own name
    // equals name ignoring case, in list order; answers whether any was
    // appended. The list is not emptied first.
    bool FindEntitiesByName(const char* name, std::vector<Entity*>& found) const;

    // The wrap period of the running level.
    float WorldWidth() const { return sectorGrid.worldWidth; }
};

// The running game, valid from the start of Game::Game to the end of
// Game::~Game; null otherwise.
extern Game* theGame;

#pragma once

#include "Audio.h"
#include "EntityList.h"
#include "EntityWorld.h"
#include "Fade.h"
#include "FontSet.h"
#include "GameHost.h"
#include "GameOverTrail.h"
#include "HiScoreTable.h"
#include "InputState.h"
#include "Log.h"
#include "OnlineHiScores.h"
#include "MapData.h"
#include "MapPack.h"
// Particles and ribbons
#include "ParticleList.h"
// ---- end of particles and ribbons
#include "ResourceStore.h"
#include "ScorePopup.h"
#include "SectorGrid.h"
#include "StarLayer.h"
#include "StartupSettings.h"
#include "StoreModelSource.h"
#include "Timer.h"
#include "Vec2.h"

#include <csignal>
#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <vector>

class Entity;
class Player;
class GameShip;
class Projectile;
class InputScriptPlayer;
class InputRecorder;
class ModelSource;
union SDL_Event;
class DrawSink;
class WorldDrawState;
class Menu;
struct ScreenCanvas;

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

// The one owner of the game's state. Everything reaches it through theGame;
// the entities reach their part of it as theWorld.
// The program builds it, runs Start and then Run, in that order; tests build
// it on a host of their own and drive ticks and frames without a window.
//
// Other parts add their members in the marked blocks below.
class Game : public EntityWorld {
public:
    // Builds the members and sets theGame, theWorld and the particles' view
    // of the game; starts nothing (no video, audio or resources) and makes
    // the player. The host must outlive the Game.
    explicit Game(GameHost& host = SdlGameHost());
    virtual ~Game();
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    // ---- Platform, start-up and main loop -------------------------------------
    using UpdateFunction = void (Game::*)();
    using DrawFunction = void (Game::*)(float alpha);
    struct ModePair {
        UpdateFunction update;
        DrawFunction draw;
    };

    GameHost* host;
    double tickAccumulator = 0.0;   // real seconds not yet simulated
    bool fullScreen = false;
    bool showFps = false;
    int modeDelay = -1;             // ticks until the pending pair is installed
    UpdateFunction currentUpdate;
    DrawFunction currentDraw;
    UpdateFunction pendingUpdate;
    DrawFunction pendingDraw;
    bool paused = false;            // frames draw with factor 1.0
    float drawAlpha = 0.0f;         // the factor of the last frame's draw
    std::uint32_t framesDrawn = 0;  // frames since Run began
    Timer frameTimer;
    InputState input;
    Audio audio;
    ResourceStore resources;
    StoreModelSource storeModels{resources}; // installed as models once loaded
    FontSet font;                   // "Fonts.psd"
    FontSet font2;                  // "Fonts2.psd"
    Mix_Music* music[2] = {nullptr, nullptr};
    int musicVolume = 128;
    bool audioStarted = false;
    // When set, the frame drawn as frame number frameDumpAt of Run is written
    // there as a binary PPM before it is shown (the end-to-end check).
    std::string frameDumpPath;
    std::uint32_t frameDumpAt = 30;
    // When set, the first frame drawn after this many ticks of Run is the
    // one dumped (instead of frame number frameDumpAt).
    std::int64_t frameDumpAfterTick = -1;
    std::int64_t ticksRun = 0; // ticks since Run began
    // A recorded run of the controls fed into the input every tick (null: none).
    std::unique_ptr<InputScriptPlayer> inputScript;
    // Writes the controls of every tick from the first one played (null:
    // nothing recorded); owned by whoever set it.
    InputRecorder* inputRecorder = nullptr;
    // A count of requests that a signal handler raises: each change writes
    // the next drawn frame to frameDumpPath as well. Null: none come.
    const volatile std::sig_atomic_t* frameDumpRequests = nullptr;
    std::sig_atomic_t frameDumpsDone = 0;

    // The start sequence: video, joysticks, audio, random seed, packs, view
    // size, image library, fonts, key bindings, resources, the pack's map
    // list, the frame timer and the title. False when a step failed or the
    // pack scan found nothing to play: the reason is then written to the log
    // and the error stream. The Game can still be destroyed.
    bool Start(const StartupSettings& settings);
    // The main loop: fixed ticks of tickLength real seconds from an
    // accumulator, one draw per frame. Returns once quitRequested is set, in
    // the tick that read it (that frame neither draws nor shows).
    void Run();
    // One frame of Run (the loop's body).
    void RunFrame();
    // Real time one frame may spend catching up ticks before the rest of the
    // backlog is dropped and the frame is drawn.
    static constexpr std::uint32_t kCatchUpBudgetMs = 250;
    // One tick: events, mouse, the mode delay, the update, button edges.
    void RunTick();
    // Whether the frame asked for at a tick (frameDumpAfterTick) is due now.
    bool FrameDumpDue() const;
    // Applies one platform event to the input state or the run flags.
    void HandleEvent(const SDL_Event& event);

    // Installs mode's pair now (delay <= 0) or on the delay-th tick after
    // the call. A mode outside 0..6 keeps the pending pair.
    void SetMode(GameMode mode, int delay);
    // The update and draw of a mode; null functions for a value outside 0..6.
    static ModePair PairFor(GameMode mode);
    // Play from the first map of the current pack: map 0, fresh stats, the
    // map loaded, then the play mode and the level. False (mode unchanged,
    // no level started) when the pack has no maps or its first map does not
    // load.
    bool NewGame();
    // A new game on the named map of the pack (empty: its first map), for a
    // recorded run; answers whether a level started.
    bool NewGameOnMap(const std::string& name);

    // The title screen with the "Splash" level behind it; the main menu
    // opens at its tick 150.
    void EnterTitle();
    void UpdateTitle();
    void DrawTitle(float alpha);
    void DrawTitle(float alpha, ScreenCanvas& canvas);
    // After the last map of a pack: five lines, the credits music, then the
    // high-score screen.
    void EnterPackEnd();
    void UpdatePackEnd();
    void DrawPackEnd(float alpha);
    void DrawPackEnd(float alpha, ScreenCanvas& canvas);
    // Two pages of credits, then the program ends.
    void EnterCredits();
    void UpdateCredits();
    void DrawCredits(float alpha);
    void DrawCredits(float alpha, ScreenCanvas& canvas);
    // The high scores over fireworks: after a game a qualifying score is
    // inserted and named, then the continue prompt or the game over follows;
    // from the main menu (afterGame false) the tables are only shown.
    void EnterHiScoreScreen(bool afterGame);
    void UpdateHiScoreScreen();
    void DrawHiScoreScreen(float alpha);
    void DrawHiScoreScreen(float alpha, ScreenCanvas& canvas);
    // The spinning "game_over" model with its red trail, then the title.
    void EnterGameOver();
    void UpdateGameOver();
    void DrawGameOver(float alpha);
    void DrawGameOver(float alpha, ScreenCanvas& canvas);
    // Black with the continue dialog until it is answered.
    void EnterContinuePrompt();
    void UpdateContinuePrompt();
    void DrawContinuePrompt(float alpha);
    void DrawContinuePrompt(float alpha, ScreenCanvas& canvas);
    // "FPS %i" in the bottom right corner.
    void DrawFps();
    // ---- end of platform, start-up and main loop ------------------------------

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
    // The ship as the game's own passes see it; null without a ship.
    GameShip* Ship() const;
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
    // The key configuration file (read at start, written by the controls
    // menu's DONE); relative to the working directory.
    std::string keyConfigPath = "Input.dat";
    // The online high-score table, its server and transport.
    OnlineHiScores online;
    std::vector<std::string> packNames; // intact packs, sorted ignoring case
    int selectedPack = 0;
    char packName[kPackNameBytes] = "Default";
    std::vector<std::string> packMaps;  // the current pack's map names
    std::int32_t mapIndex = 0;          // position in packMaps
    bool quitRequested = false;         // the main loop ends (also: no usable pack)
    std::string quitReason;             // why a check ended the game (empty: a normal quit)

    // Shows the loading screen (frame 0), then reads "Data/Maps/<name>.map"
    // into map.mapBeams and map.entityTemplates. A damaged or missing file fails (logged with a reason) and keeps the
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
    void SaveGame(Log& log = Log::Instance());
    // 1 loaded, 0 refused, -1 the saved pack is missing.
    int LoadSaveGame(Log& log = Log::Instance());

    // ---- Play mode, layout, fades, popups and stars -------------------------
    int viewWidth = 640;    // virtual screen: 640, 720 or 854 wide
    int viewHeight = 480;
    int windowWidth = 640;  // the window in pixels
    int windowHeight = 480;
    bool rotatedScreen = false;
    float simulationStep = 0.02f; // simulated seconds of one tick
    // Shared: a menu keeps its own reference to the fade it reads.
    std::vector<std::shared_ptr<Fade>> fades;
    std::vector<ScorePopup> scorePopups;
    std::vector<Star> starLayers[kStarLayerCount];
    // The open menus and dialogs (owning); the last one is the top.
    std::vector<std::unique_ptr<Menu>> menus;
    // The title has pushed its main menu since it was entered.
    bool titleMenuShown = false;

    // One menu pass: inactive menus are deleted, the others updated, menus
    // appended during the pass included.
    void UpdateMenus();
    // Closes every open menu, none of them keeping a chosen item.
    void CloseAllMenus();
    // Draws the stack in the view (turned with the screen), bottom first.
    void DrawMenus(float alpha, DrawSink& sink, WorldDrawState& state);
    void DrawMenus(float alpha, ScreenCanvas& canvas);

    // screenSize and screenCentre from the view size and the turn.
    void UpdateScreenSize();
    // A point of the 640 x 480 layout space on the view or the window.
    Vec2 LayoutToView(float x, float y) const;
    Vec2 LayoutToWindow(float x, float y) const;

    // Where the loading screen draws before a map is read: the OpenGL sink
    // and state once the video mode is up (Start sets them); none before, so
    // a Game without a window draws nothing. Tests put recorders here.
    DrawSink* loadingSink = nullptr;
    WorldDrawState* loadingState = nullptr;

    // The mouse cursor (while visible) and the loading screen's frame.
    void DrawCursor(float alpha);
    void DrawCursor(float alpha, DrawSink& sink, WorldDrawState& state);
    void DrawPleaseWait(int frame);
    void DrawPleaseWait(int frame, DrawSink& sink, WorldDrawState& state);
    // Places a sound already playing on the channel relative to the ship.
    void PositionSound(int channel, float x, float y);
    // One random sample of the family, played once and placed at (x, y).
    void PlaySmallExplosionAt(float x, float y);
    void PlayMediumExplosionAt(float x, float y);
    void PlayBigExplosionAt(float x, float y);

    // One tick and one frame of a running level; the world alone (also the
    // title's backdrop). The overloads draw through the given sink and state.
    void UpdatePlay();
    void DrawPlay(float alpha);
    void DrawPlay(float alpha, DrawSink& sink, WorldDrawState& state);
    void DrawWorld(float alpha);
    void DrawWorld(float alpha, DrawSink& sink, WorldDrawState& state);

    // Once per frame: drops the fades finished last frame, advances the rest.
    void AdvanceFades(float frameSeconds);
    // Every fade in list order (the hidden ones draw nothing).
    void DrawFades(DrawSink& sink, WorldDrawState& state) const;
    // Replaces the three star layers with 40 fresh stars each, updated once.
    void FillStarLayers();
    // ---- end of play mode, layout, fades, popups and stars -------------------

    // Particles and ribbons
    ParticleList particles; // every particle kind (owning); the play pass updates and draws it
    ParticleList ribbons;   // trails and shock rings (owning), drawn with DrawRibbons
    // ---- end of particles and ribbons

    // ---- Shots --------------------------------------------------------------
    std::list<Projectile*> playerShots; // the ship's shots and reflected bullets (owning)
    std::list<Projectile*> enemyShots;  // every enemy's shots (owning)
    // The sink and render state of the world draw in progress, null outside
    // it: actors and shots draw through them.
    DrawSink* drawSink = nullptr;
    WorldDrawState* drawState = nullptr;
    // ---- end of shots ---------------------------------------------------------

    // ---- HUD and radar ----------------------------------------------------------
    // Everything over the world in play, ending with the menus; the radar
    // (only while no countdown runs) shows the terrain and actors around the
    // camera, without the ship.
    void DrawHud(float alpha);
    void DrawHud(float alpha, ScreenCanvas& canvas);
    void DrawRadar(float alpha, ScreenCanvas& canvas);
    // ---- end of HUD and radar ---------------------------------------------------

    // ---- High scores, game over and continue ----------------------------------
    HiScoreTable localHiScores;     // the defaults until the file is loaded
    HiScoreTable onlineHiScores;    // empty until a download succeeds
    bool onlineHiScoresValid = false;
    bool hiScorePending = false;    // a new entry waits for its name
    bool hiScoreViewOnly = false;   // the screen came from the main menu
    float cursorBlink = 0.0f;
    int newHiScoreRank = 0;         // the entry being named
    std::vector<GameOverTrailPoint> gameOverTrail; // oldest first

    // Halts every channel and puts the default table in place.
    void ResetHiScores();
    // "Scores.dat" beside "Data" (in the working directory in the program).
    std::string HiScoreFilePath() const;
    void LoadLocalHiScores();
    void SaveLocalHiScores();
    // ---- end of high scores, game over and continue ---------------------------

    // ---- Later: projectile lists, particles, ribbons, fades, menus, stars,
    // input, fonts, audio, front end -----------------------------------------

    // Appends every live rotator, mover, target and laser whose own name
    // equals name ignoring case, in list order; answers whether any was
    // appended. The list is not emptied first.
    bool FindEntitiesByName(const char* name, std::vector<Entity*>& found) const;

    // The wrap period of the running level.
    float WorldWidth() const { return sectorGrid.worldWidth; }

    // ---- The world as the entities see it -----------------------------------
    SectorGrid& Grid() override { return sectorGrid; }
    const ModelSource* Models() const override { return models; }
    void PayPoints(std::int32_t points) override;
};

// The running game, valid from the start of Game::Game to the end of
// Game::~Game; null otherwise.
extern Game* theGame;

#include "Game.h"

#include "Entity.h"
#include "InputScript.h"
#include "MapData.h"
#include "Menu.h"
#include "ParticleWorld.h"
#include "Player.h"
#include "Projectile.h"


Game* theGame = nullptr;

namespace {
// What the particle systems read of the running game; the defaults without
// a game or without a player.
ParticleWorld GameParticleWorld()
{
    ParticleWorld world;
    if (theGame == nullptr)
        return world;
    world.screenSize = theGame->screenSize;
    world.screenCentre = theGame->screenCentre;
    world.worldWidth = theGame->sectorGrid.worldWidth;
    world.gravity = theGame->gravity;
    world.grid = theGame->sectorGrid.HasCells() ? &theGame->sectorGrid : nullptr;
    world.player = theGame->player.get();
    if (world.player != nullptr)
        world.camera = world.player->camera;
    return world;
}
} // namespace

Game::Game(GameHost& host)
    : host(&host),
      currentUpdate(&Game::UpdateTitle),
      currentDraw(&Game::DrawTitle),
      pendingUpdate(&Game::UpdateTitle),
      pendingDraw(&Game::DrawTitle),
      frameTimer(host.FrameClock()),
      input(&host.TextInput()),
      audio(host.AudioDevice()),
      resources(host.Textures(), audio)
{
    theGame = this;
    theWorld = this;
    SetParticleWorldSource(&GameParticleWorld);
    player = std::make_unique<Player>();
    ResetHiScores();
    ClearHiScoreTable(onlineHiScores);
}

GameShip* Game::Ship() const { return player.get(); }

Game::~Game()
{
    // Sounds and music go back to the mixer while it is still open.
    for (Mix_Music*& handle : music)
        audio.FreeMusic(handle);
    resources.FreeSamples();
    if (audioStarted)
        audio.ShutdownAudio();
    // Live actors leave their cells while the grid still exists (the grid is
    // declared after the entity list, so it would go first).
    entities.DeleteAll();
    DeleteProjectiles(playerShots);
    DeleteProjectiles(enemyShots);
    player.reset();
    if (theGame == this) {
        theGame = nullptr;
        SetParticleWorldSource(nullptr);
    }
    if (theWorld == this)
        theWorld = nullptr;
}

void Game::PayPoints(std::int32_t points)
{
    // A saved game can bring any int32 score: the adder stops at the limits.
    if (player)
        player->AddScore(points);
}

bool Game::FindEntitiesByName(const char* name, std::vector<Entity*>& found) const
{
    return entities.FindNamed(name, found);
}

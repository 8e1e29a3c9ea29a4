#include "ParticleWorld.h"

#include "Game.h"
#include "Player.h"

ParticleWorld CurrentParticleWorld()
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

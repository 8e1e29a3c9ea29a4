#include "TitleBackdrop.h"

#include "Game.h"
#include "PlayMode.h"
#include "PlayModeLinks.h"
#include "Player.h"

void UpdateBackdrop(Game& game)
{
    const Vec2 centre = game.player->camera + game.screenCentre;
    const Rect view(game.screenSize.x, game.screenSize.y, centre.x, centre.y);
    SectorsForWrapImages(game.sectorGrid, view, game.visibleSectors);
    game.entities.Pass();
    UpdateParticleLists(game);
    UpdateProjectileLists(game);
    for (std::vector<Star>& layer : game.starLayers)
        for (Star& star : layer)
            UpdateStar(star);
    game.previousParallaxOffset = game.parallaxOffset;
    game.parallaxOffset -= game.player->camera - game.player->previousCamera;
}

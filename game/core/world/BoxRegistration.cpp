#include "BoxRegistration.h"

#include "Entity.h"
#include "Game.h"

void EnterSectorsByBox(Entity& entity, const Rect& box)
{
    if (theGame == nullptr)
        return;
    theGame->sectorGrid.SectorsForRect(box, entity.sectors);
    for (Sector* sector : entity.sectors)
        sector->entities.push_back(&entity);
}

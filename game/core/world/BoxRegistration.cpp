#include "BoxRegistration.h"

#include "Entity.h"
#include "EntityWorld.h"
#include "Sector.h"
#include "SectorGrid.h"

void EnterSectorsByBox(Entity& entity, const Rect& box)
{
    if (theWorld == nullptr)
        return;
    theWorld->Grid().SectorsForRect(box, entity.sectors);
    for (Sector* sector : entity.sectors)
        sector->entities.push_back(&entity);
}

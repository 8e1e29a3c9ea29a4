#include "BoxRegistration.h"

#include "Entity.h"
#include "EntityWorld.h"
#include "Sector.h"
#include "SectorGrid.h"

void EnterSectorsByBox(Entity& entity, const Rect& box)
{
    if (theWorld == nullptr)
        return;
    const std::size_t first = entity.sectors.size();
    theWorld->Grid().SectorsForRect(box, entity.sectors);
    entity.EnterListedSectors(first);
}

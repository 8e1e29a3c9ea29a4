#include "SpriteTestPool.h"

#include "sprite/SpriteLinks.h"

void SpriteTestPool::DropLinksOf(SpriteRecord* s) { DropLinks(s); }

#pragma once

#include "Rect.h"

class Entity;

// Registration by an area box instead of the hull (platforms, trigger zones):
// the cells the box meets (across the wrap) join entity.sectors, and the
// entity joins each of them.
void EnterSectorsByBox(Entity& entity, const Rect& box);

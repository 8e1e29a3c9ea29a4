#include "EntityWorld.h"

EntityWorld* theWorld = nullptr;

#pragma once

class Entity;

// Takes every occurrence of the rider out of the carried list of the
// platform (a rotator or a mover); anything else carries nobody.
void RemoveRider(Entity* platform, const Entity* rider);

#include "MapData.h"

#include "Entity.h"

MapData::MapData() = default;
MapData::~MapData() = default;
MapData::MapData(MapData&&) noexcept = default;
MapData& MapData::operator=(MapData&&) noexcept = default;

// Spatial buckets over a pool's sprites, so renewing one sprite's overlap
// links looks at the sprites near it instead of the whole pool. Each sprite
// is listed in the 64-pixel cells its union box (as drawn) covered when its
// links were last renewed, which always holds its current and pending
// rectangles: a commit only shrinks the box, and every other change renews
// the links. A sprite over more cells than a node set holds, or not yet
// renewed, is listed as wide and offered to every search.
//
// The grid lives in its own block beside the pool (the pool's layout is
// fixed); a pool without one (its block could not be had) is searched whole.
#pragma once

#include <cstdint>

#include "sprite/SpritePool.h"

struct SpriteGrid;

// A grid for a pool of n records, null when it cannot be allocated.
SpriteGrid* MakeSpriteGrid(SpritePool* pool, int32_t n);
void FreeSpriteGrid(SpriteGrid* grid);

// The sprite taken from the pool: wide until its box is known.
void SpriteGridAdd(SpriteGrid* grid, SpriteRecord* sprite);
// The sprite given back to the pool.
void SpriteGridRemove(SpriteGrid* grid, SpriteRecord* sprite);
// Lists the sprite under the cells of `box` (its union box as drawn).
void SpriteGridPlace(SpriteGrid* grid, SpriteRecord* sprite, const SpriteRect& box);

// The sprites listed in a cell `box` reaches, and every wide one, each
// once, in no particular order: their count, with the list in *found (owned
// by the grid, valid until its next call). -1 when there is no grid or the
// box spans too many cells for a search to pay: the caller walks the pool.
int32_t SpriteGridSearch(SpriteGrid* grid, const SpriteRect& box, SpriteRecord*** found);

// The grid's marks for one renewal: Mark(o) once per sprite, Marked(o)
// until the next BeginMarks.
void SpriteGridBeginMarks(SpriteGrid* grid);
void SpriteGridMark(SpriteGrid* grid, const SpriteRecord* sprite);
bool SpriteGridMarked(const SpriteGrid* grid, const SpriteRecord* sprite);

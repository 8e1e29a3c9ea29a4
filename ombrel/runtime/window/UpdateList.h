// A window's dirty-rectangle list: what was drawn into the back buffer since
// the last present. An interface format (callers read it through
// `WindowGetUpdateList`), pinned at 8212 bytes.
#pragma once

#include <cstddef>
#include <cstdint>

#include "OmbrelApi.h"
#include "surface/SurfaceTypes.h"

struct UpdateList {
  static constexpr int32_t kCapacity = 513;
  int32_t count;  // 0 to 513
  SurfaceRect rects[kCapacity];  // right and bottom exclusive
};
OMB_PIN_SIZE(UpdateList, 8212);
OMB_PIN_OFFSET(UpdateList, rects, 4);

// Adds `rect` (corners sorted first). Merging (`keepApart` false): every
// entry that shares an area with it is taken out and folded into it, so no
// two entries overlap; entries that only touch stay apart. Keeping apart:
// nothing is added when an entry already holds it, and an entry it holds is
// replaced by it. Past 513 entries the first entry grows to take it in, so no
// update is ever lost.
void UpdateListAdd(UpdateList& list, SurfaceRect rect, bool keepApart);
// The list becomes the one rectangle (0, 0, width, height).
void UpdateListSetWhole(UpdateList& list, int32_t width, int32_t height);
// The count as a caller may have left it, limited to 0..513.
int32_t UpdateListCount(const UpdateList& list);

// The scans behind the merge: the first of `count` entries from `from` on
// that overlaps `rect`, or `count`; plain C++ and SSE2 (the plain one when the
// processor has no SSE2). Exposed for the tests that hold them to each other.
int32_t UpdateListFirstOverlapPlain(const SurfaceRect* rects, int32_t count, const SurfaceRect& rect, int32_t from);
int32_t UpdateListFirstOverlapVector(const SurfaceRect* rects, int32_t count, const SurfaceRect& rect, int32_t from);

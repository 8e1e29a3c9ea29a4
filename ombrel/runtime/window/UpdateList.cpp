#include "window/UpdateList.h"

#include <algorithm>

namespace {

// Touching edges do not count: right and bottom are exclusive.
bool Overlaps(const SurfaceRect& a, const SurfaceRect& b) {
  return a.left < b.right && a.right > b.left && a.top < b.bottom && a.bottom > b.top;
}

bool Holds(const SurfaceRect& outer, const SurfaceRect& inner) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

SurfaceRect Union(const SurfaceRect& a, const SurfaceRect& b) {
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
          std::max(a.bottom, b.bottom)};
}

SurfaceRect Sorted(const SurfaceRect& r) {
  return {std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right),
          std::max(r.top, r.bottom)};
}

// Folds every overlapped entry into `rect`, scanning again from the start
// after each fold (the grown rectangle may now reach entries already passed).
void MergeInto(UpdateList& list, SurfaceRect& rect) {
  int32_t i = 0;
  while (i < list.count) {
    if (Overlaps(rect, list.rects[i])) {
      rect = Union(rect, list.rects[i]);
      list.rects[i] = list.rects[list.count - 1];
      --list.count;
      i = 0;
    } else {
      ++i;
    }
  }
}

// True when the call is settled without appending.
bool KeepApart(UpdateList& list, const SurfaceRect& rect) {
  for (int32_t i = 0; i < list.count; ++i) {
    if (Holds(list.rects[i], rect)) return true;
    if (Holds(rect, list.rects[i])) {
      list.rects[i] = rect;
      return true;
    }
  }
  return false;
}

}  // namespace

int32_t UpdateListCount(const UpdateList& list) {
  return std::clamp(list.count, int32_t{0}, UpdateList::kCapacity);
}

void UpdateListAdd(UpdateList& list, SurfaceRect rect, bool keepApart) {
  list.count = UpdateListCount(list);
  rect = Sorted(rect);
  if (keepApart) {
    if (KeepApart(list, rect)) return;
  } else {
    MergeInto(list, rect);
  }
  if (list.count < UpdateList::kCapacity) {
    list.rects[list.count++] = rect;
  } else {
    list.rects[0] = Union(list.rects[0], rect);
  }
}

void UpdateListSetWhole(UpdateList& list, int32_t width, int32_t height) {
  list.count = 1;
  list.rects[0] = {0, 0, width, height};
}

#include "palette/PaletteContext.h"

#include <algorithm>
#include <memory>
#include <new>

#include "Memory.h"
#include "palette/PaletteHandle.h"
#include "palette/cPalette.h"

namespace {

struct Registry {
  std::vector<std::unique_ptr<PaletteContext>> contexts;
  std::vector<cPalette*> orphans;  // held by someone after their context ended
};

Registry& TheRegistry() {
  static Registry* registry = new Registry;  // never destroyed: used up to process exit
  return *registry;
}

void Destroy(cPalette* palette) {
  void* inverse = palette->inverse;
  MemFree(&inverse);
  DeleteSystemPalette(palette->handle);
  void* block = palette;
  MemFree(&block);
}

void Remove(std::vector<cPalette*>& list, cPalette* palette) {
  list.erase(std::remove(list.begin(), list.end(), palette), list.end());
}

}  // namespace

std::mutex& PaletteLock() {
  static std::mutex* lock = new std::mutex;
  return *lock;
}

PaletteContext* FindThreadContext() {
  const auto self = std::this_thread::get_id();
  for (auto& context : TheRegistry().contexts)
    if (context->thread == self) return context.get();
  return nullptr;
}

bool EnterThreadContext() {
  if (PaletteContext* context = FindThreadContext()) {
    ++context->users;
    return true;
  }
  try {
    auto context = std::make_unique<PaletteContext>();
    context->thread = std::this_thread::get_id();
    context->users = 1;
    TheRegistry().contexts.push_back(std::move(context));
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

void LeaveThreadContext() {
  PaletteContext* context = FindThreadContext();
  if (context == nullptr || --context->users > 0) return;
  Registry& registry = TheRegistry();
  for (cPalette* palette : context->palettes) {
    palette->owner = nullptr;
    if (palette->refCount <= 0) {
      Destroy(palette);
    } else {
      try {
        registry.orphans.push_back(palette);
      } catch (const std::bad_alloc&) {
        // Untracked orphans are still freed by their last release.
      }
    }
  }
  auto& contexts = registry.contexts;
  contexts.erase(std::remove_if(contexts.begin(), contexts.end(),
                                [context](const auto& c) { return c.get() == context; }),
                 contexts.end());
}

void FreePaletteLocked(cPalette* palette) {
  if (palette->owner != nullptr)
    Remove(palette->owner->palettes, palette);
  else
    Remove(TheRegistry().orphans, palette);
  Destroy(palette);
}

void FreeAllPalettes() {
  std::lock_guard<std::mutex> guard(PaletteLock());
  Registry& registry = TheRegistry();
  for (auto& context : registry.contexts)
    for (cPalette* palette : context->palettes) Destroy(palette);
  for (cPalette* palette : registry.orphans) Destroy(palette);
  registry.contexts.clear();
  registry.orphans.clear();
}

// The palette indices that windows keep for their colours, and the depth
// word that follows the app's.
#include <gtest/gtest.h>

#include <cstdint>
#include <mutex>

#include "AppFixture.h"
#include "Memory.h"
#include "app/AppObject.h"
#include "palette/DefaultPalettes.h"
#include "palette/PaletteContext.h"
#include "window/WindowAppLink.h"
#include "window/WindowRecord.h"

namespace {

uint32_t ColourOf(const PaletteEntry& e) {
  return uint32_t(e.red) | uint32_t(e.green) << 8 | uint32_t(e.blue) << 16;
}

PaletteEntry DefaultEntry(int index) {
  std::lock_guard<std::mutex> lock(PaletteLock());
  return DefaultLogPalette(3)->entries[index];
}

TEST_F(AppTest, ColoursBecomeIndicesOnlyAtPaletteDepths) {
  const uint32_t upper = ColourOf(DefaultEntry(250));
  const uint32_t lower = ColourOf(DefaultEntry(7));
  struct Row {
    const char* name;
    int32_t depthCode;
    uint32_t colour;
    int32_t expected;
  };
  const Row rows[] = {
      {"true colour has no index", 8, 0x00FFFFFF, -1},
      {"15 bits neither", 6, 0x01000005, -1},
      {"an index given directly", 3, 0x01000005, 5},
      {"an index of 16 bits", 2, 0x01000123, 0x123},
      {"an exact upper static colour", 3, upper, 250},
      {"an exact lower static colour", 3, lower, 7},
      {"black is entry 0", 3, 0x00000000, 0},
      {"two colours: white is the second", 1, 0x00FFFFFF, 1},
      {"no palette for the code", 0, 0x00FFFFFF, -1},
  };
  AppObject* app = AppCreate(nullptr, nullptr);
  ASSERT_NE(app, nullptr);
  // The app's own palette (made from the default) answers at 8 bits;
  // without an app the default does.
  ASSERT_NE(app->palette, nullptr);
  for (AppObject* owner : {static_cast<AppObject*>(nullptr), app})
    for (const Row& r : rows)
      EXPECT_EQ(AppColourIndex(owner, r.depthCode, r.colour), r.expected) << r.name << (owner ? " (app)" : "");
  EXPECT_EQ(AppDefaultPaletteCount(nullptr, 3), 256);
  EXPECT_EQ(AppDefaultPaletteCount(nullptr, 2), 16);
  EXPECT_EQ(AppDefaultPaletteCount(nullptr, 8), 0);
  AppDestroy(app);
}

TEST_F(AppTest, WindowsTakeTheAppsNewDepthWord) {
  AppObject* app = AppCreate(nullptr, nullptr);
  ASSERT_NE(app, nullptr);
  void* block = nullptr;
  ASSERT_TRUE(MemCalloc(sizeof(WindowObject), &block));
  auto* window = static_cast<WindowObject*>(block);
  window->app = app;
  window->depth = app->depth;
  ASSERT_NE(app->windows.AddTail(window), 0);
  ASSERT_EQ(AppSetDepth(app, 7), 7);
  EXPECT_EQ(window->depth, 7);
  DestroyWindowRecord(window);
  AppDestroy(app);
}

}  // namespace

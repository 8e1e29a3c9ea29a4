// A window's depth word follows its app's.
#include <gtest/gtest.h>

#include <cstdint>

#include "AppFixture.h"
#include "Memory.h"
#include "app/AppObject.h"
#include "window/WindowRecord.h"

namespace {

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

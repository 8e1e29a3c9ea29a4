// Tests of application objects: the calling thread gets a palette context
// (as the library's thread start gives every thread) and gives its app list
// back at the end.
#pragma once

#include <gtest/gtest.h>

#include "app/AppApi.h"
#include "app/AppLists.h"
#include "app/DisplayDepth.h"
#include "palette/PaletteApi.h"

class AppTest : public ::testing::Test {
 protected:
  void SetUp() override { ReleasePalette(PaletteStartup()); }
  void TearDown() override {
    AppListThreadDetach();
    PaletteShutdown();
  }
};

// The same with one app made for the test and destroyed after it.
class OneAppTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    app_ = AppCreate(nullptr, nullptr);
    ASSERT_NE(app_, nullptr);
  }
  void TearDown() override {
    AppDestroy(app_);
    AppTest::TearDown();
  }
  AppObject* app_ = nullptr;
};

// A display described by what the platform would report of it.
class ScriptedDisplay final : public DisplaySource {
 public:
  explicit ScriptedDisplay(DisplayFormat format, int32_t directDrawBits = 0)
      : format_(format), directDrawBits_(directDrawBits) {}
  int32_t ScreenDepthCode() override { return DepthCodeFromDisplay(format_); }
  int32_t DirectDrawBits() override { return directDrawBits_; }

 private:
  DisplayFormat format_;
  int32_t directDrawBits_;
};

// A test fixture with its own started surface library and its memory
// prototypes, for tests that work through surface handles.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>

#include "surface/SurfaceHandle.h"
#include "surface/SurfaceLibrary.h"

class SurfaceHandleFixture : public ::testing::Test {
 protected:
  void SetUp() override { library_.Init(); }
  void TearDown() override { library_.Exit(); }
  cSurfaceHandle* Prototype(int32_t depth) {
    cSurfaceHandle* prototype = nullptr;
    library_.GetPrototype(&prototype, depth, SurfaceTypeMemory, 0);
    return prototype;
  }
  SurfaceLibrary library_;
};

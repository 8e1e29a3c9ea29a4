#include <gtest/gtest.h>

#include <cstdint>

#include "window/WindowSizing.h"

namespace {

TEST(WindowSizing, BufferExtentsComeFromPixelsOrFromAWindowExtentLessTheFrame) {
  struct Row {
    int32_t value, frame, expected;
  };
  const Row rows[] = {{-640, 8, 640}, {648, 8, 640}, {640, 0, 640}, {0, 8, -8}, {-1, 30, 1}};
  for (const Row& r : rows) EXPECT_EQ(BufferExtent(r.value, r.frame), r.expected) << r.value;
}

TEST(WindowSizing, ResizeKeepsAnAxisOnRequestAndTakesClientExtentsAsNegative) {
  struct Row {
    int32_t value, current, frame, expected;
  };
  const Row rows[] = {
      {0x8000, 517, 8, 517},  // kept
      {-320, 517, 8, 328},    // a client width of 320
      {0, 517, 8, 8},         // no client area
      {400, 517, 8, 400},     // a window width
  };
  for (const Row& r : rows) EXPECT_EQ(ResizeExtent(r.value, r.current, r.frame), r.expected) << r.value;
}

TEST(WindowSizing, AClientLargerThanTheBufferIsCappedToIt) {
  int32_t w = -1, h = -1;
  ASSERT_TRUE(CappedWindowSize(800, 600, 640, 480, 8, 34, &w, &h));
  EXPECT_EQ(w, 648);
  EXPECT_EQ(h, 514);
  ASSERT_TRUE(CappedWindowSize(600, 600, 640, 480, 8, 34, &w, &h));
  EXPECT_EQ(w, 608);  // only the height was too large
  EXPECT_EQ(h, 514);
  w = h = -1;
  EXPECT_FALSE(CappedWindowSize(640, 480, 640, 480, 8, 34, &w, &h));
  EXPECT_FALSE(CappedWindowSize(800, 600, 0, 0, 8, 34, &w, &h));  // buffer not known yet
  EXPECT_EQ(w, -1);
}

}  // namespace

// The shapes that the platform draws on a device context, in the native
// build: memory surfaces have none and no back end makes temporaries with
// one, so every member fails with ErrInvalidData and leaves the pixels alone;
// the outline forms of width 0 and the inside forms without a paint do
// nothing at all.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>

#include "paint/cPaintSolid.h"
#include "support/SurfaceHandleFixture.h"
#include "surface/SurfaceLibraryApi.h"

namespace {

constexpr uint32_t kBack = 0x00101010;

class DeviceShapes : public SurfaceHandleFixture {
 protected:
  void SetUp() override {
    SurfaceHandleFixture::SetUp();
    SurfaceLibraryInit();  // the painted shapes' temporaries come from the library's prototypes
    ASSERT_NE(surface_.Create(16, 16, Prototype(24)), nullptr);
    ASSERT_EQ(surface_.FillAll(kBack), 1);
  }
  void TearDown() override {
    surface_.Destroy();
    SurfaceLibraryExit();
    SurfaceHandleFixture::TearDown();
  }
  void ExpectUntouched(const std::string& what) {
    for (int32_t y = 0; y < 16; ++y)
      for (int32_t x = 0; x < 16; ++x) ASSERT_EQ(surface_.GetBufferPixel(x, y), kBack) << what;
  }
  cSurfaceHandle surface_;
  cPaintSolid paint_{0x000000FF};
};

TEST_F(DeviceShapes, MembersNeedingADeviceContextFailWithInvalidData) {
  const int32_t triangle[] = {1, 1, 12, 2, 4, 12};
  struct Case {
    const char* name;
    std::function<int32_t(cSurfaceHandle&, cPaintBase*)> draw;
  };
  const Case cases[] = {
      {"wide line", [](cSurfaceHandle& s, cPaintBase*) { return s.Line(0, 0, 9, 9, 3, 0xFF); }},
      {"line width 0", [](cSurfaceHandle& s, cPaintBase*) { return s.Line(0, 0, 9, 9, 0, 0xFF); }},
      {"ellipse", [](cSurfaceHandle& s, cPaintBase*) { return s.Ellipse(1, 1, 9, 9, 0xFF, 1, 0xFF00, 1); }},
      {"polygon", [&](cSurfaceHandle& s, cPaintBase*) { return s.Polygon(triangle, 3, 0xFF, 1, 0xFF00, 1); }},
      {"painted rectangle", [](cSurfaceHandle& s, cPaintBase* p) { return s.PaintRectangle(1, 1, 9, 9, p, 0, nullptr, 0, 0, 0, 0, 1); }},
      {"painted rectangle with outline", [](cSurfaceHandle& s, cPaintBase* p) { return s.PaintRectangle(1, 1, 9, 9, p, 2, p, 0, 0, 0, 0, 1); }},
      {"painted ellipse", [](cSurfaceHandle& s, cPaintBase* p) { return s.PaintEllipse(9, 9, 1, 1, p, 2, p, 0, 0, 0, 0, 1); }},
      {"painted polygon", [&](cSurfaceHandle& s, cPaintBase* p) { return s.PaintPolygon(triangle, 3, p, 1, p, 0, 0, 0, 0, 1); }},
      {"painted line", [](cSurfaceHandle& s, cPaintBase* p) { return s.PaintLine(0, 0, 9, 4, 1, p, 0, 0, 0, 0); }},
      {"painted wide line", [](cSurfaceHandle& s, cPaintBase* p) { return s.PaintLine(0, 0, 9, 4, 3, p, 0, 0, 0, 0); }},
      {"rectangle outline form", [](cSurfaceHandle& s, cPaintBase* p) { s.PaintRectangleOutline(1, 1, 9, 9, 1, p, 0, 0, 0, 0); return 0; }},
      {"rectangle inside form", [](cSurfaceHandle& s, cPaintBase* p) { s.PaintRectangleInside(1, 1, 9, 9, p, 0, 0, 0, 0); return 0; }},
      {"ellipse outline forms", [](cSurfaceHandle& s, cPaintBase* p) { s.EllipseOutline(1, 1, 9, 9, 1, 0xFF); s.PaintEllipseOutline(1, 1, 9, 9, 1, p, 0, 0, 0, 0); return 0; }},
      {"ellipse inside form", [](cSurfaceHandle& s, cPaintBase* p) { s.PaintEllipseInside(1, 1, 9, 9, p, 0, 0, 0, 0); return 0; }},
      {"polygon outline forms", [&](cSurfaceHandle& s, cPaintBase* p) { s.PolygonOutline(triangle, 3, 1, 0xFF); s.PaintPolygonOutline(triangle, 3, 1, p, 0, 0, 0, 0); return 0; }},
      {"polygon inside form", [&](cSurfaceHandle& s, cPaintBase* p) { s.PaintPolygonInside(triangle, 3, p, 0, 0, 0, 0); return 0; }},
  };
  for (const Case& c : cases) {
    surface_.lastError = LibOk;
    EXPECT_EQ(c.draw(surface_, &paint_), 0) << c.name;
    EXPECT_EQ(surface_.GetLastError(), ErrInvalidData) << c.name;
    ExpectUntouched(c.name);
  }
}

TEST_F(DeviceShapes, EmptyFormsAndInvisibleShapesReportNothing) {
  const int32_t triangle[] = {1, 1, 12, 2, 4, 12};
  surface_.lastError = LibOk;
  surface_.EllipseOutline(1, 1, 9, 9, 0, 0xFF);
  surface_.PolygonOutline(triangle, 3, 0, 0xFF);
  surface_.PaintRectangleOutline(1, 1, 9, 9, 0, &paint_, 0, 0, 0, 0);
  surface_.PaintEllipseOutline(1, 1, 9, 9, 0, &paint_, 0, 0, 0, 0);
  surface_.PaintPolygonOutline(triangle, 3, 0, &paint_, 0, 0, 0, 0);
  surface_.PaintRectangleInside(1, 1, 9, 9, nullptr, 0, 0, 0, 0);
  surface_.PaintEllipseInside(1, 1, 9, 9, nullptr, 0, 0, 0, 0);
  surface_.PaintPolygonInside(triangle, 3, nullptr, 0, 0, 0, 0);
  EXPECT_EQ(surface_.PaintLine(0, 0, 5, 5, 1, nullptr, 0, 0, 0, 0), 0);
  // A box wholly outside the clip has no visible part: false, no error.
  EXPECT_EQ(surface_.PaintRectangle(20, 20, 30, 30, &paint_, 0, nullptr, 0, 0, 0, 0, 1), 0);
  EXPECT_EQ(surface_.PaintEllipse(-9, 0, -1, 5, &paint_, 0, nullptr, 0, 0, 0, 0, 1), 0);
  EXPECT_EQ(surface_.GetLastError(), LibOk);
  ExpectUntouched("empty forms");
}

TEST_F(DeviceShapes, PolygonsWithoutPointsAreRefused) {
  const int32_t one[] = {3, 3};
  struct Case {
    const int32_t* points;
    int32_t count;
  };
  for (const Case& c : {Case{nullptr, 3}, Case{one, 1}, Case{one, 0}, Case{one, -5}}) {
    surface_.lastError = LibOk;
    EXPECT_EQ(surface_.Polygon(c.points, c.count, 0xFF, 1, 0xFF, 1), 0);
    EXPECT_EQ(surface_.GetLastError(), ErrInvalidData);
    surface_.lastError = LibOk;
    EXPECT_EQ(surface_.PaintPolygon(c.points, c.count, &paint_, 1, &paint_, 0, 0, 0, 0, 1), 0);
    EXPECT_EQ(surface_.GetLastError(), ErrInvalidData);
  }
  ExpectUntouched("refused polygons");
}

}  // namespace

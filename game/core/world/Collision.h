#pragma once

#include "HullCircle.h"
#include "Line.h"
#include "Rect.h"
#include "Vec2.h"

class DrawSink;

// Overlap tests of the world's collision and visibility questions. Every
// boundary counts as touching (inclusive), and every circle test uses the
// circle's world centre, never its offset.

bool PointInRect(float x, float y, const Rect& box);
bool RectsOverlap(const Rect& a, const Rect& b);
bool PointInCircle(float x, float y, float radius, float centreX, float centreY);
bool CirclesOverlap(const HullCircle& a, const HullCircle& b);

// The point of the segment nearest to (x, y). A zero-length segment answers
// its one point.
Vec2 ClosestPointOnSegment(float x, float y, const Line& line);
float DistancePointToSegment(float x, float y, const Line& line);
bool PointNearSegment(const Line& line, const HullCircle& circle);

// The segments' bounding boxes overlap (touching included).
bool SegmentBoundsOverlap(const Line& a, const Line& b);
// Proper crossing, end points included; parallel or collinear segments answer
// false. out is written only on true (it may be null).
bool SegmentsIntersect(const Line& a, const Line& b, Vec2* out);

// Coarse on purpose: rejects a segment wholly on one side of the box, else
// asks whether the segment's point nearest the box centre lies in the box.
bool SegmentIntersectsRect(const Line& line, const Rect& box);
// Coarse on purpose: centre in box, the circle's point toward the box centre
// in box, box centre in circle, or a corner in circle.
bool CircleIntersectsRect(const HullCircle& circle, const Rect& box);
// Where the line through the segment meets the circle: the exit point when
// p0 lies in the circle, else the entry point (t is not clamped). Answers
// false, leaving out alone, when the segment passes farther than the radius.
// out may be null.
bool SegmentCircleIntersection(const Line& line, const HullCircle& circle, Vec2* out);

// Debugging view of a circle: a line loop of the given number of vertices and
// a point at the centre.
void DrawCircle(DrawSink& sink, const HullCircle& circle, int segments);

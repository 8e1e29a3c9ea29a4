#pragma once

// A sink for benchmarks: keeps nothing, only sums what it is given so the
// drawing code cannot be optimised away.
#include "DrawSink.h"

class SummingDrawSink : public DrawSink {
public:
    void Begin(Primitive) override {}
    void End() override {}
    void Colour(float, float, float) override {}
    void Colour(float, float, float, float) override {}
    void TexCoord(float u, float v) override { sum += u + v; }
    void Vertex(float x, float y) override { sum += x + y; }
    float sum = 0.0f;
};

#pragma once

#include "DrawSink.h"

// The sink that draws: each call is the matching OpenGL immediate-mode call
// on the current context.
class GlDrawSink : public DrawSink {
public:
    void Begin(Primitive primitive) override;
    void End() override;
    void Colour(float r, float g, float b) override;
    void Colour(float r, float g, float b, float a) override;
    void TexCoord(float u, float v) override;
    void Vertex(float x, float y) override;
};

// The one OpenGL sink the game draws through.
DrawSink& GlSink();

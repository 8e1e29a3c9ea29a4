#pragma once

// Where immediate-mode geometry goes: beam quads, glyph quads, fades and the
// like. The game's sink issues the OpenGL calls (GlDrawSink.h); tests record.
// Calls follow the immediate-mode order: Begin, then for each vertex its
// colour and texture coordinate (when they change) before its position, End.
class DrawSink {
public:
    enum class Primitive { Points, Lines, LineStrip, LineLoop, Triangles, TriangleStrip, TriangleFan, Quads, QuadStrip };

    virtual ~DrawSink() = default;
    virtual void Begin(Primitive primitive) = 0;
    virtual void End() = 0;
    virtual void Colour(float r, float g, float b) = 0;
    virtual void Colour(float r, float g, float b, float a) = 0;
    virtual void TexCoord(float u, float v) = 0;
    virtual void Vertex(float x, float y) = 0;
};

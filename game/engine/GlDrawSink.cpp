#include "GlDrawSink.h"

#include <GL/gl.h>

namespace {

GLenum ToGl(DrawSink::Primitive primitive)
{
    switch (primitive) {
    case DrawSink::Primitive::Points: return GL_POINTS;
    case DrawSink::Primitive::Lines: return GL_LINES;
    case DrawSink::Primitive::LineStrip: return GL_LINE_STRIP;
    case DrawSink::Primitive::LineLoop: return GL_LINE_LOOP;
    case DrawSink::Primitive::Triangles: return GL_TRIANGLES;
    case DrawSink::Primitive::TriangleStrip: return GL_TRIANGLE_STRIP;
    case DrawSink::Primitive::TriangleFan: return GL_TRIANGLE_FAN;
    case DrawSink::Primitive::Quads: return GL_QUADS;
    case DrawSink::Primitive::QuadStrip: return GL_QUAD_STRIP;
    }
    return GL_POINTS;
}

} // namespace

void GlDrawSink::Begin(Primitive primitive) { glBegin(ToGl(primitive)); }
void GlDrawSink::End() { glEnd(); }
void GlDrawSink::Colour(float r, float g, float b) { glColor3f(r, g, b); }
void GlDrawSink::Colour(float r, float g, float b, float a) { glColor4f(r, g, b, a); }
void GlDrawSink::TexCoord(float u, float v) { glTexCoord2f(u, v); }
void GlDrawSink::Vertex(float x, float y) { glVertex2f(x, y); }

DrawSink& GlSink()
{
    static GlDrawSink sink;
    return sink;
}

#include "BeamDraw.h"

namespace {

void Emit(DrawSink& sink, const Beam& beam, Rgb colourA, Rgb colourB)
{
    const Vec2 n = beam.normal * kBeamHalfWidth;
    const Vec2 d = beam.direction * kBeamHalfWidth;
    const Vec2 a = beam.a;
    const Vec2 b = beam.b;

    auto vertex = [&sink](float u, float v, Vec2 p) {
        sink.TexCoord(u, v);
        sink.Vertex(p.x, p.y);
    };

    sink.Colour(colourA.r, colourA.g, colourA.b);
    // Start cap.
    vertex(0.0f, 0.0f, a - d + n);
    vertex(0.0f, 1.0f, a - d - n);
    vertex(0.5f, 1.0f, a - n);
    vertex(0.5f, 0.0f, a + n);
    // Body: the gradient from A to B.
    vertex(0.5f, 1.0f, a - n);
    vertex(0.5f, 0.0f, a + n);
    sink.Colour(colourB.r, colourB.g, colourB.b);
    vertex(0.5f, 0.0f, b + n);
    vertex(0.5f, 1.0f, b - n);
    // End cap.
    vertex(0.5f, 0.0f, b + n);
    vertex(0.5f, 1.0f, b - n);
    vertex(1.0f, 1.0f, b + d - n);
    vertex(1.0f, 0.0f, b + d + n);
}

Rgb Scaled(Rgb c, float r, float g, float b)
{
    return Rgb{c.r * r, c.g * g, c.b * b};
}

template <typename EmitOne>
void DrawBatch(DrawSink& sink, const std::vector<Beam>& beams, bool mirror, EmitOne emitOne)
{
    sink.Begin(DrawSink::Primitive::Quads);
    for (const Beam& beam : beams)
        emitOne(mirror ? MirrorBeam(beam) : beam);
    sink.End();
}

} // namespace

Beam MirrorBeam(const Beam& beam)
{
    Beam mirrored = beam;
    mirrored.a.x = -beam.a.x;
    mirrored.b.x = -beam.b.x;
    mirrored.normal.x = -beam.normal.x;
    mirrored.direction.x = -beam.direction.x;
    return mirrored;
}

void EmitBeamQuads(DrawSink& sink, const Beam& beam)
{
    Emit(sink, beam, beam.colourA, beam.colourB);
}

void EmitBeamQuadsFaded(DrawSink& sink, const Beam& beam, float factor)
{
    Emit(sink, beam, Scaled(beam.colourA, factor, factor, factor),
         Scaled(beam.colourB, factor, factor, factor));
}

void EmitBeamQuadsTinted(DrawSink& sink, const Beam& beam, float r, float g, float b)
{
    Emit(sink, beam, Scaled(beam.colourA, r, g, b), Scaled(beam.colourB, r, g, b));
}

void DrawObject(DrawSink& sink, const std::vector<Beam>& beams, bool mirror)
{
    DrawBatch(sink, beams, mirror, [&sink](const Beam& beam) { EmitBeamQuads(sink, beam); });
}

void DrawObjectFaded(DrawSink& sink, const std::vector<Beam>& beams, bool mirror, float factor)
{
    DrawBatch(sink, beams, mirror,
              [&sink, factor](const Beam& beam) { EmitBeamQuadsFaded(sink, beam, factor); });
}

void DrawObjectTinted(DrawSink& sink, const std::vector<Beam>& beams, bool mirror, float r, float g,
                      float b)
{
    DrawBatch(sink, beams, mirror,
              [&sink, r, g, b](const Beam& beam) { EmitBeamQuadsTinted(sink, beam, r, g, b); });
}

#include "Ribbons.h"

#include "DrawSink.h"
#include "MathUtil.h"
#include "ParticleList.h"

void Ribbon::Draw(DrawSink& sink, float alpha) const
{
    if (particles.size() < 2)
        return;
    sink.Begin(DrawSink::Primitive::QuadStrip);
    for (const TrailPoint& p : particles) {
        const float w = Lerp(p.width, p.previousWidth, alpha);
        sink.Colour(p.colour[0], p.colour[1], p.colour[2]);
        sink.TexCoord(0.0f, 0.5f);
        sink.Vertex(p.position.x - w * p.normal.x, p.position.y - w * p.normal.y);
        sink.TexCoord(1.0f, 0.5f);
        sink.Vertex(p.position.x + w * p.normal.x, p.position.y + w * p.normal.y);
    }
    sink.End();
}

void DrawRibbons(const ParticleList& list, DrawSink& sink, float alpha)
{
    list.Draw(sink, alpha);
}

void ClearRibbons(ParticleList& list)
{
    list.Clear();
}

#include "ParticleKind.h"

#include "DrawSink.h"
#include "MathUtil.h"

void ParticleKind::Draw(DrawSink& sink, float alpha) const
{
    for (const Particle& p : particles) {
        const Vec2 c = Lerp2(p.position, p.previousPosition, alpha);
        const float s = p.size;
        sink.Colour(p.colour[0], p.colour[1], p.colour[2]);
        sink.TexCoord(0.0f, 0.0f);
        sink.Vertex(c.x - s, c.y - s);
        sink.TexCoord(1.0f, 0.0f);
        sink.Vertex(c.x + s, c.y - s);
        sink.TexCoord(1.0f, 1.0f);
        sink.Vertex(c.x + s, c.y + s);
        sink.TexCoord(0.0f, 1.0f);
        sink.Vertex(c.x - s, c.y + s);
    }
}

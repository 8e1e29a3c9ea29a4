#include "ParticleKind.h"

#include "DrawSink.h"
#include "MathUtil.h"
#include "ParticleFan.h"
#include "Random.h"

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

void ParticleKind::EmitFan(float x, float y, float a, float b, std::int32_t count, const Fan& fan, float lifeSpan,
                           const float (&colour)[3])
{
    for (std::int32_t i = 0; i < count; ++i) {
        const Vec2 v = ParticleFan(a, b, fan.sSpan, fan.sLow, fan.tSpan, fan.tLow);
        Particle p = Born(x, y, RandomFloat(lifeSpan) + 1.0f, 8.0f);
        p.velocity = v;
        SetColour(p, colour[0], colour[1], colour[2]);
        particles.push_back(p);
    }
}

void ParticleKind::EmitDrift(float x, float y, std::int32_t count, float size, const float (&colour)[3])
{
    for (std::int32_t i = 0; i < count; ++i) {
        const float vx = RandomFloat(2.0f) - 1.0f;
        const float vy = RandomFloat(2.0f) - 1.0f;
        Particle p = Born(x, y, RandomFloat(1.0f) + 1.0f, size);
        p.velocity = {vx, vy};
        SetColour(p, colour[0], colour[1], colour[2]);
        particles.push_back(p);
    }
}

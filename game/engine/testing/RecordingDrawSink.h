#pragma once

#include "DrawSink.h"

#include <vector>

// Records what the code under test draws: every vertex with the colour and
// texture coordinate current when it was issued, and the batches around them.
class RecordingDrawSink : public DrawSink {
public:
    struct RecordedVertex {
        float x, y;
        float u, v;
        float r, g, b, a;
    };
    struct Batch {
        Primitive primitive;
        std::vector<RecordedVertex> vertices;
        bool ended = false;
    };

    void Begin(Primitive primitive) override { batches.push_back(Batch{primitive, {}, false}); }
    void End() override
    {
        if (!batches.empty())
            batches.back().ended = true;
        ++ends;
    }
    void Colour(float r, float g, float b) override { Colour(r, g, b, 1.0f); }
    void Colour(float r, float g, float b, float a) override
    {
        colour[0] = r;
        colour[1] = g;
        colour[2] = b;
        colour[3] = a;
        ++colourChanges;
    }
    void TexCoord(float u, float v) override
    {
        texCoord[0] = u;
        texCoord[1] = v;
    }
    void Vertex(float x, float y) override
    {
        RecordedVertex vertex{x, y, texCoord[0], texCoord[1], colour[0], colour[1], colour[2], colour[3]};
        vertices.push_back(vertex);
        if (!batches.empty() && !batches.back().ended)
            batches.back().vertices.push_back(vertex);
    }

    std::vector<RecordedVertex> vertices; // every vertex, inside a batch or not
    std::vector<Batch> batches;
    int ends = 0;
    int colourChanges = 0;

private:
    float colour[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    float texCoord[2] = {0.0f, 0.0f};
};

#pragma once

#include "Beam.h"
#include "DrawSink.h"

#include <vector>

// Half the width of a drawn beam and the length of each end cap.
constexpr float kBeamHalfWidth = 16.0f;

// The twelve vertices of one beam as three textured quads (start cap, body,
// end cap) into a quad batch the caller has begun. The left half of the beam
// texture shapes the start, the right half the end, its middle column is
// stretched along the body; colour A is set before the first vertex and
// colour B before the seventh.
void EmitBeamQuads(DrawSink& sink, const Beam& beam);
// Both colours multiplied by the factor.
void EmitBeamQuadsFaded(DrawSink& sink, const Beam& beam, float factor);
// Both colours multiplied component-wise by (r, g, b).
void EmitBeamQuadsTinted(DrawSink& sink, const Beam& beam, float r, float g, float b);

// One quad batch of every beam in list order. With mirror set each beam is
// drawn from a copy with the x of A, B, normal and direction negated. No
// texture, blend mode or matrix is set here: the caller has positioned the
// model and bound the beam texture with additive blending.
void DrawObject(DrawSink& sink, const std::vector<Beam>& beams, bool mirror);
void DrawObjectFaded(DrawSink& sink, const std::vector<Beam>& beams, bool mirror, float factor);
void DrawObjectTinted(DrawSink& sink, const std::vector<Beam>& beams, bool mirror, float r, float g,
                      float b);

// The beam mirrored about the vertical axis through the model's origin.
Beam MirrorBeam(const Beam& beam);

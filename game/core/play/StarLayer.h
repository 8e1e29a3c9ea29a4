#pragma once

#include "Vec2.h"

// Three parallax layers of twinkling stars behind a level.
constexpr int kStarLayerCount = 3;
constexpr int kStarsPerLayer = 40;

// The parallax factor of a layer: 1.0, 0.5, 0.25 (0 for another number).
float StarLayerFactor(int layer);

// One star of a layer. Its x and y are in its layer's space, which is drawn
// shifted by the parallax offset times the layer's factor.
struct Star {
    float x = 0.0f;
    float y = 0.0f;
    float t = 0.0f; // brightness phase: rises 0 -> 1, then holds a 1..3 s countdown
    bool brightening = true;
    int layer = 0;

    // A new place that lands between -100 and 1099 across the view whatever
    // the parallax offset; brightens again from 0.
    void Reset(Vec2 parallax);
    // One tick of step seconds.
    void Update(float step, Vec2 parallax);
    // The same against the running game's parallax offset and step.
    void Reset();
    void Update();
};

// The star pass: Update, and false (stars are never removed).
bool UpdateStar(Star& star);

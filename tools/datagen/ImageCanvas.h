// A small float RGB canvas for the generated pictures: glowing segments
// (the look of the game's beams) added up, then cut to bytes.
#pragma once

#include "Vec2.h"

#include <cstdint>
#include <vector>

namespace datagen {

struct Colour {
    float r = 0, g = 0, b = 0;
};

class ImageCanvas {
public:
    ImageCanvas(int width, int height);

    int Width() const { return width_; }
    int Height() const { return height_; }

    // Adds a segment glowing with a core of `core` pixels and a soft halo of
    // `halo` pixels, its colour running from ca at a to cb at b.
    void AddGlowSegment(Vec2 a, Vec2 b, Colour ca, Colour cb, float core, float halo);
    // Adds one pixel's worth of colour (clipped).
    void AddPixel(int x, int y, Colour c);

    // Top row first, 3 bytes a pixel (R, G, B), each channel clamped to 0..1.
    std::vector<std::uint8_t> ToRgb() const;

private:
    int width_;
    int height_;
    std::vector<Colour> pixels_;
};

}  // namespace datagen

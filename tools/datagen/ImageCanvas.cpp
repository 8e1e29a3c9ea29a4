#include "ImageCanvas.h"

#include <algorithm>
#include <cmath>

namespace datagen {

ImageCanvas::ImageCanvas(int width, int height)
    : width_(width), height_(height), pixels_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
{
}

void ImageCanvas::AddPixel(int x, int y, Colour c)
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    Colour& p = pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)];
    p.r += c.r;
    p.g += c.g;
    p.b += c.b;
}

void ImageCanvas::AddGlowSegment(Vec2 a, Vec2 b, Colour ca, Colour cb, float core, float halo)
{
    const float reach = core + halo;
    const int x0 = static_cast<int>(std::floor(std::min(a.x, b.x) - reach));
    const int x1 = static_cast<int>(std::ceil(std::max(a.x, b.x) + reach));
    const int y0 = static_cast<int>(std::floor(std::min(a.y, b.y) - reach));
    const int y1 = static_cast<int>(std::ceil(std::max(a.y, b.y) + reach));
    const Vec2 d = b - a;
    const float lengthSquared = Dot(d, d);
    for (int y = std::max(y0, 0); y <= std::min(y1, height_ - 1); ++y) {
        for (int x = std::max(x0, 0); x <= std::min(x1, width_ - 1); ++x) {
            const Vec2 p{static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f};
            float t = lengthSquared > 0 ? Dot(p - a, d) / lengthSquared : 0.0f;
            t = std::clamp(t, 0.0f, 1.0f);
            const Vec2 q = a + d * t;
            const float dist = std::sqrt(Dot(p - q, p - q));
            float k;
            if (dist <= core) {
                k = 1.0f;
            } else if (dist < reach) {
                const float f = 1.0f - (dist - core) / halo;
                k = 0.6f * f * f;
            } else {
                continue;
            }
            const Colour c{ca.r + (cb.r - ca.r) * t, ca.g + (cb.g - ca.g) * t, ca.b + (cb.b - ca.b) * t};
            AddPixel(x, y, Colour{c.r * k, c.g * k, c.b * k});
        }
    }
}

std::vector<std::uint8_t> ImageCanvas::ToRgb() const
{
    std::vector<std::uint8_t> out;
    out.reserve(pixels_.size() * 3);
    const auto byte = [](float v) { return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f)); };
    for (const Colour& p : pixels_) {
        out.push_back(byte(p.r));
        out.push_back(byte(p.g));
        out.push_back(byte(p.b));
    }
    return out;
}

}  // namespace datagen

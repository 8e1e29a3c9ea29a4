// The six textures of "Data/Gfx", drawn procedurally.
#include "Steps.h"

#include "ImageFiles.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

namespace datagen {
namespace {

struct Rgba {
    float r = 0, g = 0, b = 0, a = 0;
};

using Shader = std::function<Rgba(float x, float y)>;  // pixel centre, in texels

std::vector<std::uint8_t> Render(int width, int height, const Shader& shader)
{
    std::vector<std::uint8_t> out;
    out.reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
    const auto byte = [](float v) { return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f)); };
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Rgba p = shader(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f);
            out.push_back(byte(p.r));
            out.push_back(byte(p.g));
            out.push_back(byte(p.b));
            out.push_back(byte(p.a));
        }
    }
    return out;
}

// The glow of every beam, star and particle, drawn additively: a thin white
// core with a faint halo, black at the rim. A beam's quad is 32 units wide,
// so the core is kept to a few units for models of 10 to 50 units to read
// as lines. Its middle column is the beam's cross-section; its halves are
// the two round caps.
Rgba BeamParticle(float x, float y)
{
    const float r = std::hypot(x - 64.0f, y - 64.0f) / 64.0f;
    if (r >= 1.0f) return {};
    const float core = std::exp(-(r * r) / (0.055f * 0.055f));
    const float halo = 0.22f * std::pow(1.0f - r, 4.0f);
    const float v = std::min(1.0f, core + halo);
    return {v, v, v, v};
}

float SegmentDistance(float px, float py, float ax, float ay, float bx, float by)
{
    const float dx = bx - ax, dy = by - ay;
    float t = ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy);
    t = std::clamp(t, 0.0f, 1.0f);
    return std::hypot(px - (ax + t * dx), py - (ay + t * dy));
}

// Mouse pointer, tip at the top-left corner; black reads as transparent
// because it is drawn additively.
Rgba Cursor(float x, float y)
{
    static const float kArrow[][2] = {{1.5f, 1.5f}, {1.5f, 24}, {7, 18.5f}, {11, 28}, {15, 26},
                                      {11.5f, 17}, {19.5f, 17}};
    constexpr int n = 7;
    bool inside = false;
    float edge = 1e9f;
    for (int i = 0, j = n - 1; i < n; j = i++) {
        const float xi = kArrow[i][0], yi = kArrow[i][1], xj = kArrow[j][0], yj = kArrow[j][1];
        if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) inside = !inside;
        edge = std::min(edge, SegmentDistance(x, y, xi, yi, xj, yj));
    }
    const float outline = std::clamp(1.6f - edge, 0.0f, 1.0f);
    const float glow = std::clamp(1.0f - edge / 3.0f, 0.0f, 1.0f) * 0.35f;
    float r = std::max(outline, glow * 0.4f), g = std::max(outline, glow), b = std::max(outline, glow);
    if (inside) {
        r = std::max(r, 0.1f);
        g = std::max(g, 0.35f);
        b = std::max(b, 0.45f);
    }
    return {r, g, b, std::max({r, g, b})};
}

// The radar's frame: drawn as a left cap (u 0..0.25), the middle column
// (u 0.5) stretched, and a right cap (u 0.75..1); a dark glass inside.
Rgba HudRadar(float x, float y)
{
    const Rgba border{0.4f, 0.9f, 1.0f, 1.0f};
    const Rgba glass{0.0f, 0.08f, 0.15f, 0.45f};
    const bool topOrBottom = y < 3 || y > 61;
    if (x < 16) return (x < 7 || topOrBottom) ? border : glass;
    if (x >= 48) return (x > 57 || topOrBottom) ? border : glass;
    return topOrBottom ? border : glass;
}

// A HUD bar (damage, fuel, spare): the lower half is the frame, drawn as a
// left cap (u 0..0.25), a stretched body (u 0.25..0.75) and a right cap
// (u 0.75..1); the upper half's body is the fill, stretched to the level.
Shader HudBar(Rgba fillTop, Rgba fillBottom)
{
    return [fillTop, fillBottom](float x, float y) -> Rgba {
        const Rgba frame{0.85f, 0.9f, 1.0f, 1.0f};
        const Rgba inside{0.02f, 0.02f, 0.05f, 0.45f};
        if (y < 32) {
            // Fill, inside the frame's 3-texel border.
            if (x < 16 || x >= 48 || y < 3 || y > 29) return {};
            const float t = (y - 3) / 26.0f;
            const float shine = 1.0f - 0.5f * std::abs(t - 0.3f);
            return {(fillTop.r + (fillBottom.r - fillTop.r) * t) * shine,
                    (fillTop.g + (fillBottom.g - fillTop.g) * t) * shine,
                    (fillTop.b + (fillBottom.b - fillTop.b) * t) * shine, 1.0f};
        }
        const float fy = y - 48.0f;  // the frame's half is 32 high, its middle at 48
        if (x >= 16 && x < 48) return (std::abs(fy) > 13) ? frame : inside;
        // Round caps: a half disc of radius 16 on each side.
        const float cx = x < 16 ? 16.0f : 48.0f;
        const float r = std::hypot(x - cx, fy);
        if (r > 16.0f) return {};
        return r > 13.0f ? frame : inside;
    };
}

struct TextureJob {
    const char* name;
    int width;
    int height;
    Shader shader;
};

}  // namespace

bool GenerateTextures(const Paths& paths)
{
    const auto dir = paths.out / "Data" / "Gfx";
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    const TextureJob jobs[] = {
        {"BeamParticle", 128, 128, BeamParticle},
        {"Cursor", 32, 32, Cursor},
        {"HUD_radar", 64, 64, HudRadar},
        {"shield", 64, 64, HudBar({0.5f, 0.85f, 1.0f, 1}, {0.1f, 0.35f, 1.0f, 1})},
        {"fuel", 64, 64, HudBar({1.0f, 0.95f, 0.4f, 1}, {1.0f, 0.5f, 0.0f, 1})},
        {"HUDBar", 64, 64, HudBar({0.9f, 0.9f, 0.9f, 1}, {0.5f, 0.5f, 0.55f, 1})},
    };
    for (const TextureJob& job : jobs) {
        const auto path = dir / (std::string(job.name) + ".png");
        if (!SaveRgbaImage(path.string(), ImageFormat::Png, job.width, job.height, Render(job.width, job.height, job.shader)))
            return false;
    }
    return true;
}

}  // namespace datagen

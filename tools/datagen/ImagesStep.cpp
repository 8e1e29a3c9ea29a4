// "icon.bmp" (32 x 32) and "splash.bmp" (300 x 140), 24-bit Windows
// bitmaps drawn from the ship's model source with the beams' glow.
#include "Steps.h"

#include "ImageCanvas.h"
#include "ImageFiles.h"
#include "ModelSource.h"
#include "ModelStrokeFont.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace datagen {
namespace {

bool LoadModelSource(const Paths& paths, const char* name, ModelSource& model)
{
    const auto path = paths.source / "models" / (std::string(name) + ".model");
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    std::string error;
    if (!in || !ParseModelSource(text.str(), path.filename().string(), path.parent_path(), model, error)) {
        std::fprintf(stderr, "cannot draw %s: %s\n", path.string().c_str(), error.c_str());
        return false;
    }
    return true;
}

void DrawModel(ImageCanvas& canvas, const ModelSource& model, Vec2 at, float scale, float core, float halo)
{
    for (const Beam& beam : model.beams) {
        canvas.AddGlowSegment(at + beam.a * scale, at + beam.b * scale,
                              Colour{beam.colourA.r, beam.colourA.g, beam.colourA.b},
                              Colour{beam.colourB.r, beam.colourB.g, beam.colourB.b}, core, halo);
    }
}

void DrawWord(ImageCanvas& canvas, const std::string& word, Vec2 at, float height, Colour left, Colour right)
{
    const float unit = height / 6;
    const float width = (6.0f * static_cast<float>(word.size()) - 2) * unit;
    float pen = at.x;
    for (char c : word) {
        for (const Stroke& stroke : StrokesOf(c)) {
            for (std::size_t i = 0; i + 1 < stroke.size(); ++i) {
                const Vec2 a{pen + stroke[i].x * unit, at.y + stroke[i].y * unit};
                const Vec2 b{pen + stroke[i + 1].x * unit, at.y + stroke[i + 1].y * unit};
                const auto mix = [&](float x) {
                    const float t = (x - at.x) / width;
                    return Colour{left.r + (right.r - left.r) * t, left.g + (right.g - left.g) * t,
                                  left.b + (right.b - left.b) * t};
                };
                canvas.AddGlowSegment(a, b, mix(a.x), mix(b.x), 0.9f, 2.5f);
            }
        }
        pen += 6 * unit;
    }
}

}  // namespace

bool GenerateImages(const Paths& paths)
{
    ModelSource ship;
    if (!LoadModelSource(paths, "Player", ship)) return false;

    ImageCanvas icon(32, 32);
    DrawModel(icon, ship, Vec2{16, 15.5f}, 0.27f, 0.55f, 1.6f);
    if (!WriteFileBytes((paths.out / "icon.bmp").string(), EncodeBmp24(32, 32, icon.ToRgb()))) return false;

    ImageCanvas splash(300, 140);
    // Night sky: a faint blue rise toward the horizon and fixed stars.
    for (int y = 0; y < 140; ++y)
        for (int x = 0; x < 300; ++x) splash.AddPixel(x, y, Colour{0, 0.01f, 0.04f + 0.08f * static_cast<float>(y) / 140});
    std::uint32_t seed = 12345;
    const auto next = [&seed]() {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) & 0xffff;
    };
    for (int i = 0; i < 90; ++i) {
        const int x = static_cast<int>(next() % 300), y = static_cast<int>(next() % 110);
        const float v = 0.25f + static_cast<float>(next() % 100) / 140.0f;
        splash.AddPixel(x, y, Colour{v, v, v});
    }
    // Mountains along the bottom, a landing pad, the ship above it.
    const Vec2 ridge[] = {{0, 126}, {30, 110}, {58, 122}, {80, 122}, {104, 98}, {130, 118},
                          {170, 104}, {200, 124}, {236, 92}, {262, 116}, {300, 106}};
    for (std::size_t i = 0; i + 1 < sizeof(ridge) / sizeof(ridge[0]); ++i)
        splash.AddGlowSegment(ridge[i], ridge[i + 1], Colour{0.2f, 0.9f, 0.3f}, Colour{0.1f, 0.6f, 0.9f}, 0.7f, 2.5f);
    splash.AddGlowSegment(Vec2{58, 122}, Vec2{80, 122}, Colour{1, 0.8f, 0.2f}, Colour{1, 0.8f, 0.2f}, 0.9f, 2.5f);
    DrawModel(splash, ship, Vec2{69, 110}, 0.25f, 0.6f, 2.0f);  // feet on the pad
    DrawWord(splash, "ZELVORANT", Vec2{34, 22}, 22, Colour{0.3f, 0.8f, 1}, Colour{1, 0.3f, 1});
    DrawWord(splash, "2", Vec2{236, 16}, 34, Colour{1, 0.8f, 0.2f}, Colour{1, 0.4f, 0.1f});
    return WriteFileBytes((paths.out / "splash.bmp").string(), EncodeBmp24(300, 140, splash.ToRgb()));
}

}  // namespace datagen

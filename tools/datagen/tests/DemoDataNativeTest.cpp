// The generated models, textures, font sheets, icon and splash picture, read
// back through the game's own model loader, DevIL and SDL.
#include "../ModelNames.h"
#include "GlyphMetrics.h"
#include "Log.h"
#include "ModelFile.h"

#include <IL/il.h>
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string kData = ZELV_DEMO_DATA_DIR;

struct LoadedModel {
    std::vector<Beam> beams;
    std::vector<HullCircle> circles;
};

bool LoadModel(const std::string& name, LoadedModel& model)
{
    std::ostringstream console;
    Log log(kData + "/model-test-log-unused.txt", console);  // never enabled: writes nothing
    return LoadObjectModelFile(model.beams, model.circles, kData + "/Data/Objects/" + name + ".obj", name, log);
}

// Models whose own circle list the game discards or overwrites: the flying
// pose, the leg, the two titles, and the first model of each shared pair.
const std::set<std::string> kNoOwnHull = {"Player_Fly", "Player_Leg", "game_over", "hiscores",
                                          "EnemyBullet01", "RedShield", "Station"};

TEST(DemoDataModelsTest, EveryModelLoadsWithUnitDirectionsNormalsAndItsHull)
{
    for (const auto& entry : datagen::kModelNames) {
        SCOPED_TRACE(entry.name);
        LoadedModel model;
        ASSERT_TRUE(LoadModel(entry.name, model));
        EXPECT_FALSE(model.beams.empty());
        float minX = 1e9f, maxX = -1e9f, minY = 1e9f, maxY = -1e9f;
        for (const Beam& beam : model.beams) {
            const float dx = beam.b.x - beam.a.x, dy = beam.b.y - beam.a.y;
            const float length = std::hypot(dx, dy);
            ASSERT_GT(length, 0.0f);
            EXPECT_NEAR(beam.direction.x, dx / length, 1e-5f);
            EXPECT_NEAR(beam.direction.y, dy / length, 1e-5f);
            EXPECT_NEAR(beam.normal.x, beam.direction.y, 1e-6f);
            EXPECT_NEAR(beam.normal.y, -beam.direction.x, 1e-6f);
            for (float c : {beam.colourA.r, beam.colourA.g, beam.colourA.b, beam.colourB.r, beam.colourB.g, beam.colourB.b}) {
                EXPECT_GE(c, 0.0f);
                EXPECT_LE(c, 1.0f);
            }
            EXPECT_GT(std::max({beam.colourA.r, beam.colourA.g, beam.colourA.b}), 0.05f) << "an invisible beam";
            minX = std::min({minX, beam.a.x, beam.b.x});
            maxX = std::max({maxX, beam.a.x, beam.b.x});
            minY = std::min({minY, beam.a.y, beam.b.y});
            maxY = std::max({maxY, beam.a.y, beam.b.y});
        }
        // Authored in file units: the world size (file size x scale) is that
        // of a game object, between a shot and a title word.
        const float worldSize = std::max(maxX - minX, maxY - minY) * entry.scale;
        EXPECT_GE(worldSize, 5.0f);
        EXPECT_LE(worldSize, 480.0f);
        if (kNoOwnHull.count(entry.name) == 0) {
            EXPECT_FALSE(model.circles.empty()) << "an actor that collides needs a hull";
        }
        for (const HullCircle& c : model.circles) {
            EXPECT_GT(c.radius, 0.0f);
            // Hull circles sit on the model where the game places them: at
            // angle 0 the centre is the position plus (-offset x, offset y).
            EXPECT_GE(-c.offsetX, minX - c.radius);
            EXPECT_LE(-c.offsetX, maxX + c.radius);
            EXPECT_GE(c.offsetY, minY - c.radius);
            EXPECT_LE(c.offsetY, maxY + c.radius);
        }
    }
}

TEST(DemoDataModelsTest, SharedHullListsLiveInTheModelLoadedSecond)
{
    for (auto pair : {std::make_pair("EnemyBullet01", "EnemyBullet02"), std::make_pair("RedShield", "PlayerShield"),
                      std::make_pair("Station", "Station2")}) {
        SCOPED_TRACE(pair.second);
        LoadedModel first, second;
        ASSERT_TRUE(LoadModel(pair.first, first));
        ASSERT_TRUE(LoadModel(pair.second, second));
        EXPECT_FALSE(second.circles.empty());
        EXPECT_NE(first.circles.size(), second.circles.size()) << "a test could not tell which list survived";
    }
}

TEST(DemoDataModelsTest, ShipHullReachesTheGroundItLandsOn)
{
    // A landed ship stands 13 world units above its beam, its feet at +-14;
    // the hull must touch the beam for the landing to be found at all.
    LoadedModel ship;
    ASSERT_TRUE(LoadModel("Player", ship));
    float lowest = -1e9f;
    for (const HullCircle& c : ship.circles) lowest = std::max(lowest, (c.offsetY + c.radius) * 0.275f);
    EXPECT_GE(lowest, 13.0f);
    EXPECT_LE(lowest, 17.0f);  // the foot circles reach 17: deeper would scrape first
    float feet = -1e9f;
    for (const Beam& b : ship.beams) feet = std::max({feet, b.a.y * 0.275f, b.b.y * 0.275f});
    EXPECT_NEAR(feet, 13.0f, 1.0f);
}

TEST(DemoDataModelsTest, GroundActorsStandOnTheirBaseWithTheHullAboveTheGround)
{
    // Maps place these at a point on a floor beam: the model's lowest point is
    // its base at y 0, and the hull must not dig into the ground (it would
    // push a ship landing beside it).
    for (const auto& entry : datagen::kModelNames) {
        const std::string name = entry.name;
        const bool standing = name.find("Turret") != std::string::npos || name.rfind("BlueTank", 0) == 0 ||
                              name.rfind("Scientist", 0) == 0 || name.rfind("Tree", 0) == 0 ||
                              name.rfind("CheckPoint", 0) == 0 || name.rfind("Button", 0) == 0 ||
                              name.rfind("Station", 0) == 0 ||
                              (name == "FuelPod" || name == "Generator" || name == "ParticleEmitter" || name == "Flea");
        if (!standing) continue;
        SCOPED_TRACE(name);
        LoadedModel model;
        ASSERT_TRUE(LoadModel(name, model));
        float lowest = -1e9f;
        for (const Beam& b : model.beams) lowest = std::max({lowest, b.a.y, b.b.y});
        EXPECT_NEAR(lowest, 0.0f, 0.01f);
        for (const HullCircle& c : model.circles) EXPECT_LE((c.offsetY + c.radius) * entry.scale, 2.0f);
    }
}

struct Image {
    int width = 0;
    int height = 0;
    int bytesPerPixel = 0;
    ILenum format = 0;
    std::vector<unsigned char> pixels;  // top row first

    const unsigned char* At(int x, int y) const
    {
        return &pixels[(static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)) *
                       static_cast<std::size_t>(bytesPerPixel)];
    }
};

bool LoadWithDevil(const std::string& path, Image& image)
{
    static bool started = false;
    if (!started) {
        ilInit();
        ilEnable(IL_ORIGIN_SET);
        ilOriginFunc(IL_ORIGIN_UPPER_LEFT);  // as the font loader reads its sheets
        started = true;
    }
    ILuint name = 0;
    ilGenImages(1, &name);
    ilBindImage(name);
    const bool ok = ilLoadImage(path.c_str()) == IL_TRUE;
    if (ok) {
        image.width = ilGetInteger(IL_IMAGE_WIDTH);
        image.height = ilGetInteger(IL_IMAGE_HEIGHT);
        image.bytesPerPixel = ilGetInteger(IL_IMAGE_BYTES_PER_PIXEL);
        image.format = static_cast<ILenum>(ilGetInteger(IL_IMAGE_FORMAT));
        const ILubyte* data = ilGetData();
        image.pixels.assign(data, data + static_cast<std::size_t>(image.width) * image.height * image.bytesPerPixel);
    }
    ilDeleteImages(1, &name);
    return ok;
}

TEST(DemoDataTexturesTest, EveryTextureLoadsAsRgbaOfItsSize)
{
    const struct {
        const char* name;
        int size;
    } textures[] = {{"BeamParticle", 128}, {"Cursor", 32}, {"HUD_radar", 64}, {"shield", 64}, {"fuel", 64}, {"HUDBar", 64}};
    for (const auto& t : textures) {
        SCOPED_TRACE(t.name);
        Image image;
        ASSERT_TRUE(LoadWithDevil(kData + "/Data/Gfx/" + t.name + ".png", image));
        EXPECT_EQ(image.width, t.size);
        EXPECT_EQ(image.height, t.size);
        EXPECT_EQ(image.bytesPerPixel, 4);
    }
}

TEST(DemoDataTexturesTest, BeamGlowIsBrightInTheMiddleAndBlackAtEveryEdge)
{
    Image glow;
    ASSERT_TRUE(LoadWithDevil(kData + "/Data/Gfx/BeamParticle.png", glow));
    ASSERT_EQ(glow.bytesPerPixel, 4);
    const int size = glow.width, mid = size / 2;
    ASSERT_EQ(glow.height, size);
    // The middle column is the beam's cross-section: a bright core that falls
    // off toward both edges, symmetric.
    EXPECT_GT(glow.At(mid, mid)[0], 200);
    EXPECT_GT(glow.At(mid, mid)[0], glow.At(mid, mid - size / 16)[0]);
    EXPECT_GT(glow.At(mid, mid - size / 16)[0], glow.At(mid, mid - size / 4)[0]);
    EXPECT_GT(glow.At(mid, mid - size / 4)[0], glow.At(mid, size / 16)[0]);
    // A thin core: a quarter of the way out it is already dim.
    EXPECT_LT(glow.At(mid, mid - size / 8)[0], 100);
    for (int i = 0; i < size; ++i) {
        for (const unsigned char* edge : {glow.At(i, 0), glow.At(i, size - 1), glow.At(0, i), glow.At(size - 1, i)}) {
            EXPECT_LT(edge[0] + edge[1] + edge[2], 6) << "a drawn quad would show its edge";
        }
        EXPECT_EQ(glow.At(mid, i)[0], glow.At(mid, size - 1 - i)[0]) << "the cross-section is symmetric";
    }
}

TEST(DemoDataTexturesTest, HudBarsHoldTheFillAboveAndTheFrameBelow)
{
    for (const char* name : {"shield", "fuel", "HUDBar"}) {
        SCOPED_TRACE(name);
        Image bar;
        ASSERT_TRUE(LoadWithDevil(kData + "/Data/Gfx/" + std::string(name) + ".png", bar));
        ASSERT_EQ(bar.bytesPerPixel, 4);
        // Fill: the body (u 0.25..0.75) of the upper half is opaque, the caps clear.
        EXPECT_EQ(bar.At(32, 16)[3], 255);
        EXPECT_EQ(bar.At(4, 16)[3], 0);
        EXPECT_EQ(bar.At(60, 16)[3], 0);
        // Frame: its edges opaque, its inside see-through, the caps round.
        EXPECT_EQ(bar.At(32, 33)[3], 255);
        EXPECT_EQ(bar.At(32, 62)[3], 255);
        EXPECT_LT(bar.At(32, 48)[3], 200);
        EXPECT_EQ(bar.At(0, 33)[3], 0);
        EXPECT_EQ(bar.At(63, 63)[3], 0);
        EXPECT_EQ(bar.At(1, 48)[3], 255);
    }
}

// The game's own measure: columns of the cell that hold any alpha above 0.
int InkedColumns(const Image& sheet, int glyph)
{
    return MeasureGlyphs(sheet.pixels.data(), sheet.width, sheet.height)[static_cast<std::size_t>(glyph)];
}

// Rows of a glyph's cell with alpha above 128, first and last (y from the top).
std::pair<int, int> SolidRows(const Image& sheet, int glyph)
{
    const int cx = (glyph % 16) * 32, cy = (glyph / 16) * 32;
    int first = 99, last = -1;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            if (sheet.At(cx + x, cy + y)[3] > 128) {
                first = std::min(first, y);
                last = std::max(last, y);
            }
    return {first, last};
}

TEST(DemoDataFontsTest, GlyphSheetsAreWhiteRgbaWithEveryPrintableGlyphInked)
{
    for (const char* file : {"Fonts.psd", "Fonts2.psd"}) {
        SCOPED_TRACE(file);
        Image sheet;
        ASSERT_TRUE(LoadWithDevil(kData + "/" + file, sheet));
        ASSERT_EQ(sheet.width, 512);
        ASSERT_EQ(sheet.height, 512);
        ASSERT_EQ(sheet.bytesPerPixel, 4);
        EXPECT_EQ(sheet.format, static_cast<ILenum>(IL_RGBA));
        for (int g = 0; g < 256; ++g) {
            const int columns = InkedColumns(sheet, g);
            if (g >= 33 && g <= 126) {
                EXPECT_GE(columns, 3) << "glyph " << g << " would be drawn as a space";
                EXPECT_LE(columns, 31) << "glyph " << g;
            } else {
                EXPECT_EQ(columns, 0) << "glyph " << g << " is never drawn";
            }
        }
        // White ink: the game tints it.
        for (int y = 0; y < 512; ++y) {
            for (int x = 0; x < 512; ++x) {
                if (sheet.At(x, y)[3] > 0) {
                    ASSERT_EQ(sheet.At(x, y)[0] + sheet.At(x, y)[1] + sheet.At(x, y)[2], 765);
                }
            }
        }
        // Upright: an underscore sits low in its cell, a caret high; capitals
        // and digits share one cap height and baseline; 'W' is wider than 'i'.
        EXPECT_GT(SolidRows(sheet, '_').first, 22);
        EXPECT_LT(SolidRows(sheet, '^').second, 14);
        EXPECT_EQ(SolidRows(sheet, 'E'), SolidRows(sheet, 'H'));
        EXPECT_EQ(SolidRows(sheet, 'E').second, SolidRows(sheet, '1').second);
        EXPECT_GT(InkedColumns(sheet, 'W'), InkedColumns(sheet, 'i') + 8);
    }
}

TEST(DemoDataFontsTest, ShadowSheetHoldsDarkSoftGlyphsOnTheSameGrid)
{
    Image glyphs, shadow;
    ASSERT_TRUE(LoadWithDevil(kData + "/Fonts.psd", glyphs));
    ASSERT_TRUE(LoadWithDevil(kData + "/FontShadow.psd", shadow));
    ASSERT_EQ(shadow.width, 512);
    ASSERT_EQ(shadow.height, 512);
    ASSERT_EQ(shadow.bytesPerPixel, 4);
    int soft = 0, solid = 0;
    for (int y = 0; y < 512; ++y)
        for (int x = 0; x < 512; ++x) {
            const unsigned char* p = shadow.At(x, y);
            if (p[3] == 0) continue;
            ASSERT_LT(p[0] + p[1] + p[2], 48) << "the shadow is dark";
            (p[3] < 160 ? soft : solid)++;
        }
    EXPECT_GT(soft, solid) << "a soft shadow is mostly half-transparent edge";
    for (int g = 33; g <= 126; ++g) {
        // Each shadow covers its glyph's inked middle.
        const int cx = (g % 16) * 32, cy = (g / 16) * 32;
        for (int y = 0; y < 31; ++y) {
            for (int x = 0; x < 32; ++x) {
                if (glyphs.At(cx + x, cy + y)[3] > 200) {
                    ASSERT_GT(shadow.At(cx + x, cy + y)[3], 60) << "glyph " << g;
                }
            }
        }
    }
    EXPECT_EQ(InkedColumns(shadow, ' '), 0);
}

TEST(DemoDataImagesTest, IconAndSplashAre24BitBitmapsSdlReads)
{
    const struct {
        const char* file;
        int width, height;
    } images[] = {{"icon.bmp", 32, 32}, {"splash.bmp", 300, 140}};
    for (const auto& i : images) {
        SCOPED_TRACE(i.file);
        SDL_Surface* surface = SDL_LoadBMP((kData + "/" + i.file).c_str());
        ASSERT_NE(surface, nullptr) << SDL_GetError();
        EXPECT_EQ(surface->w, i.width);
        EXPECT_EQ(surface->h, i.height);
        EXPECT_EQ(surface->format->BitsPerPixel, 24);
        // Something is drawn: a good share of the pixels is lit.
        int lit = 0;
        const auto* bytes = static_cast<const unsigned char*>(surface->pixels);
        for (int y = 0; y < surface->h; ++y)
            for (int x = 0; x < surface->w; ++x) {
                const unsigned char* p = bytes + y * surface->pitch + x * 3;
                if (p[0] + p[1] + p[2] > 120) ++lit;
            }
        EXPECT_GT(lit, surface->w * surface->h / 20);
        SDL_FreeSurface(surface);
    }
}

}  // namespace

// The contact sheet of the demo data: every model drawn the way the game
// draws it (beam quads with the beam texture, added up) with its hull
// circles where the game places them, the ship assembled, the three font
// sheets and lines of text through the game's FontSet. Saved as
// "demo-data-contact-sheet.png" next to the data folder. Needs a display
// (the test command runs under Xvfb); skipped without one.
#include "../ModelNames.h"
#include "BeamDraw.h"
#include "FontSet.h"
#include "ImageLibrary.h"
#include "GlDrawSink.h"
#include "Log.h"
#include "ModelFile.h"
#include "ModelTransform.h"

#include "testing/GlReadback.h"
#include <GL/gl.h>
#include <IL/il.h>
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

const std::string kData = ZELV_DEMO_DATA_DIR;
constexpr int kWidth = 1280;
constexpr int kHeight = 1000;
constexpr int kColumns = 8;
constexpr int kCellW = 160;
constexpr int kCellH = 104;

struct Texture {
    GLuint name = 0;
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgba;  // top row first
};

bool LoadTexture(const std::string& path, Texture& texture)
{
    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);
    bool ok = ilLoadImage(path.c_str()) == IL_TRUE && ilConvertImage(IL_RGBA, IL_UNSIGNED_BYTE) == IL_TRUE;
    if (ok) {
        texture.width = ilGetInteger(IL_IMAGE_WIDTH);
        texture.height = ilGetInteger(IL_IMAGE_HEIGHT);
        const ILubyte* data = ilGetData();
        texture.rgba.assign(data, data + static_cast<std::size_t>(texture.width) * texture.height * 4);
        glGenTextures(1, &texture.name);
        glBindTexture(GL_TEXTURE_2D, texture.name);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, texture.width, texture.height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     texture.rgba.data());
    }
    ilDeleteImages(1, &image);
    return ok;
}

void Quad(float x0, float y0, float x1, float y1)
{
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2f(x0, y0);
    glTexCoord2f(1, 0);
    glVertex2f(x1, y0);
    glTexCoord2f(1, 1);
    glVertex2f(x1, y1);
    glTexCoord2f(0, 1);
    glVertex2f(x0, y1);
    glEnd();
}

int LitPixels(const std::vector<unsigned char>& frame, int x0, int y0, int x1, int y1)
{
    int lit = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const unsigned char* p = &frame[(static_cast<std::size_t>(y) * kWidth + static_cast<std::size_t>(x)) * 4];
            if (p[0] + p[1] + p[2] > 90) ++lit;
        }
    return lit;
}

TEST(ContactSheetTest, DrawsEveryModelAndFontSheetAndSavesThePicture)
{
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') GTEST_SKIP() << "no DISPLAY";
    [[maybe_unused]] DriverAllocations untracked;
    bool started = false;
    for (int attempt = 0; attempt < 40 && !started; ++attempt) {
        started = SDL_Init(SDL_INIT_VIDEO | SDL_INIT_NOPARACHUTE) == 0;
        if (!started) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ASSERT_TRUE(started) << SDL_GetError();
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    ASSERT_NE(SDL_SetVideoMode(kWidth, kHeight, 32, SDL_OPENGL), nullptr) << SDL_GetError();
    std::ostringstream console;
    Log log(kData + "/contact-sheet-log-unused.txt", console);  // never enabled
    InitImageLibrary(log);
    ilEnable(IL_ORIGIN_SET);
    ilOriginFunc(IL_ORIGIN_UPPER_LEFT);

    glViewport(0, 0, kWidth, kHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, kWidth, kHeight, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);

    Texture beam, fonts, fonts2, shadow;
    ASSERT_TRUE(LoadTexture(kData + "/Data/Gfx/BeamParticle.png", beam));
    ASSERT_TRUE(LoadTexture(kData + "/Fonts.psd", fonts));
    ASSERT_TRUE(LoadTexture(kData + "/Fonts2.psd", fonts2));
    ASSERT_TRUE(LoadTexture(kData + "/FontShadow.psd", shadow));
    FontSet gameFont, gameFont2;
    ASSERT_TRUE(gameFont.Load(kData + "/Fonts.psd", kData + "/FontShadow.psd", GL_NEAREST, GL_NEAREST, log));
    ASSERT_TRUE(gameFont2.Load(kData + "/Fonts2.psd", kData + "/FontShadow.psd", GL_NEAREST, GL_NEAREST, log));
    FontSet labels;
    ASSERT_TRUE(labels.Load(kData + "/Fonts.psd", kData + "/FontShadow.psd", GL_NEAREST, GL_NEAREST, log));
    labels.DisableShadow();
    labels.SetAlign(FontSet::AlignLeft);
    labels.SetScale(0.375f, 0.375f);
    const auto label = [&](const char* text, float x, float y) {
        labels.DrawText(text, x, y);
        glEnable(GL_BLEND);
    };

    for (std::size_t i = 0; i < datagen::kModelNames.size(); ++i) {
        const auto& entry = datagen::kModelNames[i];
        std::vector<Beam> beams;
        std::vector<HullCircle> circles;
        ASSERT_TRUE(LoadObjectModelFile(beams, circles, kData + "/Data/Objects/" + entry.name + ".obj", entry.name, log));
        ScaleModel(beams, circles, entry.scale);
        float minX = 1e9f, maxX = -1e9f, minY = 1e9f, maxY = -1e9f;
        for (const Beam& b : beams) {
            minX = std::min({minX, b.a.x, b.b.x});
            maxX = std::max({maxX, b.a.x, b.b.x});
            minY = std::min({minY, b.a.y, b.b.y});
            maxY = std::max({maxY, b.a.y, b.b.y});
        }
        for (const HullCircle& c : circles) {
            minX = std::min(minX, -c.offsetX - c.radius);
            maxX = std::max(maxX, -c.offsetX + c.radius);
            minY = std::min(minY, c.offsetY - c.radius);
            maxY = std::max(maxY, c.offsetY + c.radius);
        }
        // The glow reaches 16 units past each beam; the fit keeps it inside.
        const float fit = std::min({(kCellW - 12.0f) / (maxX - minX + 32), (kCellH - 24.0f) / (maxY - minY + 32), 3.0f});
        const float cellX = static_cast<float>(i % kColumns) * kCellW, cellY = static_cast<float>(i / kColumns) * kCellH;
        glPushMatrix();
        glTranslatef(cellX + kCellW / 2.0f, cellY + 16 + (kCellH - 16) / 2.0f, 0);
        glScalef(fit, fit, 1);
        glTranslatef(-(minX + maxX) / 2, -(minY + maxY) / 2, 0);
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, beam.name);
        glBlendFunc(GL_ONE, GL_ONE);
        DrawObject(GlSink(), beams, false);
        glDisable(GL_TEXTURE_2D);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glColor4f(1, 1, 0.2f, 0.8f);
        for (const HullCircle& c : circles) {
            // Where the game puts it at angle 0: x of the offset negated.
            glBegin(GL_LINE_LOOP);
            for (int k = 0; k < 32; ++k) {
                const float a = static_cast<float>(k) * 6.2831853f / 32;
                glVertex2f(-c.offsetX + c.radius * std::cos(a), c.offsetY + c.radius * std::sin(a));
            }
            glEnd();
        }
        glPopMatrix();
        label(entry.name, cellX + 4, cellY + 2);
    }

    // The ship put together as the game draws it: body and both legs (down,
    // then folded), and with the shield's ten segments.
    const auto load = [&](const char* name, float scale) {
        std::vector<Beam> beams;
        std::vector<HullCircle> circles;
        EXPECT_TRUE(LoadObjectModelFile(beams, circles, kData + "/Data/Objects/" + name + ".obj", name, log));
        ScaleModel(beams, circles, scale);
        return beams;
    };
    const auto body = load("Player_Fly", 0.275f), leg = load("Player_Leg", 0.275f), segment = load("PlayerShield", 0.75f);
    const char* poses[] = {"ship, legs down", "ship, legs folded", "ship, shield up"};
    for (int pose = 0; pose < 3; ++pose) {
        const std::size_t cell = datagen::kModelNames.size() + static_cast<std::size_t>(pose);
        const float cellX = static_cast<float>(cell % kColumns) * kCellW, cellY = static_cast<float>(cell / kColumns) * kCellH;
        const float legAngle = pose == 1 ? -90.0f : 0.0f;
        glPushMatrix();
        glTranslatef(cellX + kCellW / 2.0f, cellY + 16 + (kCellH - 16) / 2.0f, 0);
        glScalef(1.3f, 1.3f, 1);
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, beam.name);
        glBlendFunc(GL_ONE, GL_ONE);
        DrawObject(GlSink(), body, false);
        glPushMatrix();
        glTranslatef(11, 6, 0);
        glRotatef(legAngle, 0, 0, 1);
        DrawObject(GlSink(), leg, false);
        glPopMatrix();
        glPushMatrix();
        glTranslatef(-11, 6, 0);
        glRotatef(-legAngle, 0, 0, 1);
        DrawObject(GlSink(), leg, true);
        glPopMatrix();
        if (pose == 2) {
            for (float half : {0.0f, 180.0f}) {
                for (int k = 10; k >= 6; --k) {
                    glPushMatrix();
                    glRotatef(static_cast<float>(90 + (k - 6) * 15) + half, 0, 0, 1);
                    DrawObjectFaded(GlSink(), segment, true, 0.1f * static_cast<float>(k));
                    glPopMatrix();
                }
            }
        }
        glPopMatrix();
        label(poses[pose], cellX + 4, cellY + 2);
    }

    // Font sheets: the glyph sheets on dark blue, the shadow sheet on grey.
    const float sheetY = 7 * kCellH + 8, sheetSize = 256;
    glEnable(GL_TEXTURE_2D);
    const Texture* sheets[] = {&fonts, &fonts2, &shadow};
    for (int s = 0; s < 3; ++s) {
        const float x = 8 + static_cast<float>(s) * (sheetSize + 8);
        glDisable(GL_TEXTURE_2D);
        glColor4f(s == 2 ? 0.6f : 0.08f, s == 2 ? 0.6f : 0.08f, s == 2 ? 0.6f : 0.2f, 1);
        Quad(x, sheetY, x + sheetSize, sheetY + sheetSize);
        glEnable(GL_TEXTURE_2D);
        glColor4f(1, 1, 1, 1);
        glBindTexture(GL_TEXTURE_2D, sheets[s]->name);
        Quad(x, sheetY, x + sheetSize, sheetY + sheetSize);
    }
    // Sample lines through the game's own font loader and text drawing.
    const float textX = 8 + 3 * (sheetSize + 8) + 8;
    const struct {
        FontSet& font;
        const char* text;
        float y, scale;
    } lines[] = {
        {gameFont, "ZELVORANT 2   MISSION COMPLETED!", 4, 0.75f},
        {gameFont, "The quick brown fox jumps over the lazy dog.", 40, 0.5f},
        {gameFont, "1UP 00012345  FUEL DAMAGE  YES NO  ?!:;,.'\"", 64, 0.5f},
        {gameFont, "0123456789 +-*/=<>()[]{}#$%&@^_`|~\\", 88, 0.5f},
        {gameFont2, "+1000   Fonts2: score popups 250 500", 120, 0.5f},
        {gameFont2, "ABCDEFGHIJKLMNOPQRSTUVWXYZ abcdefghijklmnopqrstuvwxyz", 144, 0.4f},
    };
    for (const auto& line : lines) {
        line.font.SetAlign(FontSet::AlignLeft);
        line.font.SetScale(line.scale, line.scale);
        line.font.DrawText(line.text, textX, sheetY + line.y);
    }
    glEnable(GL_BLEND);

    glFinish();
    std::vector<unsigned char> frame(static_cast<std::size_t>(kWidth) * kHeight * 4);
    glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, frame.data());
    std::vector<unsigned char> flipped(frame.size());
    for (int y = 0; y < kHeight; ++y)
        std::copy_n(&frame[static_cast<std::size_t>(kHeight - 1 - y) * kWidth * 4], kWidth * 4,
                    &flipped[static_cast<std::size_t>(y) * kWidth * 4]);
    for (std::size_t p = 3; p < flipped.size(); p += 4) flipped[p] = 255;

    // Every model draws something visible in its cell (below its label).
    for (std::size_t i = 0; i < datagen::kModelNames.size(); ++i) {
        const int x = static_cast<int>(i % kColumns) * kCellW, y = static_cast<int>(i / kColumns) * kCellH;
        EXPECT_GT(LitPixels(flipped, x, y + 16, x + kCellW, y + kCellH), 150) << datagen::kModelNames[i].name;
    }
    EXPECT_GT(LitPixels(flipped, 8, static_cast<int>(sheetY), 8 + 256, static_cast<int>(sheetY) + 256), 3000);

    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);
    ASSERT_TRUE(ilTexImage(kWidth, kHeight, 1, 4, IL_RGBA, IL_UNSIGNED_BYTE, flipped.data()));
    ilRegisterOrigin(IL_ORIGIN_UPPER_LEFT);
    ilEnable(IL_FILE_OVERWRITE);
    const std::string out = kData + "/../demo-data-contact-sheet.png";
    EXPECT_TRUE(ilSave(IL_PNG, out.c_str())) << out;
    ilDeleteImages(1, &image);
    for (const Texture* t : {&beam, &fonts, &fonts2, &shadow}) glDeleteTextures(1, &t->name);
    SDL_Quit();
}

}  // namespace

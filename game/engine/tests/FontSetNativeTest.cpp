// A font loaded from glyph and shadow sheets draws on a real context (the
// test command runs under Xvfb); skipped without a display. The sheets are
// written byte by byte: 512 x 512, 32-pixel cells, as 32-bit Targa files (the
// image library on this platform does not keep the alpha of RGBA Photoshop
// files, see TextureNativeTest). Targa loads blue first, so the sheets also
// check the conversion to RGBA before measuring and uploading.
#include "FontSet.h"
#include "GlState.h"
#include "ImageLibrary.h"

#include "support/ImageFixtures.h"
#include "support/ScratchDir.h"
#include "support/VideoTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <GL/gl.h>
#include <IL/il.h>
#include <SDL.h>

#include <memory>
#include <string>

extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libX11.so\n";
}

namespace {

constexpr int kSheet = 512;
constexpr int kCell = 32;
constexpr int kScreenW = 640;
constexpr int kScreenH = 480;

// 'A' has ink in columns 0..7 and rows 4..19 of its cell (not symmetric in
// y, so a sheet read bottom-up puts it elsewhere); 'B' in columns 2, 3 and 7.
Bytes SheetPixels(std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    Bytes pixels(static_cast<std::size_t>(kSheet * kSheet * 4), 0);
    auto ink = [&](int glyph, int x, int y) {
        const std::size_t px = static_cast<std::size_t>((glyph % 16) * kCell + x);
        const std::size_t py = static_cast<std::size_t>((glyph / 16) * kCell + y);
        std::uint8_t* p = &pixels[(py * kSheet + px) * 4];
        p[0] = r;
        p[1] = g;
        p[2] = b;
        p[3] = 255;
    };
    for (int y = 4; y < 20; ++y)
        for (int x = 0; x < 8; ++x)
            ink('A', x, y);
    for (int x : {2, 3, 7})
        ink('B', x, 10);
    return pixels;
}

struct Rgb {
    int r, g, b;
};

Rgb ReadScreen(int x, int y)
{
    unsigned char rgba[4] = {};
    glReadPixels(x, kScreenH - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    return {rgba[0], rgba[1], rgba[2]};
}

class FontSetGlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HasDisplay())
            GTEST_SKIP() << "no DISPLAY";
        untracked = std::make_unique<DriverAllocations>();
        std::string text;
        ASSERT_TRUE(InitVideoForTest(dir.File("video.txt"), text, kScreenW, kScreenH, 32, 0)) << text;
        started = true;
        InitImageLibrary(captured.log);
        captured.start = captured.console.str().size();
        WriteTga(glyphFile, kSheet, kSheet, 4, SheetPixels(255, 255, 255), false);
        WriteTga(shadowFile, kSheet, kSheet, 4, SheetPixels(0, 0, 255), false);
    }
    void TearDown() override
    {
        if (started) {
            font.reset();
            ilShutDown();
            SDL_Quit();
        }
    }

    ScratchDir dir;
    CapturedLog captured{dir.File("Logfile.txt")};
    std::string glyphFile = dir.File("Fonts.Tga");
    std::string shadowFile = dir.File("FontShadow.Tga");
    std::unique_ptr<FontSet> font = std::make_unique<FontSet>();
    std::unique_ptr<DriverAllocations> untracked;
    bool started = false;
};

TEST_F(FontSetGlTest, TextAndShadowLandInTheirBoxes)
{
    ASSERT_TRUE(font->Load(glyphFile, shadowFile, GL_NEAREST, GL_NEAREST, captured.log)) << captured.Text();
    EXPECT_EQ(captured.Text(), "Image Loaded: " + glyphFile + ".\nImage Loaded: " + shadowFile + "\n");
    EXPECT_EQ(font->glyphs['A'].width, 8);
    EXPECT_EQ(font->glyphs['B'].width, 3);
    EXPECT_EQ(font->glyphs['C'].width, 0);
    ASSERT_NE(font->texture, 0u);
    ASSERT_NE(font->shadowTexture, 0u);
    EXPECT_NE(font->shadowTexture, font->texture);

    // The shadow keeps the filters and is clamped; the glyph sheet repeats.
    GLint value = 0;
    glBindTexture(GL_TEXTURE_2D, font->shadowTexture);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &value);
    EXPECT_EQ(value, GL_CLAMP_TO_EDGE);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &value);
    EXPECT_EQ(value, GL_NEAREST);
    glBindTexture(GL_TEXTURE_2D, font->texture);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &value);
    EXPECT_EQ(value, GL_REPEAT);

    glViewport(0, 0, kScreenW, kScreenH);
    Setup2DView(kScreenW, kScreenH);
    glDisable(GL_DEPTH_TEST);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    font->SetAlign(0);
    font->DrawText("AA", 100.0f, 100.0f);
    glFinish();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));

    // Text: x [100,108) and [108,116), y [104,120). Shadow: 4 right and down.
    struct Probe {
        int x, y;
        char expect; // 'w' text, 's' shadow, '0' clear
    };
    const Probe probes[] = {
        {101, 105, 'w'}, {110, 110, 'w'}, {115, 119, 'w'},      // text over everything
        {117, 110, 's'}, {105, 122, 's'}, {113, 123, 's'},      // shadow beside and below
        {101, 102, '0'}, {121, 110, '0'}, {99, 110, '0'},       // inside a quad without ink, outside
        {104, 125, '0'}, {100, 140, '0'},
    };
    for (const Probe& p : probes) {
        const Rgb c = ReadScreen(p.x, p.y);
        if (p.expect == 'w') {
            EXPECT_GT(c.r, 100) << p.x << "," << p.y;
            EXPECT_GT(c.g, 100) << p.x << "," << p.y;
            EXPECT_GT(c.b, 100) << p.x << "," << p.y;
        } else if (p.expect == 's') {
            EXPECT_GT(c.b, 80) << p.x << "," << p.y;
            EXPECT_LT(c.r, 30) << p.x << "," << p.y;
            EXPECT_LT(c.g, 30) << p.x << "," << p.y;
        } else {
            EXPECT_LT(c.r + c.g + c.b, 10) << p.x << "," << p.y;
        }
    }
}

TEST_F(FontSetGlTest, MissingSheetsFailTheLoad)
{
    EXPECT_FALSE(font->Load(dir.File("missing.psd"), shadowFile, GL_NEAREST, GL_NEAREST, captured.log));
    EXPECT_EQ(captured.Text(), "Failed to load fontset: " + dir.File("missing.psd") + "!\n");
    EXPECT_EQ(font->texture, 0u);

    captured.start = captured.console.str().size();
    FontSet other;
    EXPECT_FALSE(other.Load(glyphFile, dir.File("missing.psd"), GL_NEAREST, GL_NEAREST, captured.log));
    EXPECT_EQ(captured.Text(), "Image Loaded: " + glyphFile + ".\nFailed to load image: " + dir.File("missing.psd") +
                                   "!\n");
    EXPECT_EQ(other.shadowTexture, 0u);

    // A glyph sheet path that is no picture-sized file is refused unopened.
    captured.start = captured.console.str().size();
    std::filesystem::create_directory(dir.File("folder.psd"));
    FontSet refused;
    EXPECT_FALSE(refused.Load(dir.File("folder.psd"), shadowFile, GL_NEAREST, GL_NEAREST, captured.log));
    EXPECT_EQ(captured.Text(), "Refused " + dir.File("folder.psd") + ": is a directory, not a file\nFailed to load fontset: " +
                                   dir.File("folder.psd") + "!\n");

    // A grey sheet is converted before it is measured: opaque everywhere, so
    // every glyph is a full cell wide.
    captured.start = captured.console.str().size();
    Bytes grey(static_cast<std::size_t>(kSheet * kSheet), 128);
    WriteGreyTga(dir.File("grey.tga"), kSheet, kSheet, grey);
    FontSet greyFont;
    EXPECT_TRUE(greyFont.LoadGlyphTexture(dir.File("grey.tga"), GL_NEAREST, GL_NEAREST, captured.log));
    EXPECT_EQ(greyFont.glyphs['A'].width, kCell);
}

} // namespace

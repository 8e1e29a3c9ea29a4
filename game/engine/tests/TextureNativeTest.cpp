// Pictures to OpenGL textures on a real context (the test command runs under
// Xvfb); skipped without a display. Fixture files are written byte by byte so
// the expected texels come from the file, not from the image library.
#include "ImageLibrary.h"
#include "PictureFile.h"
#include "Texture.h"

#include "support/ImageFixtures.h"
#include "support/ScratchDir.h"
#include "support/VideoTestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <GL/gl.h>
#include <IL/il.h>
#include <SDL.h>

#include <filesystem>
#include <memory>
#include <string>

extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libX11.so\n";
}

namespace {

// 5 x 3: odd width (RGB rows are not 4-byte multiples), no symmetry in x or y.
constexpr int kWidth = 5;
constexpr int kHeight = 3;

Bytes Picture(int channels)
{
    Bytes pixels;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            pixels.push_back(static_cast<std::uint8_t>(20 + x * 50));
            pixels.push_back(static_cast<std::uint8_t>(10 + y * 80));
            pixels.push_back(static_cast<std::uint8_t>(200 - x * 7 - y * 30));
            if (channels == 4)
                pixels.push_back(static_cast<std::uint8_t>(90 + x * 20 + y * 10));
        }
    return pixels;
}

// The texels as RGBA, row 0 first.
Bytes AsRgba(const Bytes& pixels, int channels, bool swapRedBlue = false)
{
    Bytes out;
    for (std::size_t i = 0; i + static_cast<std::size_t>(channels) <= pixels.size();
         i += static_cast<std::size_t>(channels)) {
        out.push_back(pixels[i + (swapRedBlue ? 2 : 0)]);
        out.push_back(pixels[i + 1]);
        out.push_back(pixels[i + (swapRedBlue ? 0 : 2)]);
        out.push_back(channels == 4 ? pixels[i + 3] : 255);
    }
    return out;
}

struct Texels {
    int width = 0;
    int height = 0;
    Bytes rgba;
};

Texels ReadTexture(GLuint texture)
{
    Texels t;
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &t.width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &t.height);
    if (t.width <= 0 || t.height <= 0)
        return t;
    t.rgba.resize(static_cast<std::size_t>(t.width * t.height * 4));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, t.rgba.data());
    return t;
}

class TextureTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HasDisplay())
            GTEST_SKIP() << "no DISPLAY";
        untracked = std::make_unique<DriverAllocations>();
        std::string text;
        ASSERT_TRUE(InitVideoForTest(dir.File("video.txt"), text, 64, 64, 32, 0)) << text;
        started = true;
        InitImageLibrary(captured.log);
        EXPECT_EQ(captured.Text(), "\n[Initializing Devil]\nComplete...\n\n");
        captured.start = captured.console.str().size();
    }
    void TearDown() override
    {
        if (started) {
            ilShutDown();
            SDL_Quit();
        }
    }

    std::string Path(const std::string& relative)
    {
        const std::filesystem::path full = dir.Path() / relative;
        std::filesystem::create_directories(full.parent_path());
        return full.string();
    }

    ScratchDir dir;
    CapturedLog captured{dir.File("Logfile.txt")};
    std::unique_ptr<DriverAllocations> untracked;
    bool started = false;
};

struct FileCase {
    const char* name;
    void (*write)(const std::string& path);
    Bytes expected; // RGBA, top row first
};

std::vector<FileCase> FileCases()
{
    const Bytes rgba = Picture(4);
    const Bytes rgb = Picture(3);
    Bytes grey;
    for (std::size_t i = 0; i < rgb.size(); i += 3)
        grey.push_back(rgb[i]);
    Bytes greyRgba;
    for (std::uint8_t g : grey)
        greyRgba.insert(greyRgba.end(), {g, g, g, 255});

    return {
        // RGBA Photoshop files are left out: the image library rescales their
        // alpha on load. Alpha is checked through Targa files instead.
        {"pic3.psd", [](const std::string& p) { WritePsd(p, kWidth, kHeight, 3, Picture(3)); }, AsRgba(rgb, 3)},
        {"bottomup.tga", [](const std::string& p) { WriteTga(p, kWidth, kHeight, 4, Picture(4), false); },
         AsRgba(rgba, 4)},
        // Loads blue first like any Targa file, but asks for no swap: converted.
        {"upper.TGA", [](const std::string& p) { WriteTga(p, kWidth, kHeight, 4, Picture(4), true); },
         AsRgba(rgba, 4)},
        {"topdown.tga", [](const std::string& p) { WriteTga(p, kWidth, kHeight, 3, Picture(3), true); },
         AsRgba(rgb, 3)},
        {"grey.tga",
         [](const std::string& p) {
             Bytes g;
             const Bytes src = Picture(3);
             for (std::size_t i = 0; i < src.size(); i += 3)
                 g.push_back(src[i]);
             WriteGreyTga(p, kWidth, kHeight, g);
         },
         greyRgba},
        {"pic.bmp", [](const std::string& p) { WriteBmp(p, kWidth, kHeight, Picture(3)); }, AsRgba(rgb, 3)},
        {"palette.bmp",
         [](const std::string& p) {
             // A palette of the picture's own colours, one entry per pixel.
             Bytes idx;
             for (int i = 0; i < kWidth * kHeight; ++i)
                 idx.push_back(static_cast<std::uint8_t>(i));
             WriteBmp(p, kWidth, kHeight, idx, Picture(3));
         },
         AsRgba(rgb, 3)},
        // ".tga" anywhere in the path swaps red and blue, but only in lower case.
        {"dir.tga/pic.psd", [](const std::string& p) { WritePsd(p, kWidth, kHeight, 3, Picture(3)); },
         AsRgba(rgb, 3, true)},
        {"dir.TGA/pic.psd", [](const std::string& p) { WritePsd(p, kWidth, kHeight, 3, Picture(3)); },
         AsRgba(rgb, 3)},
    };
}

TEST_F(TextureTest, TexelsReadBackAsTheFileHoldsThemTopRowFirst)
{
    for (const FileCase& c : FileCases()) {
        const std::string path = Path(c.name);
        c.write(path);
        captured.start = captured.console.str().size();
        const GLuint texture = LoadTexture(path, GL_NEAREST, GL_LINEAR, GL_REPEAT, GL_CLAMP_TO_EDGE, captured.log);
        ASSERT_NE(texture, 0u) << c.name << ": " << captured.Text();
        EXPECT_EQ(captured.Text(), "Image Loaded: " + path + "\n");
        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D)) << c.name;
        GLint bound = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        EXPECT_EQ(static_cast<GLuint>(bound), texture) << c.name;
        GLint value = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &value);
        EXPECT_EQ(value, GL_NEAREST);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &value);
        EXPECT_EQ(value, GL_CLAMP_TO_EDGE);

        const Texels texels = ReadTexture(texture);
        EXPECT_EQ(texels.width, kWidth) << c.name;
        EXPECT_EQ(texels.height, kHeight) << c.name;
        EXPECT_EQ(texels.rgba, c.expected) << c.name;
        glDeleteTextures(1, &texture);
    }
}

// The image library's own upload, set up at start-up, keeps the size and the
// row order too (no power-of-two resize, no flip).
TEST_F(TextureTest, ImageLibraryUploadKeepsSizeAndRowOrder)
{
    for (const FileCase& c : FileCases()) {
        if (std::string(c.name).find("tga") != std::string::npos)
            continue; // the path swap belongs to LoadTexture only
        const std::string path = Path(c.name);
        c.write(path);
        const GLuint texture = LoadTextureAuto(path, captured.log);
        ASSERT_NE(texture, 0u) << c.name;
        const Texels texels = ReadTexture(texture);
        EXPECT_EQ(texels.width, kWidth) << c.name;
        EXPECT_EQ(texels.height, kHeight) << c.name;
        EXPECT_EQ(texels.rgba, c.expected) << c.name;
        glDeleteTextures(1, &texture);
    }
}

TEST_F(TextureTest, BadFilesFailWithOneLineAndLeaveTheBindingAlone)
{
    GLuint previous = 0;
    glGenTextures(1, &previous);
    glBindTexture(GL_TEXTURE_2D, previous);
    WriteWholeFile(dir.File("junk.png"), "not a picture at all");
    WriteWholeFile(dir.File("empty.tga"), "");
    Bytes truncated = {'8', 'B', 'P', 'S', 0, 1, 0, 0, 0, 0, 0, 0, 0, 4, 0x7F, 0xFF, 0xFF, 0xFF};
    WriteWholeFile(dir.File("huge.psd"), std::string(truncated.begin(), truncated.end()));
    for (const std::string& path : {dir.File("missing.png"), dir.File("junk.png"), dir.File("empty.tga"),
                                    dir.File("huge.psd")}) {
        for (int automatic = 0; automatic < 2; ++automatic) {
            captured.start = captured.console.str().size();
            const GLuint texture = automatic ? LoadTextureAuto(path, captured.log)
                                             : LoadTexture(path, GL_LINEAR, GL_LINEAR, GL_REPEAT, GL_REPEAT,
                                                           captured.log);
            EXPECT_EQ(texture, 0u) << path;
            // The Photoshop file's layout is checked before the library sees it.
            const std::string refusal = path == dir.File("huge.psd")
                                            ? "Refused " + path +
                                                  ": not a Photoshop picture (no 26-byte header starting with 8BPS)\n"
                                            : "";
            EXPECT_EQ(captured.Text(), refusal + "Failed to load image: " + path + "!\n");
            GLint bound = 0;
            glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
            EXPECT_EQ(static_cast<GLuint>(bound), previous) << path;
        }
    }
    EXPECT_EQ(LoadImage(dir.File("missing.png"), captured.log), 0u);
    glDeleteTextures(1, &previous);
}

// A directory, a pipe or a picture file bigger than any texture can be is
// refused before the image library opens it (a pipe would block it).
TEST_F(TextureTest, NonFilesAndOversizedFilesAreRefusedBeforeTheLibraryOpensThem)
{
    std::filesystem::create_directory(dir.File("folder.png"));
    ASSERT_EQ(mkfifo(dir.File("pipe.png").c_str(), 0600), 0);
    WriteWholeFile(dir.File("sparse.psd"), "8BPS");
    std::filesystem::resize_file(dir.File("sparse.psd"), kImageFileSizeCap + 1);
    for (const std::string& path : {dir.File("folder.png"), dir.File("pipe.png"), dir.File("sparse.psd")}) {
        captured.start = captured.console.str().size();
        EXPECT_EQ(LoadTexture(path, GL_LINEAR, GL_LINEAR, GL_REPEAT, GL_REPEAT, captured.log), 0u);
        const std::string text = captured.Text();
        EXPECT_EQ(text.rfind("Refused " + path + ": ", 0), 0u) << text;
        EXPECT_NE(text.find("\nFailed to load image: " + path + "!\n"), std::string::npos) << text;
    }
}

TEST_F(TextureTest, SameFileTwiceGivesTwoTextures)
{
    const std::string path = Path("pic.psd");
    WritePsd(path, kWidth, kHeight, 3, Picture(3));
    const GLuint first = LoadTexture(path, GL_LINEAR, GL_LINEAR, GL_REPEAT, GL_REPEAT, captured.log);
    const GLuint second = LoadTexture(path, GL_LINEAR, GL_LINEAR, GL_REPEAT, GL_REPEAT, captured.log);
    EXPECT_NE(first, 0u);
    EXPECT_NE(second, 0u);
    EXPECT_NE(first, second);
    EXPECT_EQ(ReadTexture(first).rgba, ReadTexture(second).rgba);
}

} // namespace

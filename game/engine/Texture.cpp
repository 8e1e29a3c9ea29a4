#include "Texture.h"

#include "ImagePixels.h"
#include "PictureFile.h"

#include <GL/gl.h>
#define ILUT_USE_OPENGL
#include <IL/il.h>
#include <IL/ilut.h>

unsigned int LoadImage(const std::string& path, Log& log)
{
    if (!PictureFileAcceptable(path, log)) {
        log.Write("Failed to load image: " + path + "!\n");
        return 0;
    }
    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);
    if (ilLoadImage(path.c_str()) != IL_TRUE) {
        // The name is released here; the failure result carries no image.
        ilDeleteImages(1, &image);
        log.Write("Failed to load image: " + path + "!\n");
        return 0;
    }
    log.Write("Image Loaded: " + path + "\n");
    return image;
}

unsigned int LoadTextureAuto(const std::string& path, Log& log)
{
    ILuint image = LoadImage(path, log);
    if (image == 0)
        return 0;
    // The image's rows are already top first (InitImageLibrary), the order
    // every texture of the game has. ILUT would flip an upper-left image to
    // OpenGL's bottom-first convention, which would turn the shadow of a
    // glyph sheet upside down against the sheet: mark the rows as lower-left
    // so they are uploaded as they are.
    ilRegisterOrigin(IL_ORIGIN_LOWER_LEFT);
    const GLuint texture = ilutGLBindTexImage();
    ilDeleteImages(1, &image);
    return texture;
}

unsigned int LoadTexture(const std::string& path, int minFilter, int magFilter, int wrapS, int wrapT, Log& log)
{
    ILuint image = LoadImage(path, log);
    if (image == 0)
        return 0;

    const bool swap = PathSwapsRedBlue(path);
    // Targa files load blue first: with the path swap they end red first.
    // Converted images take the order the swap expects.
    ImagePixels pixels;
    const bool copied =
        CopyBoundImage(pixels, swap ? ChannelOrder::RedOrBlueFirst : ChannelOrder::RedFirst, swap);
    ilDeleteImages(1, &image);
    if (!copied) {
        log.Write("Unsupported image format: " + path + "!\n");
        return 0;
    }

    glEnable(GL_TEXTURE_2D);
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minFilter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, magFilter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrapS);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrapT);

    if (swap)
        SwapRedBlue(pixels);

    const GLenum format = pixels.bytesPerPixel == 4 ? GL_RGBA : GL_RGB;
    // Rows are packed tightly; an RGB row need not be a multiple of 4 bytes.
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(format), pixels.width, pixels.height, 0, format,
                 GL_UNSIGNED_BYTE, pixels.bytes.data());
    glPopClientAttrib();

    glDisable(GL_TEXTURE_2D);
    return texture;
}

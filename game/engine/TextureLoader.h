#pragma once

#include <string>

// How the resource store reaches the graphics side: textures need an OpenGL
// context, so tests of model and sample loading pass a loader of their own.
class TextureLoader {
public:
    virtual ~TextureLoader() = default;

    // Smooth colour interpolation across primitives, set before loading.
    virtual void SetSmoothShading() = 0;
    // A texture from an image file with the given filters and wrap modes
    // (OpenGL enumerants); its name, 0 on failure.
    virtual unsigned LoadTexture(const std::string& path, int minFilter, int magFilter, int wrapS,
                                 int wrapT) = 0;
};

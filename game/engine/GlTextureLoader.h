#pragma once

#include "Log.h"
#include "TextureLoader.h"

// The game's texture loader: OpenGL textures through the image library. Needs
// the OpenGL context and the started image library.
class GlTextureLoader : public TextureLoader {
public:
    explicit GlTextureLoader(Log& log = Log::Instance()) : log(log) {}

    void SetSmoothShading() override;
    unsigned LoadTexture(const std::string& path, int minFilter, int magFilter, int wrapS, int wrapT) override;

private:
    Log& log;
};

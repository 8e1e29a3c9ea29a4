#include "GlTextureLoader.h"

#include "Texture.h"

#include <GL/gl.h>

void GlTextureLoader::SetSmoothShading()
{
    glShadeModel(GL_SMOOTH);
}

unsigned GlTextureLoader::LoadTexture(const std::string& path, int minFilter, int magFilter, int wrapS, int wrapT)
{
    return ::LoadTexture(path, minFilter, magFilter, wrapS, wrapT, log);
}

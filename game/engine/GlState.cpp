#include "GlState.h"

#include <GL/gl.h>

void Setup2DView(float width, float height)
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    // A frustum rather than an ortho view: the game's zoom and parallax rely
    // on depth scaling. At z = 0 (eye depth 2 after the translate) one unit
    // is still one pixel.
    glFrustum(0.0, width, height, 0.0, 1.0, 3.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -2.0f);
    glScalef(2.0f, 2.0f, 2.0f);
}

void SetTextureWrap(int s, int t)
{
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, s);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, t);
}

void SetTextureFilter(int min, int mag)
{
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, min);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, mag);
}

void BindTexture(int target, int texture)
{
    glEnable(static_cast<GLenum>(target));
    glBindTexture(static_cast<GLenum>(target), static_cast<GLuint>(texture));
}

void SetBlend(int source, int destination)
{
    glEnable(GL_BLEND);
    glBlendFunc(static_cast<GLenum>(source), static_cast<GLenum>(destination));
}

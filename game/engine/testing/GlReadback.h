#pragma once

// What the GL tests under Xvfb share: leaving the driver's allocations out of
// the leak check, a pixel-unit view, and reading one pixel back in top-down
// window coordinates.
#include <GL/gl.h>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
// The GL driver is unloaded before the leak check, so its lifetime
// allocations cannot be suppressed by name: they are not tracked at all.
using DriverAllocations = __lsan::ScopedDisabler;
#else
struct DriverAllocations {};
#endif

struct Pixel {
    int r, g, b;
};

inline Pixel ReadPixel(int x, int y, int windowHeight)
{
    unsigned char rgba[4] = {};
    glReadPixels(x, windowHeight - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    return Pixel{rgba[0], rgba[1], rgba[2]};
}

// A square window of `size` pixels as one unit per pixel, y downward, cleared
// to black, drawing untextured with additive blending (as the world draw does).
inline void SetUpPixelView(int size)
{
    glViewport(0, 0, size, size);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, size, size, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
}

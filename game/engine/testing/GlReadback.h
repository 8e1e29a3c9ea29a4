#pragma once

// What the GL tests under Xvfb share: leaving the driver's allocations out of
// the leak check, and reading one pixel back in top-down window coordinates.
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

#include "FrameDump.h"

#include <GL/gl.h>

#include <cstddef>
#include <cstdio>
#include <vector>

bool WriteFramePpm(const std::string& path, int width, int height)
{
    if (width <= 0 || height <= 0)
        return false;
    const std::size_t row = static_cast<std::size_t>(width) * 3;
    std::vector<unsigned char> pixels(row * static_cast<std::size_t>(height));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());

    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return false;
    std::fprintf(file, "P6\n%d %d\n255\n", width, height);
    bool ok = true;
    // OpenGL's rows run bottom-up.
    for (int y = height - 1; y >= 0 && ok; --y)
        ok = std::fwrite(pixels.data() + row * static_cast<std::size_t>(y), 1, row, file) == row;
    return std::fclose(file) == 0 && ok;
}

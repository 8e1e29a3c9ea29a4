#pragma once

#include <string>

// Reads the back buffer of the current OpenGL context (width x height pixels
// from the bottom-left corner) and writes it as a binary PPM, top row first.
// False when the size is not positive or the file cannot be written.
bool WriteFramePpm(const std::string& path, int width, int height);

#pragma once

#include "Log.h"

#include <string>

// Loads a picture file into the image library and leaves it bound there. Logs
// "Image Loaded: <path>" or "Failed to load image: <path>!". Returns the image
// name, 0 on failure.
// A picture must first pass PictureFileAcceptable (PictureFile.h).
unsigned int LoadImage(const std::string& path, Log& log = Log::Instance());

// Loads a picture and lets the image library make the OpenGL texture, which
// stays bound. Returns the texture name, 0 on failure.
unsigned int LoadTextureAuto(const std::string& path, Log& log = Log::Instance());

// Loads a picture into a new OpenGL texture with these filters and wrap
// modes (OpenGL enums); 2D texturing is left disabled, the texture bound.
// Pictures are uploaded as 8-bit RGB or RGBA: grey, palette and deeper images
// are converted first. A path containing ".tga" (case-sensitive, anywhere)
// gets red and blue swapped, which turns the blue-first order that Targa
// files load in into red-first. Returns the texture name, 0 on failure.
unsigned int LoadTexture(const std::string& path, int minFilter, int magFilter, int wrapS, int wrapT,
                         Log& log = Log::Instance());

#pragma once

#include "Log.h"

// Opens the game's window with an OpenGL context through SDL: centred, with
// the "icon.bmp" icon when that file exists, RGBA8 colour, a 16-bit depth
// buffer, double buffering and, when samples > 0, a multisample buffer of
// that many samples. Logs the chosen mode as one message. A refused mode (size,
// depth or multisampling) shuts SDL down again and logs nothing; a failed SDL
// start-up logs "[Failed to initialize Video Settings]". The cursor is hidden.
bool InitVideo(const char* caption, int width, int height, int bitsPerPixel, bool fullScreen,
               int samples, Log& log = Log::Instance());

// The same with the icon taken from iconPath (null for none).
bool InitVideoWithIcon(const char* caption, int width, int height, int bitsPerPixel, bool fullScreen,
                       int samples, const char* iconPath, Log& log);

// The window icon file looked for in the working directory.
constexpr const char* kWindowIconFile = "icon.bmp";

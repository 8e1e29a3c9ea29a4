#pragma once

#include "Log.h"

// Starts DevIL with ILU and ILUT once, after the OpenGL context exists:
// images are delivered with their top row first whatever their file's own
// row order, and ILUT uploads to OpenGL.
void InitImageLibrary(Log& log = Log::Instance());

#pragma once

#include "Log.h"

// Opens every joystick SDL reports; they stay open for the rest of the run
// (SDL_Quit closes them). True when at least one opened.
bool InitJoysticks(Log& log = Log::Instance());

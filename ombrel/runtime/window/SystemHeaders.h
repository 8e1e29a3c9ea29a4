// <windows.h> for the window code, without the name macros of its text
// functions, which would rename the surface members DrawText and TextOut.
#pragma once

#include <windows.h>

#undef DrawText
#undef TextOut

// Between the record functions and the window procedure.
#pragma once

#include "window/WindowObject.h"

// True while `WindowCreate` is making this record's window on this thread.
bool IsWindowUnderConstruction(const WindowObject* window);

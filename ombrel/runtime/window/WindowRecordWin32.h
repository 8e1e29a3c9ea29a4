// Between the record functions and the window procedure.
#pragma once

#include "window/SystemHeaders.h"

#include "window/WindowObject.h"

// True while `WindowCreate` is making this record's window on this thread.
bool IsWindowUnderConstruction(const WindowObject* window);
// A cursor given by a host: 1 stands for the standard arrow.
HCURSOR CursorOrArrow(void* cursor);

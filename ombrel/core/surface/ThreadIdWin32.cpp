#include <windows.h>

#include "surface/DirectDrawRegistry.h"

uint32_t CurrentThreadId() { return ::GetCurrentThreadId(); }

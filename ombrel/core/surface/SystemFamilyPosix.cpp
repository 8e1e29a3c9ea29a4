#include "surface/SystemFamily.h"

int32_t DetectWindowsNT() { return 0; }

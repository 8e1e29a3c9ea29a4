// Whether the system is of the Windows NT family (read by the text drawing).
#pragma once

#include <cstdint>

// 1 on the NT family, 0 otherwise (and outside Windows).
int32_t DetectWindowsNT();

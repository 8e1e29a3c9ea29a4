#include <windows.h>

#include <cstring>

#include "font/LogFont.h"

static_assert(sizeof(LOGFONTA) == sizeof(LogFontA), "LOGFONTA layout");

void* CreateSystemFont(const LogFontA& font) {
  LOGFONTA system;
  std::memcpy(&system, &font, sizeof(system));
  return CreateFontIndirectA(&system);
}

// Natively there are no system fonts to make.
#include "font/LogFont.h"

void* CreateSystemFont(const LogFontA&) { return nullptr; }

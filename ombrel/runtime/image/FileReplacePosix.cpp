#include <cstdio>

#include "image/FileReplace.h"

bool ReplaceFileWith(const char* to, const char* from) { return std::rename(from, to) == 0; }
bool RemoveFile(const char* path) { return std::remove(path) == 0; }

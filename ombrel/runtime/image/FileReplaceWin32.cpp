#include <windows.h>

#include "image/FileReplace.h"

bool ReplaceFileWith(const char* to, const char* from) {
  return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING) != 0;
}
bool RemoveFile(const char* path) { return DeleteFileA(path) != 0; }

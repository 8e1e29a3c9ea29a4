// Putting a finished file in place of another, so a failed write never
// damages the file it was meant to replace.
#pragma once

// Moves `from` over `to` (replacing it); false when that failed.
bool ReplaceFileWith(const char* to, const char* from);
bool RemoveFile(const char* path);

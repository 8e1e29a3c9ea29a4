// The process-wide grey palette of byte surfaces: entry i = (i, i, i).
#pragma once

class cPalette;

// Made on first use from a thread with a palette context (null until then),
// with its inverse table built, and kept for the life of the process.
// Returns it without adding a reference.
cPalette* SharedGreyPalette();

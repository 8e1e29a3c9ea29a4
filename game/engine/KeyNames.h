#pragma once

#include "KeyCode.h"

constexpr int kKeyNameCount = 357;

// The display text of a code ("PRESS KEY" for 0, "LMB", "SPACE", "JOYLEFT",
// ...). Codes without a name, including every code outside 0..356, give "".
const char* KeyName(KeyCode code);

#pragma once

#include <cstdint>

// One row of a table of ten as the high-score server sends it: a name of at
// most 15 characters and a NUL, and the score. Laid out as the game's
// high-score entry, so a downloaded table copies into it row by row.
struct OnlineScore {
    char name[16];
    std::int32_t score;
};
static_assert(sizeof(OnlineScore) == 20, "name[16] then an int32");

constexpr int kOnlineTableSize = 10;
using OnlineTable = OnlineScore[kOnlineTableSize];

#pragma once

#include "OnlineScore.h"

#include <cstddef>

// The longest reply the game reads; the rest of a longer body is ignored.
constexpr std::size_t kHiScoreReplyCap = 4096;

// Parses the poll reply (name words, "/1", score, "/2", up to ten times,
// separated by white space) into a fresh table: every row empty first. A
// row is stored when "/2" closes it, name (first 15 characters, a-z upper
// case, each word followed by one space) and score together; a score that
// cannot be read or does not fit 32 bits leaves that row empty and the next
// entry goes to the next row. Any byte other than the six white-space
// characters is plain text (NUL and 128..255 included).
void ParseHiScoreReply(const char* bytes, std::size_t length, OnlineTable& table);
